#include "tests/model/model_session_fixture.h"

namespace {

using Stations = SessionTest;

std::vector<std::string> PropertyRow(const TObject& object)
{
    std::vector<std::string> row;
    for (const TPropInfo* property : object.ClassInfo()->AllProperties())
        row.push_back(std::get<std::string>(property->Get(object)));
    return row;
}

TEST_F(Stations, NewWellTakesTheSessionYearAndStandsLast)
{
    auto* region = new TRegion(nullptr, rtRBD, "GR01");
    new TReservoir(region, "R");
    session().FYear = 2005;
    session().SetModified(false);
    auto* well = new TWell(region, "W");
    EXPECT_EQ(well->FYear, 2005);
    EXPECT_EQ(well->FGWBOutsideRB, -9999);
    EXPECT_EQ(well->FGWBOutsideRBD, -9999);
    EXPECT_EQ(well->FMeanLevel, MissingReals<16>());
    EXPECT_EQ(well->FMonthMinLevel, -9999);
    EXPECT_EQ(well->FLatitude, -9999.0);
    EXPECT_EQ(well->FRegion, region);
    EXPECT_EQ(session().FEntities[session().FEntities.Count() - 1], well);
    EXPECT_EQ(session().FWells[session().FWells.Count() - 1], well);
    EXPECT_TRUE(session().GetModified());
}

TEST_F(Stations, KindDefaults)
{
    auto* flow = new TStreamFlow(nullptr, "F");
    EXPECT_EQ(flow->FDailyData, MissingReals<366>());
    EXPECT_EQ(flow->FMonthlyData, MissingReals<12>());
    EXPECT_EQ(flow->FLTAAData, MissingReals<12>());
    EXPECT_FALSE(flow->FDunmar);
    EXPECT_FALSE(flow->FWFD);
    EXPECT_EQ(flow->FMinDischarge, -9999.0);
    EXPECT_EQ(flow->FDataToYear, -9999);
    auto* reservoir = new TReservoir(nullptr, "R");
    EXPECT_EQ(reservoir->FReservoirType, rsUnknown);
    EXPECT_EQ(reservoir->FInflow, MissingReals<16>());
    EXPECT_EQ(reservoir->FOutflow, MissingReals<16>());
    EXPECT_EQ(reservoir->FStorageCapacity, -9999.0);
    auto* gauge = new TRainGauge(nullptr, "P");
    EXPECT_EQ(gauge->FTimeScale, tsUnknown);
    EXPECT_EQ(gauge->FDataPeriodFrom, -9999);
    EXPECT_EQ(gauge->FRiverBasinArea, -9999.0);
    EXPECT_EQ(session().FEntities.Count(), 3);
    EXPECT_EQ(session().FStreamFlows.Count() + session().FReservoirs.Count() +
                  session().FRainGauges.Count(),
              3);
}

TEST_F(Stations, FreeingTakesTheStationOutOfBothListsAndMarksModified)
{
    auto* first = new TReservoir(nullptr, "R1");
    auto* second = new TReservoir(nullptr, "R2");
    session().SetModified(false);
    delete first;
    EXPECT_TRUE(session().GetModified());
    ASSERT_EQ(session().FReservoirs.Count(), 1);
    EXPECT_EQ(session().FReservoirs[0], second);
    ASSERT_EQ(session().FEntities.Count(), 1);
    EXPECT_EQ(session().FEntities[0], second);
}

TEST_F(Stations, PublishedPropertiesInOrder)
{
    auto* region = new TRegion(nullptr, rtNUTS2, "GR1");
    region->FName = "Attiki";
    auto* well = new TWell(region, "W-01");
    well->FName = "Marathon";
    const TClassInfo* info = well->ClassInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->ClassName, "TWell");
    std::vector<std::string> names;
    for (const TPropInfo* property : info->AllProperties()) {
        names.push_back(property->Name);
        EXPECT_EQ(property->Kind, TTypeKind::tkLString);
        EXPECT_FALSE(property->Writable);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ID_", "Name_", "Region", "Region_Type"}));
    EXPECT_EQ(PropertyRow(*well),
              (std::vector<std::string>{"W-01", "Marathon", "GR1/Attiki", "NUTS level 2"}));
    EXPECT_EQ(PropertyRow(TReservoir(nullptr, "R")),
              (std::vector<std::string>{"R", "", "none", "Unknown"}));
    EXPECT_EQ((new TRainGauge(new TRegion(nullptr, rtRBD, "GR01"), "P"))->GetRegion_Type(), "RBD");
    EXPECT_EQ(TStreamFlow(nullptr, "F").ClassInfo()->ClassName, "TStreamFlow");
}

}  // namespace
