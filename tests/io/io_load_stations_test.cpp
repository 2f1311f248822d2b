#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "tests/io/io_load_fixture.h"

namespace {

class LoadStations : public DataFileTest {
protected:
    LoadStations() { root_.AddChild("DecimalSeparator").SetText("."); }

    TXMLNode AddStation(const char* kind, const std::string& id)
    {
        TXMLNode station = region_.AddChild(kind);
        station.AddChild("attributes_wq").AddChild("id").SetText(id);
        return station;
    }

    static void AddValues(TXMLNode Parent,
                          std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (const auto& [tag, text] : values)
            Parent.AddChild(tag).SetText(text);
    }

    ScopedRegionalSettings point_{'.'};
};

std::vector<std::string> IDs(const TListOZR& list)
{
    std::vector<std::string> ids;
    for (const TObject* item : list)
        ids.push_back(static_cast<const TEntity*>(item)->GetID());
    return ids;
}

TEST_F(LoadStations, RootAttributesCountryAndKindOrder)
{
    AddStation("flow", "F1");
    AddStation("reservoir", "R1");
    AddStation("well", "W1");
    AddStation("precipitation", "P1");
    AddStation("flow", "F1");
    Load();

    EXPECT_EQ(session().GetCountry(), greece_);
    EXPECT_EQ(session().FResponsible, "Maria");
    EXPECT_EQ(session().FEmail, "m@example.org");
    EXPECT_EQ(session().FRemarks, " first ");
    EXPECT_EQ(session().FCreationDate, "2009-3-7 9:5:2");
    EXPECT_NE(session().FDataDoc, nullptr);
    EXPECT_EQ(IDs(session().FEntities), (std::vector<std::string>{"P1", "F1", "F1", "W1", "R1"}));
    EXPECT_EQ(IDs(session().FStreamFlows), (std::vector<std::string>{"F1", "F1"}));
    for (const TObject* item : session().FEntities)
        EXPECT_EQ(static_cast<const TEntity*>(item)->FRegion, nuts1_);
}

TEST_F(LoadStations, EntityAttributesKeepConstructorValuesWhenAbsent)
{
    TXMLNode full = AddStation("well", "W1").ChildNode("attributes_wq");
    AddValues(full, {{"name", " Well one "},
                     {"year", "2004"},
                     {"latitude", "40.5"},
                     {"longitude", "-3.25"},
                     {"coordinate_system", "WGS84"},
                     {"projection_system", "UTM"},
                     {"altitude", "120"},
                     {"remarks", "r"}});
    AddStation("well", "");
    session().FYear = 2001;
    Load();

    const auto& well = *static_cast<const TWell*>(session().FWells[0]);
    EXPECT_EQ(well.FName, " Well one ");
    EXPECT_EQ(well.FYear, 2004);
    EXPECT_EQ(well.FLatitude, 40.5);
    EXPECT_EQ(well.FLongitude, -3.25);
    EXPECT_EQ(well.FCoordinateSystem, "WGS84");
    EXPECT_EQ(well.FProjectionSystem, "UTM");
    EXPECT_EQ(well.FAltitude, 120.0);
    EXPECT_EQ(well.FRemarks, "r");
    const auto& bare = *static_cast<const TWell*>(session().FWells[1]);
    EXPECT_EQ(bare.GetID(), "");
    EXPECT_EQ(bare.FYear, 2001);
    EXPECT_EQ(bare.FLatitude, MissingReal);
}

TEST_F(LoadStations, StreamFlowWithItsThreeSeries)
{
    TXMLNode flow = AddStation("flow", "F1");
    AddValues(flow, {{"river", "Axios"},
                     {"river_basin", "Axios basin"},
                     {"river_basin_area", "23750"},
                     {"subcatchment", "upper"},
                     {"subcatchment_area", "0.5"},
                     {"wfd", "-1"},
                     {"dunmar", "0"},
                     {"min_discharge", "1.5"},
                     {"max_discharge", "900"},
                     {"min_discharge_date", "1.8.2003"},
                     {"max_discharge_date", "3.3.2003"},
                     {"data_from_year", "1960"},
                     {"data_to_year", "2003"},
                     {"data_URL", "http://x"},
                     {"data_agency", "agency"},
                     {"annual_data", "150"},
                     {"ltaa", "160"},
                     {"ltaa_from_year", "1961"},
                     {"ltaa_to_year", "1990"}});
    AddItem(flow, "monthly_data", "12", "10");
    AddItem(flow, "ltaa_data", "1", "11");
    AddItem(flow, "daily_data", "366", "12");
    AddItem(flow, "daily_data", "1", "13");
    Load();

    const auto& f = *static_cast<const TStreamFlow*>(session().FStreamFlows[0]);
    EXPECT_EQ(f.FRiver, "Axios");
    EXPECT_EQ(f.FRiverBasin, "Axios basin");
    EXPECT_EQ(f.FRiverBasinArea, 23750.0);
    EXPECT_EQ(f.FSubcatchment, "upper");
    EXPECT_EQ(f.FSubcatchmentArea, 0.5);
    EXPECT_TRUE(f.FWFD);
    EXPECT_FALSE(f.FDunmar);
    EXPECT_EQ(f.FMinDischarge, 1.5);
    EXPECT_EQ(f.FMaxDischarge, 900.0);
    EXPECT_EQ(f.FMinDischargeDate, "1.8.2003");
    EXPECT_EQ(f.FMaxDischargeDate, "3.3.2003");
    EXPECT_EQ(f.FDataFromYear, 1960);
    EXPECT_EQ(f.FDataToYear, 2003);
    EXPECT_EQ(f.FDataURL, "http://x");
    EXPECT_EQ(f.FDataAgency, "agency");
    EXPECT_EQ(f.FAnnualData, 150.0);
    EXPECT_EQ(f.FLTAA, 160.0);
    EXPECT_EQ(f.FLTAAFromYear, 1961);
    EXPECT_EQ(f.FLTAAToYear, 1990);
    EXPECT_EQ(f.FMonthlyData[11], 10.0);
    EXPECT_EQ(f.FMonthlyData[0], MissingReal);
    EXPECT_EQ(f.FLTAAData[0], 11.0);
    EXPECT_EQ(f.FDailyData[365], 12.0);
    EXPECT_EQ(f.FDailyData[0], 13.0);
    EXPECT_EQ(f.FDailyData[1], MissingReal);
}

// The readers look values up by name: the first element of a name counts, wherever it stands.
TEST_F(LoadStations, ElementsInAnyOrderTheFirstOfANameCounting)
{
    TXMLNode flow = AddStation("flow", "F1");
    AddItem(flow, "daily_data", "2", "20");
    AddValues(flow, {{"ltaa_to_year", "1990"}, {"river", "first"}, {"river", "second"}});
    for (int i = 0; i < 50; ++i)
        flow.AddChild(("unknown" + std::to_string(i)).c_str()).SetText("x");
    AddValues(flow, {{"annual_data", "5"}, {"data_agency", "late"}, {"river_basin", "late"}});
    AddItem(flow, "daily_data", "3", "30");
    TXMLNode level = AddStation("well", "W1").AddChild("mean_level");
    AddValues(level, {{"LTAA", "4"}});
    AddItem(level, "seasonal", "1", "1");
    AddValues(level, {{"annual_data", "2"}, {"annual_data", "3"}});
    AddItem(level, "monthly_data", "5", "6");
    AddItem(level, "seasonal", "2", "7");
    AddValues(level, {{"LTAA", "9"}});
    Load();

    const auto& f = *static_cast<const TStreamFlow*>(session().FStreamFlows[0]);
    EXPECT_EQ(f.FRiver, "first");
    EXPECT_EQ(f.FLTAAToYear, 1990);
    EXPECT_EQ(f.FAnnualData, 5.0);
    EXPECT_EQ(f.FDataAgency, "late");
    EXPECT_EQ(f.FRiverBasin, "late");
    EXPECT_EQ(f.FDailyData[1], 20.0);
    EXPECT_EQ(f.FDailyData[2], 30.0);
    const TEntityData& mean = static_cast<const TWell*>(session().FWells[0])->FMeanLevel;
    EXPECT_EQ(mean[4], 6.0);
    EXPECT_EQ(mean[AnnualIndex], 2.0);
    EXPECT_EQ(mean[WetSeasonIndex], 1.0);
    EXPECT_EQ(mean[DrySeasonIndex], 7.0);
    EXPECT_EQ(mean[LTAAIndex], 4.0);
}

TEST_F(LoadStations, WellRainGaugeAndReservoir)
{
    TXMLNode well = AddStation("well", "W1");
    AddValues(well, {{"gwb", "body"},
                     {"gwb_outside_rb", "yes"},
                     {"gwb_outside_rbd", "unknown"},
                     {"ltaa_from_year", "1970"},
                     {"ltaa_to_year", "2000"},
                     {"month_min_level", "0"},
                     {"month_max_level", "-1"}});
    AddItem(well.AddChild("mean_level"), "monthly_data", "2", "-12.5");
    AddStation("well", "W2").AddChild("gwb_outside_rb").SetText("no");

    TXMLNode gauge = AddStation("precipitation", "P1");
    AddValues(gauge, {{"river_basin", "b"},
                      {"river_basin_area", "10"},
                      {"subcatchment", "s"},
                      {"subcatchment_area", "2"},
                      {"wfd", "true"},
                      {"dunmar", "-1"},
                      {"data_period_from", "1990"},
                      {"data_period_to", "2000"},
                      {"data_URL", "u"},
                      {"data_agency", "a"},
                      {"time_scale", "monthly"}});
    AddStation("precipitation", "P2").AddChild("time_scale");

    TXMLNode reservoir = AddStation("reservoir", "R1");
    AddValues(reservoir, {{"type", "Man-made"},
                          {"storage_capacity", "250"},
                          {"ltaa_from_year", "1980"},
                          {"ltaa_to_year", "2005"}});
    reservoir.AddChild("inflow").AddChild("annual_data").SetText("30");
    reservoir.AddChild("outflow").AddChild("LTAA").SetText("31");
    AddStation("reservoir", "R2").AddChild("type").SetText("Natural");
    Load();

    const auto& w = *static_cast<const TWell*>(session().FWells[0]);
    EXPECT_EQ(w.FGWB, "body");
    EXPECT_EQ(w.FGWBOutsideRB, 1);
    EXPECT_EQ(w.FGWBOutsideRBD, MissingInteger);
    EXPECT_EQ(w.FLTAAFromYear, 1970);
    EXPECT_EQ(w.FLTAAToYear, 2000);
    EXPECT_EQ(w.FMonthMinLevel, 0);
    EXPECT_EQ(w.FMonthMaxLevel, -1);
    EXPECT_EQ(w.FMeanLevel[1], -12.5);
    EXPECT_EQ(static_cast<const TWell*>(session().FWells[1])->FGWBOutsideRB, 0);

    const auto& g = *static_cast<const TRainGauge*>(session().FRainGauges[0]);
    EXPECT_EQ(g.FRiverBasin, "b");
    EXPECT_EQ(g.FRiverBasinArea, 10.0);
    EXPECT_EQ(g.FSubcatchment, "s");
    EXPECT_EQ(g.FSubcatchmentArea, 2.0);
    EXPECT_TRUE(g.FWFD);
    EXPECT_TRUE(g.FDunmar);
    EXPECT_EQ(g.FDataPeriodFrom, 1990);
    EXPECT_EQ(g.FDataPeriodTo, 2000);
    EXPECT_EQ(g.FDataURL, "u");
    EXPECT_EQ(g.FDataAgency, "a");
    EXPECT_EQ(g.FTimeScale, tsMonthly);
    EXPECT_EQ(static_cast<const TRainGauge*>(session().FRainGauges[1])->FTimeScale, tsUnknown);

    const auto& r = *static_cast<const TReservoir*>(session().FReservoirs[0]);
    EXPECT_EQ(r.FReservoirType, rsManMade);
    EXPECT_EQ(r.FStorageCapacity, 250.0);
    EXPECT_EQ(r.FLTAAFromYear, 1980);
    EXPECT_EQ(r.FLTAAToYear, 2005);
    EXPECT_EQ(r.FInflow[AnnualIndex], 30.0);
    EXPECT_EQ(r.FOutflow[LTAAIndex], 31.0);
    EXPECT_EQ(static_cast<const TReservoir*>(session().FReservoirs[1])->FReservoirType, rsNatural);
}

TEST_F(LoadStations, RegionsAreFoundByTypeAndCodeAndUnknownOnesSkipped)
{
    AddStation("flow", "F1");
    AddRegion("GR1", "RBD").AddChild("flow").AddChild("attributes_wq").AddChild("id").SetText("X");
    AddRegion("GR9", "NUTS1").AddChild("well").AddChild("gwb_outside_rb").SetText("bad word");
    AddRegion("GR01", "RBD")
        .AddChild("reservoir")
        .AddChild("attributes_wq")
        .AddChild("id")
        .SetText("R");
    Load();
    EXPECT_EQ(IDs(session().FEntities), (std::vector<std::string>{"F1", "R"}));
    EXPECT_EQ(static_cast<const TEntity*>(session().FReservoirs[0])->FRegion, district_);
}

TEST_F(LoadStations, OpeningShowsTheSessionAndClearsTheModifiedFlag)
{
    RecordingObserver observer;
    session().SetObserver(&observer);
    AddStation("flow", "F1");
    file_ = std::make_unique<TTestFile>(SavedText(), "open.wqd");
    session().FDataFile = file_->Path();
    OpenDataFile();
    EXPECT_EQ(observer.shown, 1);
    EXPECT_FALSE(session().GetModified());
    EXPECT_EQ(observer.captions.back(), "Tavrel-SoE WQ Data Request");
    session().SetObserver(nullptr);
}

TEST_F(LoadStations, ADecimalSeparatorMismatchIsRefusedWithNothingRead)
{
    root_.ChildNode("DecimalSeparator").SetText(",");
    AddStation("flow", "F1");
    RecordingObserver observer;
    session().SetObserver(&observer);
    file_ = std::make_unique<TTestFile>(SavedText(), "comma.wqd");
    session().FDataFile = file_->Path();
    OpenDataFile();
    session().SetObserver(nullptr);

    ASSERT_EQ(dialogs_.Messages().size(), 1u);
    EXPECT_EQ(dialogs_.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs_.Messages()[0].Text,
              "The decimal separator for real values (',') used in the data file ('" +
                  file_->Path() +
                  "') does not match with the default one in your computer ('.'). Please adjust "
                  "the regional settings in your PC and load this file again.");
    EXPECT_EQ(session().GetCountry(), nullptr);
    EXPECT_EQ(session().FResponsible, "");
    EXPECT_EQ(session().FEntities.Count(), 0);
    EXPECT_EQ(observer.shown, 1);
    EXPECT_FALSE(session().GetModified());

    // The refused file set no country, so another one opens.
    root_.ChildNode("DecimalSeparator").SetText(".");
    const TTestFile second(SavedText(), "point.wqd");
    session().FDataFile = second.Path();
    OpenDataFile();
    EXPECT_EQ(dialogs_.Messages().size(), 1u);
    EXPECT_EQ(session().GetCountry(), greece_);
    EXPECT_EQ(IDs(session().FStreamFlows), std::vector<std::string>{"F1"});
}

TEST_F(LoadStations, AFailedOpeningNeitherShowsNorClearsAnything)
{
    RecordingObserver observer;
    session().SetObserver(&observer);
    session().SetModified(true);
    root_.ChildNode("DecimalSeparator").SetText("\u066B");  // the Arabic decimal separator
    root_.SetAttribute("Country", "XX");
    file_ = std::make_unique<TTestFile>(SavedText(), "unknown_country.wqd");
    session().FDataFile = file_->Path();
    OpenDataFile();
    ASSERT_EQ(dialogs_.Texts().size(), 1u);
    EXPECT_NE(dialogs_.Texts()[0].find("('\u066B')"), std::string::npos);

    root_.ChildNode("DecimalSeparator").SetText(".");
    file_ = std::make_unique<TTestFile>(SavedText(), "unknown_country.wqd");
    session().FDataFile = file_->Path();
    session().SetModified(true);
    observer.shown = 0;
    EXPECT_THROW(OpenDataFile(), Exception);
    EXPECT_EQ(observer.shown, 0);
    EXPECT_TRUE(session().GetModified());
    session().SetObserver(nullptr);
}

class LoadWithoutDecimalSeparator : public DataFileTest {};

TEST_F(LoadWithoutDecimalSeparator, ReadsWithTheComputersSeparator)
{
    ScopedRegionalSettings comma(',');
    TXMLNode flow = region_.AddChild("flow");
    flow.AddChild("attributes_wq").AddChild("id").SetText("F1");
    flow.AddChild("river_basin_area").SetText("2,5");
    Load();
    EXPECT_TRUE(dialogs_.Messages().empty());
    EXPECT_EQ(static_cast<const TStreamFlow*>(session().FStreamFlows[0])->FRiverBasinArea, 2.5);
}

}  // namespace
