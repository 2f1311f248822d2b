#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "tests/model/io_load_fixture.h"

namespace {

using T = TRegionTables;

struct QuantityCase {
    const char* Path;
    std::function<const TEntityData&(const T&)> Field;
};

// Every quantity of the three national tables, each at its own place.
const std::vector<QuantityCase>& Quantities()
{
    static const std::string wb = "ozr_water_balance/";
    static const std::string hm = wb + "ozr_wb_hydrometeorological_parameters/";
    static const std::string ws = wb + "ozr_wb_water_storage/";
    static const std::string rr = wb + "ozr_wb_returned_reused_water/";
    static const std::string aw = wb + "ozr_wb_additional_water_resources/";
    static const std::string wa = "ozr_water_abstraction/";
    static const std::string pw = wa + "ozr_freshwater_abstraction_for_public_wss/";
    static const std::string ss = wa + "ozr_freshwater_abstraction_for_self_suply/";
    static const std::vector<std::string> paths = {hm + "wb_areal_precipitation",
                                                   hm + "wb_pot_evapotranspiration",
                                                   hm + "wb_act_evapotranspiration",
                                                   hm + "wb_internal_flow",
                                                   hm + "wb_total_act_ext_inflow",
                                                   hm + "wb_total_actual_outflow",
                                                   hm + "wb_total_actual_outflow_sea",
                                                   hm + "wb_total_actual_outflow_neighbour",
                                                   hm + "wb_aquifer_recharge",
                                                   ws + "wb_snowpack",
                                                   ws + "wb_changes_in_reservoir_storage",
                                                   ws + "wb_changes_in_groundwater_storage",
                                                   rr + "wb_return_flow",
                                                   rr + "wb_returned_before_use",
                                                   rr + "wb_returned_after_use",
                                                   rr + "wb_treated_effluent",
                                                   rr + "wb_treated_effluent_uwwtp",
                                                   rr + "wb_treated_effluent_other_wwtp",
                                                   rr + "wb_non_treated_effluent",
                                                   rr + "wb_non_treated_effluent_cooling",
                                                   rr + "wb_non_treated_effluent_hydropower",
                                                   rr + "wb_losses_betwn_use_and_reuse",
                                                   aw + "wb_water_imports",
                                                   aw + "wb_water_exports",
                                                   aw + "wb_artif_gw_recharge",
                                                   aw + "wb_bottled_imports",
                                                   aw + "wb_bottled_exports",
                                                   wa + "wa_total_abstraction",
                                                   wa + "wa_total_abstraction_sw",
                                                   wa + "wa_total_abstraction_gw",
                                                   wa + "wa_total_abstraction_from_rainwater",
                                                   wa + "wa_total_abstraction_for_hydropower",
                                                   wa + "wa_available_groundwater",
                                                   wa + "wa_evaporation_losses",
                                                   pw + "wa_for_public_wss",
                                                   pw + "wa_for_public_wss_sw",
                                                   pw + "wa_for_public_wss_gw",
                                                   pw + "wa_for_public_wss_from_rainwater",
                                                   ss + "wa_abstraction_for_self_suply_total",
                                                   ss + "wa_for_self_suply_from_rainwater"};
    static const std::vector<std::function<const TEntityData&(const T&)>> fields = {
        [](const T& t) -> auto& {return t.FWBHydrometeorological[0];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[1];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[2];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[3];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[4];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[5];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[6];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[7];
}
, [](const T& t) -> auto&
{
    return t.FWBHydrometeorological[8];
}
, [](const T& t) -> auto&
{
    return t.FWBWaterStorage[0];
}
, [](const T& t) -> auto&
{
    return t.FWBWaterStorage[1];
}
, [](const T& t) -> auto&
{
    return t.FWBWaterStorage[2];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[0];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[1];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[2];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[3];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[4];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[5];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[6];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[7];
}
, [](const T& t) -> auto&
{
    return t.FWBReturned[8];
}
, [](const T& t) -> auto&
{
    return t.FWBLossesBetwnUseAndReuse;
}
, [](const T& t) -> auto&
{
    return t.FWBAdditional[0];
}
, [](const T& t) -> auto&
{
    return t.FWBAdditional[1];
}
, [](const T& t) -> auto&
{
    return t.FWBAdditional[2];
}
, [](const T& t) -> auto&
{
    return t.FWBAdditional[3];
}
, [](const T& t) -> auto&
{
    return t.FWBAdditional[4];
}
, [](const T& t) -> auto&
{
    return t.FWATotalAbstraction;
}
, [](const T& t) -> auto&
{
    return t.FWATotalAbstractionSW;
}
, [](const T& t) -> auto&
{
    return t.FWATotalAbstractionGW;
}
, [](const T& t) -> auto&
{
    return t.FWATotalAbstractionFromRainwater;
}
, [](const T& t) -> auto&
{
    return t.FWATotalAbstractionForHydropower;
}
, [](const T& t) -> auto&
{
    return t.FWAAvailableGroundwater;
}
, [](const T& t) -> auto&
{
    return t.FWAEvaporationLosses;
}
, [](const T& t) -> auto&
{
    return t.FWAForPublicWSS;
}
, [](const T& t) -> auto&
{
    return t.FWAForPublicWSSSW;
}
, [](const T& t) -> auto&
{
    return t.FWAForPublicWSSGW;
}
, [](const T& t) -> auto&
{
    return t.FWAForPublicWSSFromRainwater;
}
, [](const T& t) -> auto&
{
    return t.FWAAbstractionForSelfSupplyTotal;
}
, [](const T& t) -> auto&
{
    return t.FWAForSelfSupplyFromRainwater;
}
};  // namespace
static const std::vector<QuantityCase> cases = [] {
    std::vector<QuantityCase> all;
    for (std::size_t i = 0; i < paths.size(); ++i)
        all.push_back({paths[i].c_str(), fields.at(i)});
    return all;
}();
return cases;
}

template <class Table>
struct SectorTableCase {
    const char* Path;
    std::function<const Table&(const T&)> Field;
};

const std::vector<SectorTableCase<TWaterUseData1>> kTables16 = {
    {"ozr_water_abstraction/wa_non_freshwater", [](const T& t) -> auto& {return t.FWANonFreshwater;
}
}
, {"ozr_water_abstraction/ozr_freshwater_abstraction_for_self_suply/"
   "wa_abstraction_for_self_suply_total_sw",
   [](const T& t) -> auto& {return t.FWAAbstractionForSelfSupplyTotalSW;
}
}
, {"ozr_water_abstraction/ozr_freshwater_abstraction_for_self_suply/"
   "wa_abstraction_for_self_suply_total_gw",
   [](const T& t) -> auto& {return t.FWAAbstractionForSelfSupplyTotalGW;
}
}
, {"ozr_water_use/wu_total_freshwater_used",
   [](const T& t) -> auto& {return t.FWUTotalFreshwaterUsed;
}
}
, {"ozr_water_use/wu_public_water_supply", [](const T& t) -> auto& {return t.FWUPublicWaterSupply;
}
}
,
{
    "ozr_water_use/wu_self_supply", [](const T& t) -> auto&
    {
        return t.FWUSelfSupply;
    }
}
}
;

const std::vector<SectorTableCase<TWaterUseData2>> kTables11 = {
    {"ozr_water_balance/ozr_wb_returned_reused_water/wb_reused_water",
     [](const T& t) -> auto& {return t.FWBReusedWater;
}
}
, {"ozr_water_balance/ozr_wb_additional_water_resources/wb_desalinated_water",
   [](const T& t) -> auto& {return t.FWBDesalinatedWater;
}
}
,
{
    "ozr_water_use/wu_recycled_water", [](const T& t) -> auto&
    {
        return t.FWURecycledWater;
    }
}
}
;

class LoadTables : public DataFileTest {};

TEST_F(LoadTables, EveryQuantityLandsInItsOwnField)
{
    ScopedRegionalSettings point('.');
    const auto& cases = Quantities();
    for (std::size_t i = 0; i < cases.size(); ++i)
        AddPath(region_, std::string(cases[i].Path) + "/annual_data")
            .SetText(std::to_string(i + 1));
    Load();
    const T& tables = nuts1_->Tables();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TEntityData& quantity = cases[i].Field(tables);
        EXPECT_EQ(quantity[AnnualIndex], static_cast<double>(i + 1)) << cases[i].Path;
        EXPECT_EQ(quantity[0], MissingReal) << cases[i].Path;
    }
}

