#include "appcore/sub_units.h"

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

class SubUnitsTest : public SessionTest {
protected:
    SubUnitsTest()
    {
        auto* country = new TRegion(nullptr, rtCountry, "GR");
        rbd1_ = new TRegion(country, rtRBD, "RBD1");
        rbd2_ = new TRegion(country, rtRBD, "RBD2");
        su1_ = new TRegion(rbd1_, rtSU, "SU1");
        su1_->FName = "Old name";
    }

    void Add(const std::string& content)
    {
        AddSubUnits(wqtest::WriteTextFile(folder_ / "su.txt", content));
    }

    wqtest::TempFolder folder_;
    TRegion* rbd1_;
    TRegion* rbd2_;
    TRegion* su1_;
};

TEST_F(SubUnitsTest, NewSubUnitsAreCreatedAndNamedByTheirCode)
{
    Add("Anything ; RBD1 ; SU9\r\n\r\nx;RBD2;SU1\n");
    EXPECT_EQ(Codes(session().FSUs), (std::vector<std::string>{"SU1", "SU9", "SU1"}));
    const auto* su9 = static_cast<TRegion*>(session().FSUs[1]);
    EXPECT_EQ(su9->GetParent(), rbd1_);
    EXPECT_EQ(su9->FName, "SU9");
    EXPECT_EQ(static_cast<TRegion*>(session().FSUs[2])->GetParent(), rbd2_);
    EXPECT_TRUE(dialogs_.Messages().empty());
    EXPECT_FALSE(session().GetModified());
}

TEST_F(SubUnitsTest, UnknownDistrictAndExistingSubUnitAreReportedAndPassedOver)
{
    Add("x;RBD7;SU5\nx;RBD1;SU1\n");
    ASSERT_EQ(dialogs_.Texts(),
              (std::vector<std::string>{"Δεν αναγνωρίσθηκε RBD : RBD7", "Υφιστάμενο SU : SU1"}));
    EXPECT_EQ(dialogs_.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(Codes(session().FSUs), std::vector<std::string>{"SU1"});
    EXPECT_EQ(su1_->FName, "SU1");
}

TEST_F(SubUnitsTest, MissingFileRaisesAndChangesNothing)
{
    EXPECT_THROW(AddSubUnits(folder_ / "missing.txt"), Exception);
    EXPECT_EQ(session().FSUs.Count(), 1);
}

}  // namespace
