#include <array>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "tests/io/io_load_fixture.h"

namespace {

using T = TRegionTables;

template <class Field>
struct FieldCase {
    const char* Group;  // the path of the enclosing elements, ending in "/"
    const char* Name;
    const Field* (*Of)(const T&);

    std::string Path() const { return std::string(Group) + Name; }
};

constexpr const char* HM = "ozr_water_balance/ozr_wb_hydrometeorological_parameters/";
constexpr const char* WS = "ozr_water_balance/ozr_wb_water_storage/";
constexpr const char* RR = "ozr_water_balance/ozr_wb_returned_reused_water/";
constexpr const char* AW = "ozr_water_balance/ozr_wb_additional_water_resources/";
constexpr const char* WA = "ozr_water_abstraction/";
constexpr const char* PW = "ozr_water_abstraction/ozr_freshwater_abstraction_for_public_wss/";
constexpr const char* SS = "ozr_water_abstraction/ozr_freshwater_abstraction_for_self_suply/";
constexpr const char* WU = "ozr_water_use/";

// Every quantity of the three national tables, each at its own place.
const FieldCase<TEntityData> kQuantities[] = {
    {HM, "wb_areal_precipitation", [](const T& t) { return &t.FWBHydrometeorological[0]; }},
    {HM, "wb_pot_evapotranspiration", [](const T& t) { return &t.FWBHydrometeorological[1]; }},
    {HM, "wb_act_evapotranspiration", [](const T& t) { return &t.FWBHydrometeorological[2]; }},
    {HM, "wb_internal_flow", [](const T& t) { return &t.FWBHydrometeorological[3]; }},
    {HM, "wb_total_act_ext_inflow", [](const T& t) { return &t.FWBHydrometeorological[4]; }},
    {HM, "wb_total_actual_outflow", [](const T& t) { return &t.FWBHydrometeorological[5]; }},
    {HM, "wb_total_actual_outflow_sea", [](const T& t) { return &t.FWBHydrometeorological[6]; }},
    {HM, "wb_total_actual_outflow_neighbour",
     [](const T& t) { return &t.FWBHydrometeorological[7]; }},
    {HM, "wb_aquifer_recharge", [](const T& t) { return &t.FWBHydrometeorological[8]; }},
    {WS, "wb_snowpack", [](const T& t) { return &t.FWBWaterStorage[0]; }},
    {WS, "wb_changes_in_reservoir_storage", [](const T& t) { return &t.FWBWaterStorage[1]; }},
    {WS, "wb_changes_in_groundwater_storage", [](const T& t) { return &t.FWBWaterStorage[2]; }},
    {RR, "wb_return_flow", [](const T& t) { return &t.FWBReturned[0]; }},
    {RR, "wb_returned_before_use", [](const T& t) { return &t.FWBReturned[1]; }},
    {RR, "wb_returned_after_use", [](const T& t) { return &t.FWBReturned[2]; }},
    {RR, "wb_treated_effluent", [](const T& t) { return &t.FWBReturned[3]; }},
    {RR, "wb_treated_effluent_uwwtp", [](const T& t) { return &t.FWBReturned[4]; }},
    {RR, "wb_treated_effluent_other_wwtp", [](const T& t) { return &t.FWBReturned[5]; }},
    {RR, "wb_non_treated_effluent", [](const T& t) { return &t.FWBReturned[6]; }},
    {RR, "wb_non_treated_effluent_cooling", [](const T& t) { return &t.FWBReturned[7]; }},
    {RR, "wb_non_treated_effluent_hydropower", [](const T& t) { return &t.FWBReturned[8]; }},
    {RR, "wb_losses_betwn_use_and_reuse", [](const T& t) { return &t.FWBLossesBetwnUseAndReuse; }},
    {AW, "wb_water_imports", [](const T& t) { return &t.FWBAdditional[0]; }},
    {AW, "wb_water_exports", [](const T& t) { return &t.FWBAdditional[1]; }},
    {AW, "wb_artif_gw_recharge", [](const T& t) { return &t.FWBAdditional[2]; }},
    {AW, "wb_bottled_imports", [](const T& t) { return &t.FWBAdditional[3]; }},
    {AW, "wb_bottled_exports", [](const T& t) { return &t.FWBAdditional[4]; }},
    {WA, "wa_total_abstraction", [](const T& t) { return &t.FWATotalAbstraction; }},
    {WA, "wa_total_abstraction_sw", [](const T& t) { return &t.FWATotalAbstractionSW; }},
    {WA, "wa_total_abstraction_gw", [](const T& t) { return &t.FWATotalAbstractionGW; }},
    {WA, "wa_total_abstraction_from_rainwater",
     [](const T& t) { return &t.FWATotalAbstractionFromRainwater; }},
    {WA, "wa_total_abstraction_for_hydropower",
     [](const T& t) { return &t.FWATotalAbstractionForHydropower; }},
    {WA, "wa_available_groundwater", [](const T& t) { return &t.FWAAvailableGroundwater; }},
    {WA, "wa_evaporation_losses", [](const T& t) { return &t.FWAEvaporationLosses; }},
    {PW, "wa_for_public_wss", [](const T& t) { return &t.FWAForPublicWSS; }},
    {PW, "wa_for_public_wss_sw", [](const T& t) { return &t.FWAForPublicWSSSW; }},
    {PW, "wa_for_public_wss_gw", [](const T& t) { return &t.FWAForPublicWSSGW; }},
    {PW, "wa_for_public_wss_from_rainwater",
     [](const T& t) { return &t.FWAForPublicWSSFromRainwater; }},
    {SS, "wa_abstraction_for_self_suply_total",
     [](const T& t) { return &t.FWAAbstractionForSelfSupplyTotal; }},
    {SS, "wa_for_self_suply_from_rainwater",
     [](const T& t) { return &t.FWAForSelfSupplyFromRainwater; }},
};

const FieldCase<TWaterUseData1> kTables16[] = {
    {WA, "wa_non_freshwater", [](const T& t) { return &t.FWANonFreshwater; }},
    {SS, "wa_abstraction_for_self_suply_total_sw",
     [](const T& t) { return &t.FWAAbstractionForSelfSupplyTotalSW; }},
    {SS, "wa_abstraction_for_self_suply_total_gw",
     [](const T& t) { return &t.FWAAbstractionForSelfSupplyTotalGW; }},
    {WU, "wu_total_freshwater_used", [](const T& t) { return &t.FWUTotalFreshwaterUsed; }},
    {WU, "wu_public_water_supply", [](const T& t) { return &t.FWUPublicWaterSupply; }},
    {WU, "wu_self_supply", [](const T& t) { return &t.FWUSelfSupply; }},
};

const FieldCase<TWaterUseData2> kTables11[] = {
    {RR, "wb_reused_water", [](const T& t) { return &t.FWBReusedWater; }},
    {AW, "wb_desalinated_water", [](const T& t) { return &t.FWBDesalinatedWater; }},
    {WU, "wu_recycled_water", [](const T& t) { return &t.FWURecycledWater; }},
};

class LoadTables : public DataFileTest {};

TEST_F(LoadTables, EveryQuantityLandsInItsOwnField)
{
    ScopedRegionalSettings point('.');
    const std::size_t count = std::size(kQuantities);
    for (std::size_t i = 0; i < count; ++i)
        AddElementPath(region_, kQuantities[i].Path() + "/annual_data")
            .SetText(std::to_string(i + 1));
    Load();
    const T& tables = nuts1_->Tables();
    for (std::size_t i = 0; i < count; ++i) {
        const TEntityData& quantity = *kQuantities[i].Of(tables);
        EXPECT_EQ(quantity[AnnualIndex], static_cast<double>(i + 1)) << kQuantities[i].Path();
        EXPECT_EQ(quantity[0], MissingReal) << kQuantities[i].Path();
    }
}

// Sector s of table t holds First + 100 t + s as its LTAA.
template <class Table, std::size_t N, std::size_t Sectors>
void AddSectorTables(TXMLNode region, const FieldCase<Table> (&tables)[N],
                     const std::array<const char*, Sectors>& sectors, int first)
{
    for (std::size_t t = 0; t < N; ++t)
        for (std::size_t s = 0; s < Sectors; ++s)
            AddElementPath(region, tables[t].Path() + "/" + sectors[s] + "/LTAA")
                .SetText(std::to_string(first + 100 * t + s));
}

template <class Table, std::size_t N, std::size_t Sectors>
void ExpectSectorTables(const T& read, const FieldCase<Table> (&tables)[N],
                        const std::array<const char*, Sectors>& sectors, int first)
{
    for (std::size_t t = 0; t < N; ++t)
        for (std::size_t s = 0; s < Sectors; ++s)
            EXPECT_EQ((*tables[t].Of(read))[s][LTAAIndex], first + 100.0 * t + s)
                << tables[t].Path() << " " << sectors[s];
}

TEST_F(LoadTables, EverySectorOfEveryTableLandsInItsOwnField)
{
    ScopedRegionalSettings point('.');
    AddSectorTables(region_, kTables16, WaterUseData1Sectors, 0);
    AddSectorTables(region_, kTables11, WaterUseData2Sectors, 5000);
    Load();
    ExpectSectorTables(nuts1_->Tables(), kTables16, WaterUseData1Sectors, 0);
    ExpectSectorTables(nuts1_->Tables(), kTables11, WaterUseData2Sectors, 5000);
}

TEST_F(LoadTables, AQuantityTakesItsItemsByIndexTheLaterOneWinning)
{
    ScopedRegionalSettings comma(',');
    document_.DocumentElement().AddChild("DecimalSeparator").SetText(",");
    TXMLNode quantity = AddElementPath(region_, "ozr_water_balance/wb_remarks");
    quantity.SetText(" kept as written ");
    TXMLNode total = AddElementPath(region_, "ozr_water_abstraction/wa_total_abstraction");
    AddItem(total, "monthly_data", "3", "7");
    AddItem(total, "monthly_data", "12", "1,5");
    AddItem(total, "monthly_data", "3", "8");
    AddItem(total, "seasonal", "2", "-2,25");
    total.AddChild("LTAA").SetText("1E-6");
    AddElementPath(region_, "ozr_water_abstraction/wa_year").SetText("2007");
    AddElementPath(region_, "ozr_water_abstraction/wa_ltaa_from_year").SetText("1971");
    AddElementPath(region_, "ozr_water_abstraction/wa_ltaa_to_year");  // empty: stays missing
    Load();
    const T& tables = nuts1_->Tables();
    const TEntityData& q = tables.FWATotalAbstraction;
    EXPECT_EQ(q[2], 8.0);
    EXPECT_EQ(q[11], 1.5);
    EXPECT_EQ(q[WetSeasonIndex], MissingReal);
    EXPECT_EQ(q[DrySeasonIndex], -2.25);
    EXPECT_EQ(q[LTAAIndex], 1e-6);
    EXPECT_EQ(q[AnnualIndex], MissingReal);
    EXPECT_EQ(tables.FWAYear, 2007);
    EXPECT_EQ(tables.FWALTAAFromYear, 1971);
    EXPECT_EQ(tables.FWALTAAToYear, MissingInteger);
    EXPECT_EQ(tables.FWBRemarks, " kept as written ");
}

TEST_F(LoadTables, WordsTextsAndLargeItems)
{
    const std::string aw = "ozr_water_balance/ozr_wb_additional_water_resources/";
    AddElementPath(region_, aw + "wb_artif_gw_origin").SetText("desalinated water");
    AddElementPath(region_, aw + "wb_imports_origin").SetText("Albania");
    AddElementPath(region_, aw + "wb_exports_destination").SetText("Turkey");
    const std::string rr = "ozr_water_balance/ozr_wb_returned_reused_water/";
    AddElementPath(region_, rr + "wb_returned_unit").SetText("hm3");
    AddElementPath(region_, rr + "wb_reused_unit").SetText("m3");
    AddElementPath(region_, "ozr_water_balance/wb_year").SetText("2006");
    AddElementPath(region_, "ozr_water_balance/wb_ltaa_from_year").SetText("1961");
    AddElementPath(region_, "ozr_water_balance/wb_ltaa_to_year").SetText("1990");
    AddElementPath(region_, "ozr_water_abstraction/wa_non_fw_source_total").SetText("MARINE");
    AddElementPath(region_, "ozr_water_abstraction/wa_non_fw_source_irrigation").SetText("sea");
    AddElementPath(region_, "ozr_water_abstraction/wa_non_fw_source_other").SetText("lagoon");
    AddElementPath(region_, "ozr_water_abstraction/wa_remarks").SetText("wa");
    AddElementPath(region_, "ozr_water_use/wu_year").SetText("2005");
    AddElementPath(region_, "ozr_water_use/wu_remarks").SetText("wu");
    AddElementPath(region_, "ozr_water_use/wu_ltaa_from_year").SetText("1950");
    AddElementPath(region_, "ozr_water_use/wu_ltaa_to_year").SetText("2000");
    TXMLNode use = region_.ChildNode("ozr_water_use");
    TXMLNode first = use.AddChild("wu_large_items_city");
    first.AddChild("wu_item_name").SetText("Athens");
    first.AddChild("wu_item_class").SetText("3");
    first.AddChild("wu_item_water_use").AddChild("annual_data").SetText("400");
    use.AddChild("wu_large_items_industry").AddChild("wu_item_name").SetText("Mill");
    use.AddChild("wu_large_items_city");  // an empty item is still an item
    Load();

    const T& tables = nuts1_->Tables();
    EXPECT_EQ(tables.FWBArtifGWOrigin, agoDesalinatedWater);
    EXPECT_EQ(tables.FWBImportsOrigin, "Albania");
    EXPECT_EQ(tables.FWBExportsDestination, "Turkey");
    EXPECT_EQ(tables.FWBReturnedUnit, "hm3");
    EXPECT_EQ(tables.FWBReusedUnit, "m3");
    EXPECT_EQ(tables.FWBYear, 2006);
    EXPECT_EQ(tables.FWBLTAAFromYear, 1961);
    EXPECT_EQ(tables.FWBLTAAToYear, 1990);
    EXPECT_EQ(tables.FWANonFWSource[0], nfsMarine);
    EXPECT_EQ(tables.FWANonFWSource[3], nfsUnknown);
    EXPECT_EQ(tables.FWANonFWSource[10], nfsLagoon);
    EXPECT_EQ(tables.FWANonFWSource[1], nfsUnknown);
    EXPECT_EQ(tables.FWARemarks, "wa");
    EXPECT_EQ(tables.FWUYear, 2005);
    EXPECT_EQ(tables.FWURemarks, "wu");
    EXPECT_EQ(tables.FWULTAAFromYear, 1950);
    EXPECT_EQ(tables.FWULTAAToYear, 2000);
    ASSERT_EQ(tables.FWULargeItemsCity.size(), 2u);
    EXPECT_EQ(tables.FWULargeItemsCity[0].ItemName, "Athens");
    EXPECT_EQ(tables.FWULargeItemsCity[0].ItemClass, 3);
    EXPECT_EQ(tables.FWULargeItemsCity[0].WaterUse[AnnualIndex], 400.0);
    EXPECT_EQ(tables.FWULargeItemsCity[1].ItemName, "");
    EXPECT_EQ(tables.FWULargeItemsCity[1].ItemClass, MissingInteger);
    EXPECT_EQ(tables.FWULargeItemsCity[1].WaterUse[AnnualIndex], MissingReal);
    ASSERT_EQ(tables.FWULargeItemsIndustry.size(), 1u);
    EXPECT_EQ(tables.FWULargeItemsIndustry[0].ItemName, "Mill");
    EXPECT_TRUE(tables.FWULargeItemsAgricUnit.empty());
}

// The file fills tables in place: what it lacks keeps the region's value, and
// a region named twice gathers both; a region named without tables gets none.
TEST_F(LoadTables, ARegionNamedTwiceGathersBothElementsOverItsOwnValues)
{
    TRegionTables& own = nuts1_->EditTables();
    own.FWAYear = 1999;
    own.FWARemarks = "own";
    own.FWULargeItemsCity.emplace_back().ItemName = "own";
    AddElementPath(region_, "ozr_water_use/wu_large_items_city/wu_item_name").SetText("Athens");
    TXMLNode again = AddRegion("GR1", "NUTS1");
    AddElementPath(again, "ozr_water_use/wu_large_items_city/wu_item_name").SetText("Patras");
    AddElementPath(again, "ozr_water_abstraction/wa_remarks").SetText("second");
    AddRegion("GR01", "RBD").AddChild("flow").AddChild("attributes_wq").AddChild("id").SetText("F");
    Load();

    const T& tables = nuts1_->Tables();
    EXPECT_EQ(tables.FWAYear, 1999);
    EXPECT_EQ(tables.FWARemarks, "second");
    std::vector<std::string> names;
    for (const ozr_wu_large_item& item : tables.FWULargeItemsCity)
        names.push_back(item.ItemName);
    EXPECT_EQ(names, (std::vector<std::string>{"own", "Athens", "Patras"}));
    EXPECT_FALSE(district_->HasTables());
}

}  // namespace