TEST_F(LoadTables, EverySectorOfEveryTableLandsInItsOwnField)
{
    ScopedRegionalSettings point('.');
    for (std::size_t t = 0; t < kTables16.size(); ++t)
        for (std::size_t s = 0; s < 16; ++s)
            AddPath(region_,
                    std::string(kTables16[t].Path) + "/" + WaterUseData1Sectors[s] + "/LTAA")
                .SetText(std::to_string(100 * t + s));
    for (std::size_t t = 0; t < kTables11.size(); ++t)
        for (std::size_t s = 0; s < 11; ++s)
            AddPath(region_,
                    std::string(kTables11[t].Path) + "/" + WaterUseData2Sectors[s] + "/LTAA")
                .SetText(std::to_string(5000 + 100 * t + s));
    Load();
    const T& tables = nuts1_->Tables();
    for (std::size_t t = 0; t < kTables16.size(); ++t)
        for (std::size_t s = 0; s < 16; ++s)
            EXPECT_EQ(kTables16[t].Field(tables)[s][LTAAIndex], 100.0 * t + s)
                << kTables16[t].Path << " " << WaterUseData1Sectors[s];
    for (std::size_t t = 0; t < kTables11.size(); ++t)
        for (std::size_t s = 0; s < 11; ++s)
            EXPECT_EQ(kTables11[t].Field(tables)[s][LTAAIndex], 5000.0 + 100 * t + s)
                << kTables11[t].Path << " " << WaterUseData2Sectors[s];
}

