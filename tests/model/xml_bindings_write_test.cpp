// The write side of the document bindings: documents built through the bound
// classes, saved, and read back through the same classes.

#include <string>

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "tests/model/xml_test_file.h"
#include "xml/ozr_xml_regions.h"
#include "xml/ozr_xml_wq.h"
#include "xml/xml_error.h"

namespace {

// A bound root over a document that holds only its document element.
template <class Root, class Load>
Root EmptyDocument(const char* rootTag, Load load)
{
    const TTestFile file(std::string("<") + rootTag + "/>", "empty.xml");
    return load(file.Path());
}

// The document saved and loaded again.
template <class Root, class Load>
Root SavedAndLoaded(const Root& root, Load load)
{
    const TTestFile file(root.OwnerDocument().SaveToString(), "saved.xml");
    return load(file.Path());
}

TEST(DataFileBindingWrite, ADocumentBuiltThroughTheBindingReadsBack)
{
    ScopedRegionalSettings comma(',');
    TXMLOzr_wq built = EmptyDocument<TXMLOzr_wq>("ozr_wq", Loadozr_wq);
    built.Set_Country("GR");
    built.Set_Responsible("Maria & co");
    built.Set_Remarks("");
    built.Set_DecimalSeparator(",");
    TXMLOzr_wq_region region = built.region().Add();
    region.Set_code("GR01");
    region.Set_type("RBD");
    TXMLOzr_water_balance balance = region.ozr_water_balance();
    balance.Set_wb_year(2005);
    balance.Set_wb_remarks(" spaced <text> ");
    TXMLEntityDataWQ snowpack = balance.ozr_wb_water_storage().wb_snowpack();
    TXMLArrayOfDoublePosZero month = snowpack.monthly_data().Add();
    month.Set_indx(3);
    month.Set_value(12.5);
    snowpack.Set_LTAA(-0.25);
    region.ozr_water_use().wu_public_water_supply().nace_c_textiles().Set_annual_data(1e-7);
    TXMLOzr_wu_large_items item = region.ozr_water_use().wu_large_items_city().Add();
    item.Set_wu_item_name("Athens");
    item.Set_wu_item_class("2");
    TXMLOzr_wq_region_flow flow = region.flow().Add();
    flow.attributes_wq().Set_id("F1");
    flow.attributes_wq().Set_altitude(120);
    flow.Set_wfd(true);
    flow.Set_dunmar(false);
    flow.daily_data().Add().Set_indx(366);
    region.well().Add().Set_gwb_outside_rb("yes");

    const TXMLOzr_wq root = SavedAndLoaded(built, Loadozr_wq);
    EXPECT_EQ(root.Country(), "GR");
    EXPECT_EQ(root.Responsible(), "Maria & co");
    EXPECT_EQ(root.Remarks(), "");
    EXPECT_NE(root.OwnerDocument().DocumentElement().Native().attribute("Remarks"), nullptr);
    EXPECT_EQ(root.DecimalSeparator(), ",");
    ASSERT_EQ(root.region().Count(), 1);
    const TXMLOzr_wq_region readRegion = root.region().Items(0);
    EXPECT_EQ(readRegion.code(), "GR01");
    EXPECT_EQ(readRegion.type(), "RBD");
    const TXMLOzr_water_balance readBalance = readRegion.ozr_water_balance();
    EXPECT_EQ(readBalance.wb_year(), 2005);
    EXPECT_EQ(readBalance.wb_remarks(), " spaced <text> ");
    const TXMLEntityDataWQ readSnowpack = readBalance.ozr_wb_water_storage().wb_snowpack();
    ASSERT_EQ(readSnowpack.monthly_data().Count(), 1);
    EXPECT_EQ(readSnowpack.monthly_data().Items(0).indx(), 3);
    EXPECT_EQ(readSnowpack.monthly_data().Items(0).value(), 12.5);
    EXPECT_EQ(readSnowpack.LTAA(), -0.25);
    EXPECT_EQ(readRegion.ozr_water_use().wu_public_water_supply().nace_c_textiles().annual_data(),
              1e-7);
    EXPECT_EQ(readRegion.ozr_water_use().wu_large_items_city().Items(0).wu_item_name(), "Athens");
    EXPECT_EQ(readRegion.ozr_water_use().wu_large_items_city().Items(0).wu_item_class(), "2");
    const TXMLOzr_wq_region_flow readFlow = readRegion.flow().Items(0);
    EXPECT_EQ(readFlow.attributes_wq().id(), "F1");
    EXPECT_EQ(readFlow.attributes_wq().altitude(), 120);
    EXPECT_TRUE(readFlow.wfd());
    EXPECT_FALSE(readFlow.dunmar());
    EXPECT_EQ(readFlow.ChildNode("wfd").Text(), "true");
    EXPECT_EQ(readFlow.daily_data().Items(0).indx(), 366);
    EXPECT_EQ(readRegion.well().Items(0).gwb_outside_rb(), "yes");
    EXPECT_EQ(readRegion.reservoir().Count(), 0);
}

// Writes replace what an element held, also the text that a loaded element
// keeps as its own, and add the element only once.
TEST(DataFileBindingWrite, WritesReplaceTheContentOfLoadedElements)
{
    const TTestFile file(
        "<ozr_wq Country='GR'>State<DecimalSeparator>.</DecimalSeparator>"
        "<region code='A'><ozr_water_use><wu_year>1999</wu_year><wu_remarks>old<b/></wu_remarks>"
        "</ozr_water_use></region></ozr_wq>",
        "loaded.wqd");
    TXMLOzr_wq root = Loadozr_wq(file.Path());
    root.Set_Country("AT");
    root.Set_DecimalSeparator(",");
    TXMLOzr_water_use use = root.region().Items(0).ozr_water_use();
    use.Set_wu_year(2001);
    use.Set_wu_remarks("new");
    use.Set_wu_remarks("newer");

    const TXMLOzr_wq again = SavedAndLoaded(root, Loadozr_wq);
    EXPECT_EQ(again.Country(), "AT");
    EXPECT_EQ(again.DecimalSeparator(), ",");
    EXPECT_EQ(again.CountChildElements("DecimalSeparator"), 1);
    EXPECT_NE(again.OwnerDocument().SaveToString().find("<ozr_wq Country=\"AT\">State"),
              std::string::npos);
    const TXMLOzr_water_use readUse = again.region().Items(0).ozr_water_use();
    EXPECT_EQ(readUse.wu_year(), 2001);
    EXPECT_EQ(readUse.wu_remarks(), "newer");
    EXPECT_EQ(readUse.CountChildElements("wu_remarks"), 1);
}

// Add appends, Insert counts every child of the owner, and the items stay in
// document order among other children that are never items.
TEST(DataFileBindingWrite, ListsAddInsertAndRemoveOnlyTheirItems)
{
    const TTestFile file(
        "<ozr_wq><region code='A'>text<flow><river>1</river></flow><well/>"
        "<flow><river>2</river></flow></region></ozr_wq>",
        "lists.wqd");
    const TXMLOzr_wq root = Loadozr_wq(file.Path());
    TXMLOzr_wq_region_flowList flows = root.region().Items(0).flow();
    ASSERT_EQ(flows.Count(), 2);
    flows.Insert(0).Set_river("0");    // before the region's text
    flows.Insert(3).Set_river("1.5");  // before the well, the fourth child
    flows.Add().Set_river("3");
    EXPECT_THROW(flows.Insert(8), EListError);
    EXPECT_THROW(flows.Insert(-1), EListError);
    ASSERT_EQ(flows.Count(), 5);
    std::string rivers;
    for (const TXMLOzr_wq_region_flow flow : flows)
        rivers += flow.river() + " ";
    EXPECT_EQ(rivers, "0 1 1.5 2 3 ");
    EXPECT_EQ(flows.Nodes(4).ChildNode("river").Text(), "3");

    const TXMLOzr_wq_region_well well = root.region().Items(0).well().Items(0);
    EXPECT_EQ(flows.Remove(well), -1);
    EXPECT_EQ(flows.Remove(flows.Items(2)), 2);
    flows.Delete(0);
    EXPECT_THROW(flows.Delete(3), EListError);
    EXPECT_EQ(flows.Items(0).river(), "1");
    EXPECT_EQ(flows.Count(), 3);
    flows.Clear();
    EXPECT_EQ(flows.Count(), 0);

    const TXMLOzr_wq again = SavedAndLoaded(root, Loadozr_wq);
    const TXMLOzr_wq_region region = again.region().Items(0);
    EXPECT_EQ(region.flow().Count(), 0);
    EXPECT_EQ(region.well().Count(), 1);
    EXPECT_NE(again.OwnerDocument().SaveToString().find("<region code=\"A\">text"),
              std::string::npos);
}

TEST(RegionsFileBindingWrite, ATreeBuiltThroughTheBindingReadsBack)
{
    TXMLOZR_WQ_Regions built =
        EmptyDocument<TXMLOZR_WQ_Regions>("OZR_WQ_Regions", LoadOZR_WQ_Regions);
    built.Set_Creator("team");
    built.Set_Date("2009-1-1 1:1:1");
    TXMLOZR_WQ_Regions_Country belgium = built.Add();
    belgium.Set_Code("BE");
    TXMLOZR_WQ_Regions_Country austria = built.Insert(0);
    austria.Set_Code("AT");
    austria.Set_Name("Österreich");
    TXMLOZR_WQ_Regions_Country_NUTS1 nuts1 = austria.NUTS1().Add();
    nuts1.Set_Code("AT1");
    nuts1.NUTS2().Add().NUTS3().Add().Set_Name("Mitte");
    austria.RBD().Add().SU().Add().Set_Code("S1");
    austria.RB().Add().Set_Name("Basin");
    built.Add().Set_Code("XX");
    built.Delete(2);

    const TXMLOZR_WQ_Regions root = SavedAndLoaded(built, LoadOZR_WQ_Regions);
    EXPECT_EQ(root.Creator(), "team");
    EXPECT_EQ(root.Date(), "2009-1-1 1:1:1");
    ASSERT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Country(1).Code(), "BE");
    const TXMLOZR_WQ_Regions_Country readAustria = root.Country(0);
    EXPECT_EQ(readAustria.Code(), "AT");
    EXPECT_EQ(readAustria.Name(), "Österreich");
    EXPECT_EQ(readAustria.NUTS1().Items(0).Code(), "AT1");
    EXPECT_EQ(readAustria.NUTS1().Items(0).NUTS2().Items(0).NUTS3().Items(0).Name(), "Mitte");
    EXPECT_EQ(readAustria.RBD().Items(0).SU().Items(0).Code(), "S1");
    EXPECT_EQ(readAustria.RB().Items(0).Name(), "Basin");

    TXMLOZR_WQ_Regions cleared = root;
    EXPECT_EQ(cleared.Remove(cleared.Country(1)), 1);
    cleared.Clear();
    EXPECT_EQ(SavedAndLoaded(cleared, LoadOZR_WQ_Regions).Count(), 0);
}

}  // namespace
