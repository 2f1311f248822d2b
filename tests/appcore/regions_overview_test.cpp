#include "appcore/regions_overview.h"

#include <gtest/gtest.h>

#include "tests/model/model_session_fixture.h"

namespace {

class RegionsOverviewTest : public SessionTest {
protected:
    RegionsOverviewTest()
    {
        country_ = new TRegion(nullptr, rtCountry, "GR");
        rbd_ = new TRegion(country_, rtRBD, "RBD1");
        su_ = new TRegion(rbd_, rtSU, "SU1");
    }

    TRegion* country_;
    TRegion* rbd_;
    TRegion* su_;
};

TEST_F(RegionsOverviewTest, RegionsWithoutDataGetNoRow)
{
    su_->EditTables();
    EXPECT_TRUE(RegionsOverviewRows(session()).empty());
}

TEST_F(RegionsOverviewTest, OneWellListsItsSubUnitOnly)
{
    new TWell(su_, "W1");
    const auto rows = RegionsOverviewRows(session());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Region, su_);
    EXPECT_FALSE(rows[0].WaterBalance || rows[0].WaterAbstraction || rows[0].WaterUse);
    EXPECT_EQ(rows[0].Stations, (std::array<int, 4>{1, 0, 0, 0}));
}

TEST_F(RegionsOverviewTest, RowsFollowTheRegionListWithMarksAndCountsByKind)
{
    new TRainGauge(su_, "P1");
    new TStreamFlow(su_, "F1");
    new TStreamFlow(su_, "F2");
    new TReservoir(su_, "R1");
    country_->EditTables().FWUTotalFreshwaterUsed[0][0] = 1.5;
    country_->EditTables().FWBWaterStorage[1][LTAAIndex] = 0;
    rbd_->EditTables().FWATotalAbstraction[AnnualIndex] = 3;
    const auto rows = RegionsOverviewRows(session());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Region, country_);
    EXPECT_TRUE(rows[0].WaterBalance && rows[0].WaterUse && !rows[0].WaterAbstraction);
    EXPECT_EQ(rows[1].Region, rbd_);
    EXPECT_TRUE(rows[1].WaterAbstraction && !rows[1].WaterBalance && !rows[1].WaterUse);
    EXPECT_EQ(rows[2].Stations, (std::array<int, 4>{0, 1, 2, 1}));
}

}  // namespace