TEST_F(LoadTables, AQuantityTakesItsItemsByIndexTheLaterOneWinning)
{
    ScopedRegionalSettings comma(',');
    document_.DocumentElement().AddChild("DecimalSeparator").SetText(",");
    TXMLNode quantity = AddPath(region_, "ozr_water_balance/wb_remarks");
    quantity.SetText(" kept as written ");
    TXMLNode total = AddPath(region_, "ozr_water_abstraction/wa_total_abstraction");
    AddItem(total, "monthly_data", "3", "7");
    AddItem(total, "monthly_data", "12", "1,5");
    AddItem(total, "monthly_data", "3", "8");
    AddItem(total, "seasonal", "2", "-2,25");
    total.AddChild("LTAA").SetText("1E-6");
    AddPath(region_, "ozr_water_abstraction/wa_year").SetText("2007");
    AddPath(region_, "ozr_water_abstraction/wa_ltaa_from_year").SetText("1971");
    AddPath(region_, "ozr_water_abstraction/wa_ltaa_to_year");  // empty: stays missing
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
    AddPath(region_, aw + "wb_artif_gw_origin").SetText("desalinated water");
    AddPath(region_, aw + "wb_imports_origin").SetText("Albania");
    AddPath(region_, aw + "wb_exports_destination").SetText("Turkey");
    const std::string rr = "ozr_water_balance/ozr_wb_returned_reused_water/";
    AddPath(region_, rr + "wb_returned_unit").SetText("hm3");
    AddPath(region_, rr + "wb_reused_unit").SetText("m3");
    AddPath(region_, "ozr_water_balance/wb_year").SetText("2006");
    AddPath(region_, "ozr_water_balance/wb_ltaa_from_year").SetText("1961");
    AddPath(region_, "ozr_water_balance/wb_ltaa_to_year").SetText("1990");
    AddPath(region_, "ozr_water_abstraction/wa_non_fw_source_total").SetText("MARINE");
    AddPath(region_, "ozr_water_abstraction/wa_non_fw_source_irrigation").SetText("sea");
    AddPath(region_, "ozr_water_abstraction/wa_non_fw_source_other").SetText("lagoon");
    AddPath(region_, "ozr_water_abstraction/wa_remarks").SetText("wa");
    AddPath(region_, "ozr_water_use/wu_year").SetText("2005");
    AddPath(region_, "ozr_water_use/wu_remarks").SetText("wu");
    AddPath(region_, "ozr_water_use/wu_ltaa_from_year").SetText("1950");
    AddPath(region_, "ozr_water_use/wu_ltaa_to_year").SetText("2000");
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

}  // namespace
