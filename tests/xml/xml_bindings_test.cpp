#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "platform/sysutils.h"
#include "tests/xml/xml_test_file.h"
#include "xml/ozr_xml_regions.h"
#include "xml/ozr_xml_wq.h"
#include "xml/xml_error.h"

namespace {

TXMLOzr_wq LoadWq(const std::string& content)
{
    TTestFile file(content, "binding.wqd");
    return Loadozr_wq(file.Path());
}

TXMLOZR_WQ_Regions LoadRegionsText(const std::string& content)
{
    TTestFile file(content, "binding_regions.xml");
    return LoadOZR_WQ_Regions(file.Path());
}

TEST(DataFileBinding, AnEmptyRootBindsWithEmptyAttributesAndNoRegions)
{
    const TXMLOzr_wq root = LoadWq("<ozr_wq/>");
    EXPECT_EQ(root.region().Count(), 0);
    EXPECT_EQ(root.Country(), "");
    EXPECT_EQ(root.Responsible(), "");
    EXPECT_EQ(root.DecimalSeparator(), "");
    EXPECT_THROW(root.region().Items(0), EListError);
}

TEST(DataFileBinding, RootAttributesAndListsInDocumentOrder)
{
    const TXMLOzr_wq root = LoadWq(
        "<ozr_wq Country='GR' CreationDate='2009-3-7 9:5:2' Responsible='R' Email='e@x' "
        "Remarks=' r '>Text<DecimalSeparator>,</DecimalSeparator>"
        "<region code='GR1' name='n' type='NUTS1'>"
        "<flow><attributes_wq><id>F1</id></attributes_wq>"
        "<monthly_data><indx>1</indx><value>5</value></monthly_data></flow>"
        "<well><attributes_wq><id>W1</id></attributes_wq>"
        "<mean_level><monthly_data><indx>2</indx><value>3</value></monthly_data>"
        "<monthly_data><indx>4</indx><value>6</value></monthly_data></mean_level></well>"
        "<flow><attributes_wq><id>F2</id></attributes_wq></flow>"
        "</region><region code='GR2' type='NUTS1'/></ozr_wq>");
    EXPECT_EQ(root.Country(), "GR");
    EXPECT_EQ(root.CreationDate(), "2009-3-7 9:5:2");
    EXPECT_EQ(root.Email(), "e@x");
    EXPECT_EQ(root.Remarks(), " r ");
    EXPECT_EQ(root.DecimalSeparator(), ",");

    const TXMLOzr_wq_regionList regions = root.region();
    ASSERT_EQ(regions.Count(), 2);
    const TXMLOzr_wq_region region = regions.Items(0);
    EXPECT_EQ(region.code(), "GR1");
    EXPECT_EQ(region.type(), "NUTS1");
    EXPECT_EQ(regions.Items(1).code(), "GR2");
    EXPECT_EQ(regions.Items(0).code(), "GR1") << "a step back";

    const TXMLOzr_wq_region_flowList flows = region.flow();
    ASSERT_EQ(flows.Count(), 2);
    EXPECT_EQ(flows.Items(0).attributes_wq().id(), "F1");
    EXPECT_EQ(flows.Items(1).attributes_wq().id(), "F2");
    EXPECT_EQ(region.well().Count(), 1);
    EXPECT_EQ(region.reservoir().Count(), 0);

    // A station's own series and the series of its quantity are separate lists.
    EXPECT_EQ(flows.Items(0).monthly_data().Count(), 1);
    const TXMLOzr_wq_region_well well = region.well().Items(0);
    EXPECT_EQ(well.ChildElements("monthly_data").size(), 0u);
    const TXMLArrayOfDoublePosZeroList levels = well.mean_level().monthly_data();
    ASSERT_EQ(levels.Count(), 2);
    EXPECT_EQ(levels.Items(1).indx(), 4);
}

TEST(DataFileBinding, AbsentValuesReadEmptyButDoNotConvert)
{
    const TXMLOzr_wq root = LoadWq(
        "<ozr_wq><region><ozr_water_abstraction><wa_remarks/></ozr_water_abstraction>"
        "</region></ozr_wq>");
    const TXMLOzr_water_abstraction abstraction = root.region().Items(0).ozr_water_abstraction();
    EXPECT_EQ(abstraction.wa_remarks(), "");
    EXPECT_FALSE(abstraction.ChildNode("wa_year").HasChildNodes());
    try {
        abstraction.wa_year();
        FAIL() << "a missing integer converted";
    } catch (const EVariantTypeCastError& error) {
        EXPECT_STREQ(error.what(),
                     "Could not convert variant of type (Null) into type (Integer) (element "
                     "\"wa_year\")");
    }
    // An absent node is added, empty, and reads as empty all the way down.
    const TXMLEntityDataWQ absent = abstraction.ozr_freshwater_abstraction_for_self_suply()
                                        .wa_abstraction_for_self_suply_total();
    EXPECT_EQ(absent.NodeName(), "wa_abstraction_for_self_suply_total");
    EXPECT_EQ(absent.monthly_data().Count(), 0);
    EXPECT_THROW(absent.annual_data(), EVariantTypeCastError);
}

TEST(DataFileBinding, NumbersAndBooleansConvertOrNameTheElement)
{
    const TXMLOzr_wq root = LoadWq(
        "<ozr_wq><region><flow><river_basin_area>12,5</river_basin_area>"
        "<subcatchment_area>3.25</subcatchment_area><data_from_year>x1</data_from_year>"
        "<wfd>-1</wfd><dunmar>0</dunmar></flow>"
        "<flow><wfd>true</wfd><dunmar>yes</dunmar></flow></region></ozr_wq>");
    const TXMLOzr_wq_region_flowList flows = root.region().Items(0).flow();
    const TXMLOzr_wq_region_flow flow = flows.Items(0);
    {
        ScopedRegionalSettings comma(',');
        EXPECT_DOUBLE_EQ(flow.river_basin_area(), 12.5);
    }
    {
        ScopedRegionalSettings point('.');
        EXPECT_DOUBLE_EQ(flow.subcatchment_area(), 3.25);
        try {
            flow.river_basin_area();
            FAIL() << "a real with the other separator converted";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(),
                         "'12,5' is not a valid floating point value (element "
                         "\"river_basin_area\")");
        }
    }
    try {
        flow.data_from_year();
        FAIL() << "a non-numeric integer converted";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(),
                     "'x1' is not a valid integer value (element \"data_from_year\")");
    }
    EXPECT_TRUE(flow.wfd());
    EXPECT_FALSE(flow.dunmar());
    EXPECT_TRUE(flows.Items(1).wfd());
    EXPECT_THROW(flows.Items(1).dunmar(), EConvertError);
}

