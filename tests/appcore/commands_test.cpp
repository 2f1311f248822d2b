#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "appcore/regions_overview.h"
#include "appcore/save_as.h"
#include "appcore/station_lists.h"
#include "appcore/sub_units.h"
#include "platform/exception.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// The country GR with the districts RBD1 and RBD2, each holding a sub-unit SU1,
// and a data file x.wqd in a folder of its own.
class Commands : public SessionTest {
protected:
    Commands() { new TRegion(rbd2_, rtSU, "SU1"); }
    bool Copy() { return WriteZipCopy(data_, folder_.Path() + "/", zip_); }
    // The folder's entries, where no temporary file may stay behind.
    Lines Files() { return wqtest::FilesIn(folder_.Path()); }

    TRegion* country_ = new TRegion(nullptr, rtCountry, "GR");
    TRegion* rbd1_ = new TRegion(country_, rtRBD, "RBD1");
    TRegion* rbd2_ = new TRegion(country_, rtRBD, "RBD2");
    TRegion* su1_ = new TRegion(rbd1_, rtSU, "SU1");
    wqtest::TempFolder folder_;
    const std::string data_ = wqtest::WriteTextFile(folder_ / "x.wqd", "<ozr_wq>Δεδομένα</ozr_wq>");
    const std::string zip_ = folder_ / "x.zip";
};

TEST_F(Commands, SaveAsNamesAndHeader)
{
    EXPECT_EQ(ProposedDataFileName("GR", {2009, 3, 7, 9, 5, 2}), "GR_2009_3_7.wqd");
    // Only the extension of the name part is replaced.
    EXPECT_EQ(ZipNameOf("/data/x.v2.wqd"), "/data/x.v2.zip");
    EXPECT_EQ(ZipNameOf("/data.d/x"), "/data.d/x.zip");
    // Blanks alone name nobody; each missing field has its message.
    EXPECT_EQ(CheckSessionInfo("  ", "\t", nullptr).Items().size(), 3u);
    EXPECT_TRUE(CheckSessionInfo(" M ", "m@x.org", country_).Empty());
}

TEST_F(Commands, ZipCopyReplacesTheArchiveByOneHoldingTheDataFileUnderItsBareName)
{
    wqtest::WriteTextFile(folder_ / "old.txt", "old entry");
    ASSERT_EQ(wqtest::Run("cd " + wqtest::Quoted(folder_.Path()) + " && zip -q x.zip old.txt"), 0);
    ASSERT_TRUE(Copy());
    EXPECT_TRUE(dialogs_.Messages().empty());
    EXPECT_EQ(Files(), (Lines{"old.txt", "x.wqd", "x.zip"}));
    EXPECT_EQ(wqtest::Run("unzip -tq " + wqtest::Quoted(zip_) + " >/dev/null"), 0);
    const std::string check =
        "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\n"
        "assert z.namelist() == ['x.wqd'] and z.getinfo('x.wqd').compress_type == 8\n"
        "assert z.read('x.wqd') == open(sys.argv[2], 'rb').read()\n";
    EXPECT_EQ(wqtest::Run("python3 -c " + wqtest::Quoted(check) + " " + wqtest::Quoted(zip_) + " " +
                          wqtest::Quoted(data_)),
              0);
}

TEST_F(Commands, ZipCopyFailuresAreShownAndLeaveNoBrokenArchive)
{
    mkdir(zip_.c_str(), 0755);
    EXPECT_FALSE(Copy());
    EXPECT_EQ(dialogs_.Texts(),
              Lines{"Exception: Cannot write the file \"" + zip_ +
                    "\": Is a directory\nThe zip archive \"" + zip_ + "\" was not updated."});
    EXPECT_EQ(Files(), (Lines{"x.wqd", "x.zip"}));
    rmdir(zip_.c_str());
    if (geteuid() != 0) {  // the superuser writes into read-only folders
        wqtest::WriteTextFile(zip_, "old archive");
        chmod(folder_.Path().c_str(), 0555);
        EXPECT_FALSE(Copy());
        chmod(folder_.Path().c_str(), 0755);
        EXPECT_EQ(dialogs_.Messages().size(), 2u);
        EXPECT_EQ(wqtest::ReadFileText(zip_), "old archive");
        unlink(zip_.c_str());
    }
    // A data file that is not there would leave an archive without it.
    unlink(data_.c_str());
    EXPECT_FALSE(Copy());
    EXPECT_EQ(dialogs_.Messages().back().Text.rfind("Exception: ", 0), 0u);
    EXPECT_EQ(Files(), Lines{});
}

