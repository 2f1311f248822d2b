#include "appcore/station_lists.h"

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "tests/model/model_session_fixture.h"

namespace {

class OverviewCellTest : public SessionTest {
protected:
    OverviewCellTest()
    {
        country_ = new TRegion(nullptr, rtCountry, "GR");
        firstSU_ = new TRegion(new TRegion(country_, rtRBD, "GR01"), rtSU, "S1");
        secondSU_ = new TRegion(new TRegion(country_, rtRBD, "GR02"), rtSU, "S1");
    }

    TRegion* country_;
    TRegion* firstSU_;
    TRegion* secondSU_;
};

TEST_F(OverviewCellTest, TableColumnsOpenTheirFormOnTheRegionOfTheRow)
{
    const TOverviewOpening balance = OverviewCellOpening(3, 1, "GR", "Country");
    EXPECT_EQ(balance.Target, TOverviewTarget::WaterBalance);
    EXPECT_EQ(balance.Region, country_);
    EXPECT_EQ(OverviewCellOpening(4, 2, "GR", "Country").Target, TOverviewTarget::WaterAbstraction);
    EXPECT_EQ(OverviewCellOpening(5, 9, "GR", "Country").Target, TOverviewTarget::WaterUse);
    // Either row of a code held by two sub-units stands for the first of them.
    EXPECT_EQ(OverviewCellOpening(5, 2, "S1", "SU").Region, firstSU_);
}

TEST_F(OverviewCellTest, StationColumnsListTheirKindInColumnOrder)
{
    const TStationKind kinds[] = {skWell, skReservoir, skStreamFlow, skRainGauge};
    for (int col = 6; col <= 9; ++col) {
        const TOverviewOpening opening = OverviewCellOpening(col, 1, "S1", "SU");
        EXPECT_EQ(opening.Target, TOverviewTarget::StationList);
        EXPECT_EQ(opening.Kind, kinds[col - 6]);
    }
    EXPECT_STREQ(StationListCaption(skWell), "Groundwater level properties");
    EXPECT_STREQ(StationListCaption(skReservoir), "Reservoir properties");
    EXPECT_STREQ(StationListCaption(skStreamFlow), "Stream flow properties");
    EXPECT_STREQ(StationListCaption(skRainGauge), "Precipitation properties");
}

TEST_F(OverviewCellTest, CellsThatStandForNothingOpenNothing)
{
    for (const auto& [col, row] : {std::pair{0, 1}, {1, 1}, {2, 1}, {3, 0}, {10, 1}, {-1, -1}})
        EXPECT_EQ(OverviewCellOpening(col, row, "GR", "Country").Target, TOverviewTarget::None)
            << col << "," << row;
    // A region of that code but another type, and a code nobody has.
    EXPECT_EQ(OverviewCellOpening(3, 1, "GR", "RBD").Target, TOverviewTarget::None);
    EXPECT_EQ(OverviewCellOpening(7, 1, "XX", "SU").Target, TOverviewTarget::None);
    // The one empty row of an overview without data.
    EXPECT_EQ(OverviewCellOpening(3, 1, "", "").Target, TOverviewTarget::None);
    EXPECT_THROW(OverviewCellOpening(3, 1, "GR", "Land"), Exception);
}

}  // namespace