// The binding converts the plainest reals itself; every real must still come
// out as the full conversion gives it, bit for bit, or fail as it fails.
TEST(DataFileBinding, RealsConvertAsTheFullConversionDoes)
{
    std::vector<std::string> texts;
    std::istringstream cases(
        "0|-0|5.|.5|-.5|007|-||.|1E5|+1| 1|1 |1.2.3|1,5.5|--1|999999999999999|1000000000000000|"
        "0.000000000000001|9007199254740993|4.35");
    for (std::string text; std::getline(cases, text, '|');)
        texts.push_back(text);
    std::mt19937_64 random(2009);
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const std::size_t digits = 1 + random() % 17;
        const std::size_t point = random() % (digits + 2);
        for (std::size_t d = 0; d < digits; ++d)
            text += std::string(d == point, '.') + static_cast<char>('0' + random() % 10);
        texts.push_back(text);
    }
    TXMLDocument document;
    TXMLNode element = document.AddRoot("value");
    for (const char separator : {'.', ','}) {
        ScopedRegionalSettings settings(separator);
        for (std::string text : texts) {
            std::replace(text.begin(), text.end(), '.', separator);
            element.SetText(text);
            double expected = 0;
            if (!text.empty() && TryStrToFloat(text, expected))
                EXPECT_EQ(std::bit_cast<std::uint64_t>(ElementValue<double>(element, "value")),
                          std::bit_cast<std::uint64_t>(expected))
                    << text;
            else
                EXPECT_THROW(ElementValue<double>(element, "value"), EConvertError) << text;
        }
    }
}

