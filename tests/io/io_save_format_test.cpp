#include "io/ozr_io_load.h"
#include "tests/io/io_save_fixture.h"
#include "platform/regional_settings.h"
#include "tests/xml/xml_wellformed.h"

namespace {

using wqtest::ReadFileText;

using SaveFormat = SaveTest;
using SavePresence = SaveTest;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

int Occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(SaveFormat, SessionWithoutDataIsTheRootAloneByteForByte)
{
    session().FResponsible = "Maria";
    session().FEmail = "m@example.org";
    session().FRemarks = "a \"b\" & <c>";
    EXPECT_EQ(SavedText(),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<ozr_wq Country=\"GR\" CreationDate=\"*\" Responsible=\"Maria\" "
              "Email=\"m@example.org\" Remarks=\"a &quot;b&quot; &amp; &lt;c&gt;\">"
              "State and Quantity Water Resources Data for Country: Greece\r\n"
              "  <DecimalSeparator>.</DecimalSeparator>\r\n"
              "</ozr_wq>\r\n");
}

TEST_F(SaveFormat, CreationDateIsTheMomentWithoutLeadingZeros)
{
    const std::string path = folder_ / "a.wqd";
    SaveDataFile(path);
    const std::string text = ReadFileText(path);
    EXPECT_TRUE(
        std::regex_search(text, std::regex("CreationDate=\"[1-9][0-9]{3}-[1-9][0-9]?-[1-9][0-9]? "
                                           "(0|[1-9][0-9]?):(0|[1-9][0-9]?):(0|[1-9][0-9]?)\"")));
}

TEST_F(SaveFormat, SavingTwiceDiffersOnlyInTheCreationDate)
{
    auto* region = NewRegion(rtRBD, "GR01");
    region->EditTables().FWUTotalFreshwaterUsed[2][4] = 17.25;
    new TWell(region, "W");
    EXPECT_EQ(SavedText(), SavedText());
}

// A receiver's strict parser must take the whole file whatever the texts
// hold; everything XML can hold comes back as it was.
TEST_F(SaveFormat, TextsXmlCannotHoldStillGiveAWellFormedFile)
{
    session().FRemarks = AwkwardText();
    (new TWell(country_, "W1"))->FName = AwkwardText();
    const std::string path = folder_ / "awkward.wqd";
    SaveDataFile(path);
    ExpectWellFormed(path);

    TSession copy;
    Session = &copy;
    new TRegion(nullptr, rtCountry, "GR");
    copy.FDataFile = path;
    LoadDataFile();
    Session = &session();
    EXPECT_EQ(copy.FRemarks, AwkwardText(true));
    ASSERT_EQ(copy.FWells.Count(), 1);
    EXPECT_EQ(static_cast<const TWell*>(copy.FWells[0])->FName, AwkwardText(true));
}

TEST_F(SaveFormat, CommaSeparatorIsWrittenAndRecorded)
{
    ScopedRegionalSettings comma(',');
    auto* region = NewRegion(rtRBD, "GR01");
    region->EditTables().FWBAdditional[0][AnnualIndex] = 2.5;
    const std::string text = SavedText();
    EXPECT_TRUE(Contains(text, "<DecimalSeparator>,</DecimalSeparator>"));
    EXPECT_TRUE(Contains(text, "<annual_data>2,5</annual_data>"));
}

TEST_F(SaveFormat, RegionsInListOrderAndStationsByKind)
{
    auto* first = NewRegion(rtNUTS1, "GR1");
    auto* second = NewRegion(rtRB, "GR02");
    new TReservoir(second, "R");
    new TRainGauge(second, "P");
    new TWell(second, "W");
    new TStreamFlow(second, "F2");
    new TStreamFlow(second, "F1");
    new TWell(first, "W0");
    new TWell(nullptr, "lost");
    const std::string text = SavedText();
    const auto at = [&text](const std::string& part) { return text.find(part); };
    EXPECT_LT(at("code=\"GR1\" name=\"Unknown NUTS level 1\" type=\"NUTS1\""),
              at("code=\"GR02\" name=\"Unknown RB\" type=\"RB\""));
    EXPECT_LT(at("<id>W0</id>"), at("<id>F2</id>"));
    EXPECT_LT(at("<id>F2</id>"), at("<id>F1</id>"));
    EXPECT_LT(at("<id>F1</id>"), at("<id>W</id>"));
    EXPECT_LT(at("<id>W</id>"), at("<id>P</id>"));
    EXPECT_LT(at("<id>P</id>"), at("<id>R</id>"));
    EXPECT_FALSE(Contains(text, "lost"));
    EXPECT_FALSE(Contains(text, "code=\"GR\""));
}

TEST_F(SavePresence, AQuantityWithOnlyTheDrySeason)
{
    NewRegion(rtRBD, "GR01")->EditTables().FWBHydrometeorological[3][DrySeasonIndex] = 4;
    EXPECT_EQ(SavedElement("wb_internal_flow"),
              "<wb_internal_flow>\n<seasonal>\n<indx>2</indx>\n<value>4</value>\n</seasonal>\n"
              "</wb_internal_flow>");
}

TEST_F(SavePresence, AFullQuantityInItsOrder)
{
    TEntityData& q = NewRegion(rtRBD, "GR01")->EditTables().FWATotalAbstraction;
    q[0] = 1;
    q[11] = 12;
    q[AnnualIndex] = 13;
    q[WetSeasonIndex] = 14;
    q[DrySeasonIndex] = 15;
    q[LTAAIndex] = 16;
    EXPECT_EQ(SavedElement("wa_total_abstraction"),
              "<wa_total_abstraction>\n"
              "<monthly_data>\n<indx>1</indx>\n<value>1</value>\n</monthly_data>\n"
              "<monthly_data>\n<indx>12</indx>\n<value>12</value>\n</monthly_data>\n"
              "<annual_data>13</annual_data>\n"
              "<seasonal>\n<indx>1</indx>\n<value>14</value>\n</seasonal>\n"
              "<seasonal>\n<indx>2</indx>\n<value>15</value>\n</seasonal>\n"
              "<LTAA>16</LTAA>\n"
              "</wa_total_abstraction>");
}

// Single values pass above -9999; a series needs one value above -9998.
TEST_F(SavePresence, BothThresholds)
{
    TRegionTables& t = NewRegion(rtRBD, "GR01")->EditTables();
    t.FWAEvaporationLosses[2] = -9998.5;
    t.FWAEvaporationLosses[4] = 1;
    t.FWAAvailableGroundwater[2] = -9998.5;
    t.FWAAvailableGroundwater[AnnualIndex] = 1;
    t.FWAAvailableGroundwater[LTAAIndex] = -9998.5;
    EXPECT_EQ(SavedElement("wa_evaporation_losses"),
              "<wa_evaporation_losses>\n"
              "<monthly_data>\n<indx>3</indx>\n<value>-9998.5</value>\n</monthly_data>\n"
              "<monthly_data>\n<indx>5</indx>\n<value>1</value>\n</monthly_data>\n"
              "</wa_evaporation_losses>");
    EXPECT_EQ(SavedElement("wa_available_groundwater"),
              "<wa_available_groundwater>\n<annual_data>1</annual_data>\n"
              "</wa_available_groundwater>");
}

// -9998.5 counts as data for the region's tests (above -9999.0) but not for
// the quantity's (above -9998.0): the region and its table are written, the
// quantity is not.
TEST_F(SavePresence, AValueBelowTheQuantityThresholdAloneWritesItsTableButNoQuantity)
{
    NewRegion(rtRBD, "GR01")->EditTables().FWAEvaporationLosses[2] = -9998.5;
    const std::string text = SavedText();
    EXPECT_TRUE(Contains(text, "<ozr_water_abstraction>"));
    EXPECT_FALSE(Contains(text, "wa_evaporation_losses"));
    EXPECT_TRUE(Contains(text, "<wa_non_freshwater/>"));
}

TEST_F(SavePresence, RemarksAndYearsAloneWriteNothing)
{
    TRegionTables& t = NewRegion(rtRBD, "GR01")->EditTables();
    t.FWBRemarks = "only a remark";
    t.FWBYear = 2005;
    t.FWURemarks = "x";
    EXPECT_FALSE(Contains(SavedText(), "<region"));
}

TEST_F(SavePresence, GroupsOnlyWithTheirOwnDataButSectorTablesAlways)
{
    TRegionTables& t = NewRegion(rtRBD, "GR01")->EditTables();
    t.FWBReusedWater[3][0] = 1;
    t.FWBRemarks = "  spaced  ";
    t.FWBReturnedUnit = "   ";
    t.FWBReusedUnit = "unit";
    const std::string text = SavedText();
    EXPECT_TRUE(Contains(text, "<wb_remarks>  spaced  </wb_remarks>"));
    EXPECT_FALSE(Contains(text, "ozr_wb_hydrometeorological_parameters"));
    EXPECT_FALSE(Contains(text, "ozr_wb_additional_water_resources"));
    EXPECT_FALSE(Contains(text, "wb_returned_unit"));
    EXPECT_EQ(SavedElement("ozr_wb_returned_reused_water"),
              "<ozr_wb_returned_reused_water>\n<wb_reused_water>\n<nace_a_irrgation>\n"
              "<monthly_data>\n<indx>1</indx>\n<value>1</value>\n</monthly_data>\n"
              "</nace_a_irrgation>\n</wb_reused_water>\n<wb_reused_unit>unit</wb_reused_unit>\n"
              "</ozr_wb_returned_reused_water>");
}

TEST_F(SavePresence, WordsAreLeftOutWhenUnknown)
{
    TRegionTables& t = NewRegion(rtRBD, "GR01")->EditTables();
    t.FWBAdditional[2][0] = 1;
    t.FWBArtifGWOrigin = agoDesalinatedWater;
    t.FWATotalAbstraction[0] = 1;
    t.FWANonFWSource[3] = nfsLagoon;
    t.FWANonFWSource[10] = nfsOther;
    auto* gauge = new TRainGauge(country_, "P");
    gauge->FTimeScale = tsMonthly;
    new TRainGauge(country_, "P2");
    auto* reservoir = new TReservoir(country_, "R");
    reservoir->FReservoirType = rsManMade;
    new TReservoir(country_, "R2");
    const std::string text = SavedText();
    EXPECT_TRUE(Contains(text, "<wb_artif_gw_origin>desalinated water</wb_artif_gw_origin>"));
    EXPECT_TRUE(
        Contains(text, "<wa_non_fw_source_irrigation>lagoon</wa_non_fw_source_irrigation>"));
    EXPECT_TRUE(Contains(text, "<wa_non_fw_source_other>other</wa_non_fw_source_other>"));
    EXPECT_FALSE(Contains(text, "wa_non_fw_source_total"));
    EXPECT_TRUE(Contains(text, "<time_scale>monthly</time_scale>"));
    EXPECT_EQ(Occurrences(text, "<time_scale>"), 1);
    EXPECT_TRUE(Contains(text, "<type>Man-made</type>"));
    EXPECT_EQ(Occurrences(text, "<type>"), 1);
}

TEST_F(SavePresence, StationValuesByForm)
{
    auto* well = new TWell(NewRegion(rtRBD, "GR01"), "");
    well->FGWBOutsideRB = 2;
    well->FMonthMinLevel = -1;
    well->FMonthMaxLevel = 0;
    well->FYear = -9999;
    well->FRemarks = " note ";
    well->FCoordinateSystem = "\t";
    EXPECT_EQ(SavedElement("well"),
              "<well>\n<attributes_wq>\n<id/>\n<name/>\n<remarks> note </remarks>\n"
              "</attributes_wq>\n<gwb_outside_rb>unknown</gwb_outside_rb>\n"
              "<month_min_level>-1</month_min_level>\n<month_max_level>0</month_max_level>\n"
              "</well>");
}

TEST_F(SavePresence, StreamFlowSeriesByTheBlockRule)
{
    auto* flow = new TStreamFlow(NewRegion(rtRBD, "GR01"), "F");
    flow->FDailyData[365] = 7;
    flow->FMonthlyData[0] = -9998.5;
    flow->FLTAAData[1] = -9998.5;
    flow->FLTAAData[2] = 3;
    flow->FWFD = true;
    flow->FLTAAFromYear = 1970;
    const std::string element = SavedElement("flow");
    EXPECT_EQ(element,
              "<flow>\n<attributes_wq>\n<id>F</id>\n<name/>\n<year>2008</year>\n</attributes_wq>\n"
              "<wfd>-1</wfd>\n<dunmar>0</dunmar>\n<ltaa_from_year>1970</ltaa_from_year>\n"
              "<ltaa_data>\n<indx>2</indx>\n<value>-9998.5</value>\n</ltaa_data>\n"
              "<ltaa_data>\n<indx>3</indx>\n<value>3</value>\n</ltaa_data>\n"
              "<daily_data>\n<indx>366</indx>\n<value>7</value>\n</daily_data>\n</flow>");
}

TEST_F(SavePresence, EveryLargeItemIsWrittenEvenEmpty)
{
    TRegionTables& t = NewRegion(rtRBD, "GR01")->EditTables();
    t.FWULargeItemsIndustry.emplace_back();
    ozr_wu_large_item city;
    city.ItemName = "Athens";
    city.ItemClass = 1;
    city.WaterUse[LTAAIndex] = 9;
    t.FWULargeItemsCity.push_back(city);
    EXPECT_EQ(SavedElement("ozr_water_use"),
              "<ozr_water_use>\n<wu_total_freshwater_used/>\n<wu_public_water_supply/>\n"
              "<wu_self_supply/>\n<wu_recycled_water/>\n<wu_large_items_city>\n"
              "<wu_item_name>Athens</wu_item_name>\n<wu_item_class>1</wu_item_class>\n"
              "<wu_item_water_use>\n<LTAA>9</LTAA>\n</wu_item_water_use>\n"
              "</wu_large_items_city>\n<wu_large_items_industry/>\n</ozr_water_use>");
}

}  // namespace