TEST_F(Commands, AddSubUnitsCreatesNewOnesInTheirDistrictAndReportsTheRest)
{
    EXPECT_THROW(AddSubUnits(folder_ / "missing.txt"), Exception);
    su1_->FName = "Old name";
    AddSubUnits(wqtest::WriteTextFile(folder_ / "su.txt",
                                      "Anything ; RBD1 ; SU9\r\n\r\n"
                                      "x;RBD2;SU9\nx;RBD7;SU5\nx;RBD1;SU1\n"));
    EXPECT_EQ(Codes(session().FSUs), (Lines{"SU1", "SU1", "SU9", "SU9"}));
    const auto* su9 = static_cast<TRegion*>(session().FSUs[2]);
    EXPECT_EQ(std::make_tuple(su9->GetParent(), su9->FName), std::make_tuple(rbd1_, "SU9"));
    EXPECT_EQ(static_cast<TRegion*>(session().FSUs[3])->GetParent(), rbd2_);
    EXPECT_EQ(dialogs_.Texts(), (Lines{"Δεν αναγνωρίσθηκε RBD : RBD7", "Υφιστάμενο SU : SU1"}));
    EXPECT_EQ(dialogs_.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(su1_->FName, "SU1");
    EXPECT_FALSE(session().GetModified());
}

TEST_F(Commands, OverviewRowsFollowTheRegionListWithMarksAndCountsByKind)
{
    su1_->EditTables();
    EXPECT_TRUE(RegionsOverviewRows(session()).empty());
    new TWell(su1_, "W1");
    auto rows = RegionsOverviewRows(session());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Region, su1_);
    EXPECT_FALSE(rows[0].WaterBalance || rows[0].WaterAbstraction || rows[0].WaterUse);

    for (const char* id : {"P1", "P2", "P3"})
        new TRainGauge(su1_, id);
    new TReservoir(su1_, "R1");
    new TReservoir(su1_, "R2");
    country_->EditTables().FWUTotalFreshwaterUsed[0][0] = 1.5;
    country_->EditTables().FWBWaterStorage[1][LTAAIndex] = 0;
    rbd1_->EditTables().FWATotalAbstraction[AnnualIndex] = 3;
    rows = RegionsOverviewRows(session());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(std::tie(rows[0].Region, rows[1].Region), std::tie(country_, rbd1_));
    EXPECT_TRUE(rows[0].WaterBalance && rows[0].WaterUse && !rows[0].WaterAbstraction);
    EXPECT_TRUE(rows[1].WaterAbstraction && !rows[1].WaterBalance && !rows[1].WaterUse);
    EXPECT_EQ(rows[2].Stations, (std::array<int, 4>{1, 2, 0, 3}));
}

TEST_F(Commands, AnOverviewCellOpensWhatItsColumnStandsForOnTheRegionOfItsRow)
{
    using enum TOverviewTarget;
    const std::tuple<int, int, const char*, const char*, TOverviewTarget, TRegion*> cases[] = {
        {3, 1, "GR", "Country", WaterBalance, country_},
        {4, 2, "RBD2", "RBD", WaterAbstraction, rbd2_},
        {5, 9, "SU1", "SU", WaterUse, su1_},  // the first of the two sub-units with the code
        {9, 1, "SU1", "SU", StationList, su1_}};
    for (const auto& [col, row, code, type, target, region] : cases) {
        const TOverviewOpening opening = OverviewCellOpening(col, row, code, type);
        EXPECT_EQ(std::tie(opening.Target, opening.Region), std::tie(target, region)) << col;
    }
    const TStationKind kinds[] = {skWell, skReservoir, skStreamFlow, skRainGauge};
    for (int col = 6; col <= 9; ++col)
        EXPECT_EQ(OverviewCellOpening(col, 1, "GR", "Country").Kind, kinds[col - 6]);
    // Nothing opens beside the data columns, for a code of another type, nor on the
    // empty row of an overview without data.
    for (const auto& [col, row, code, type] : {std::tuple{10, 1, "GR", "Country"},
                                               {3, 0, "GR", "Country"},
                                               {3, 1, "GR", "RBD"},
                                               {3, 1, "", ""}})
        EXPECT_EQ(OverviewCellOpening(col, row, code, type).Target, None) << col;
    EXPECT_THROW(OverviewCellOpening(3, 1, "GR", "Land"), Exception);
}

}  // namespace