TEST(DataFileBinding, AnotherDocumentElementIsNotSupported)
{
    try {
        LoadWq("<OZR_WQ_Regions/>");
        FAIL() << "a regions file bound as a data file";
    } catch (const EIntfCastError& error) {
        EXPECT_STREQ(error.what(), "Interface not supported");
    }
    EXPECT_THROW(LoadRegionsText("<ozr_wq/>"), EIntfCastError);
}

TEST(DataFileBinding, AHeldRootKeepsItsNodesValid)
{
    std::shared_ptr<void> held;
    TXMLOzr_wq_region region{TXMLNode{}};
    {
        const TXMLOzr_wq root = LoadWq("<ozr_wq><region code='A'/></ozr_wq>");
        held = std::make_shared<TXMLOzr_wq>(root);
        region = root.region().Items(0);
    }
    EXPECT_EQ(region.code(), "A");
}

TEST(RegionsFileBinding, CountriesAndTheirListsAreSeparateFromOtherChildren)
{
    const TXMLOZR_WQ_Regions root = LoadRegionsText(
        "<OZR_WQ_Regions Creator='c' CreationDate='d' Date='x'>Text<!-- note --><Remarks/>"
        "<Country><Code>AT</Code><Name>Austria</Name>"
        "<RBD><Code>AT1000</Code><SU><Code>S1</Code><Name>Su one</Name></SU></RBD>"
        "<NUTS1><Name>Ost</Name><NUTS2><Code>AT11</Code>"
        "<NUTS3><Code>AT111</Code><Name>Mittelburgenland</Name></NUTS3></NUTS2></NUTS1>"
        "<RBD><Code>AT2000</Code></RBD></Country><Country><Code>BE</Code></Country>"
        "</OZR_WQ_Regions>");
    EXPECT_EQ(root.Creator(), "c");
    EXPECT_EQ(root.Date(), "x");
    EXPECT_EQ(root.Email(), "");
    ASSERT_EQ(root.Count(), 2);
    const TXMLOZR_WQ_Regions_Country austria = root.Country(0);
    EXPECT_EQ(austria.Code(), "AT");
    EXPECT_EQ(austria.Name(), "Austria");
    EXPECT_EQ(root.Country(1).Name(), "");
    EXPECT_EQ(austria.RB().Count(), 0);

    const auto nuts1 = austria.NUTS1();
    ASSERT_EQ(nuts1.Count(), 1);
    EXPECT_EQ(nuts1.Items(0).Code(), "");
    EXPECT_EQ(nuts1.Items(0).Name(), "Ost");
    const auto nuts3 = nuts1.Items(0).NUTS2().Items(0).NUTS3();
    ASSERT_EQ(nuts3.Count(), 1);
    EXPECT_EQ(nuts3.Items(0).Name(), "Mittelburgenland");

    const auto rbds = austria.RBD();
    ASSERT_EQ(rbds.Count(), 2);
    EXPECT_EQ(rbds.Items(1).Code(), "AT2000");
    EXPECT_EQ(rbds.Items(0).SU().Items(0).Name(), "Su one");
    EXPECT_EQ(rbds.Items(1).SU().Count(), 0);
    EXPECT_THROW(root.Country(2), EListError);
}

TEST(RegionsFileBinding, AnEmptyRootHasNoCountries)
{
    EXPECT_EQ(LoadRegionsText("<OZR_WQ_Regions/>").Count(), 0);
}

// Writes over a loaded document replace what an element held, adding it only
// once, and keep the texts; the lists change only their items, and Insert
// counts every child of the owner.
TEST(DataFileBindingWrite, ADocumentWrittenThroughTheBindingReadsBack)
{
    ScopedRegionalSettings comma(',');
    TXMLOzr_wq built = LoadWq(
        "<ozr_wq>State<DecimalSeparator>.</DecimalSeparator><region>text<flow><river>1</river>"
        "</flow><well/><flow><river>2</river></flow></region></ozr_wq>");
    built.Set_Country("GR");
    built.Set_Remarks("");
    built.Set_DecimalSeparator(",");
    TXMLOzr_wq_region region = built.region().Items(0);
    region.Set_code("GR01");
    built.region().Add().Set_code("GR02");
    TXMLOzr_water_balance balance = region.ozr_water_balance();
    balance.Set_wb_year(2005);
    balance.Set_wb_remarks("old");
    balance.Set_wb_remarks(" new <text> ");
    balance.ozr_wb_water_storage().wb_snowpack().monthly_data().Add().Set_value(12.5);
    TXMLOzr_wq_region_flowList flows = region.flow();
    flows.Insert(0).Set_river("0");    // before the region's text
    flows.Insert(3).Set_river("1.5");  // before the well, the fourth child
    TXMLOzr_wq_region_flow flow = flows.Add();
    flow.Set_river("3");
    flow.Set_wfd(true);
    EXPECT_THROW(flows.Insert(9), EListError);
    EXPECT_EQ(flows.Remove(region.well().Items(0)), -1);
    EXPECT_EQ(flows.Remove(flows.Items(2)), 2);
    flows.Delete(0);
    region.well().Clear();

    const TXMLOzr_wq root = LoadWq(built.OwnerDocument().SaveToString());
    const std::string saved = root.OwnerDocument().SaveToString();
    EXPECT_NE(saved.find("<ozr_wq Country=\"GR\" Remarks=\"\">State"), std::string::npos);
    EXPECT_NE(saved.find("<region code=\"GR01\">text"), std::string::npos);
    EXPECT_EQ(root.DecimalSeparator(), ",");
    EXPECT_EQ(root.CountChildElements("DecimalSeparator"), 1);
    ASSERT_EQ(root.region().Count(), 2);
    EXPECT_EQ(root.region().Items(1).code(), "GR02");
    const TXMLOzr_wq_region readRegion = root.region().Items(0);
    const TXMLOzr_water_balance readBalance = readRegion.ozr_water_balance();
    EXPECT_EQ(readBalance.wb_year(), 2005);
    EXPECT_EQ(readBalance.wb_remarks(), " new <text> ");
    EXPECT_EQ(readBalance.CountChildElements("wb_remarks"), 1);
    EXPECT_EQ(readBalance.ozr_wb_water_storage().wb_snowpack().monthly_data().Items(0).value(),
              12.5);
    std::string rivers;
    for (const TXMLOzr_wq_region_flow readFlow : readRegion.flow())
        rivers += readFlow.river() + " ";
    EXPECT_EQ(rivers, "1 2 3 ");
    EXPECT_EQ(readRegion.flow().Items(2).ChildNode("wfd").Text(), "true");
    EXPECT_EQ(readRegion.well().Count(), 0);
}

TEST(RegionsFileBindingWrite, ATreeBuiltThroughTheBindingReadsBack)
{
    TXMLOZR_WQ_Regions built = LoadRegionsText("<OZR_WQ_Regions/>");
    built.Set_Creator("team");
    built.Add().Set_Code("BE");
    TXMLOZR_WQ_Regions_Country austria = built.Insert(0);
    austria.Set_Name("Österreich");
    TXMLOZR_WQ_Regions_Country_NUTS1 nuts1 = austria.NUTS1().Add();
    nuts1.Set_Code("AT1");
    nuts1.NUTS2().Add().NUTS3().Add().Set_Name("Mitte");
    austria.RBD().Add().SU().Add().Set_Code("S1");
    austria.RB().Add().Set_Name("Basin");
    built.Add().Set_Code("XX");
    built.Delete(2);

    TXMLOZR_WQ_Regions root = LoadRegionsText(built.OwnerDocument().SaveToString());
    EXPECT_EQ(root.Creator(), "team");
    ASSERT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Country(1).Code(), "BE");
    const TXMLOZR_WQ_Regions_Country readAustria = root.Country(0);
    EXPECT_EQ(readAustria.Name(), "Österreich");
    EXPECT_EQ(readAustria.NUTS1().Items(0).Code(), "AT1");
    EXPECT_EQ(readAustria.NUTS1().Items(0).NUTS2().Items(0).NUTS3().Items(0).Name(), "Mitte");
    EXPECT_EQ(readAustria.RBD().Items(0).SU().Items(0).Code(), "S1");
    EXPECT_EQ(readAustria.RB().Items(0).Name(), "Basin");
    root.Clear();
    EXPECT_EQ(LoadRegionsText(root.OwnerDocument().SaveToString()).Count(), 0);
}

}  // namespace
