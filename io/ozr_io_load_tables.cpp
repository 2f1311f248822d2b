// The national tables of one region: water balance, water abstraction, water use.

#include "io/ozr_io_load_reading.h"

namespace {

void ReadHydrometeorological(const TXMLOzr_wb_hydrometeorological_parameters& Element,
                             TRegionTables& Tables)
{
    using Node = TXMLOzr_wb_hydrometeorological_parameters;
    static const std::array<TQuantityField<Node>, 9> fields{{
        {"wb_areal_precipitation", &Node::wb_areal_precipitation},
        {"wb_pot_evapotranspiration", &Node::wb_pot_evapotranspiration},
        {"wb_act_evapotranspiration", &Node::wb_act_evapotranspiration},
        {"wb_internal_flow", &Node::wb_internal_flow},
        {"wb_total_act_ext_inflow", &Node::wb_total_act_ext_inflow},
        {"wb_total_actual_outflow", &Node::wb_total_actual_outflow},
        {"wb_total_actual_outflow_sea", &Node::wb_total_actual_outflow_sea},
        {"wb_total_actual_outflow_neighbour", &Node::wb_total_actual_outflow_neighbour},
        {"wb_aquifer_recharge", &Node::wb_aquifer_recharge},
    }};
    ReadQuantities(Element, fields, std::span(Tables.FWBHydrometeorological));
}

void ReadWaterStorage(const TXMLOzr_wb_water_storage& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_wb_water_storage;
    static const std::array<TQuantityField<Node>, 3> fields{{
        {"wb_snowpack", &Node::wb_snowpack},
        {"wb_changes_in_reservoir_storage", &Node::wb_changes_in_reservoir_storage},
        {"wb_changes_in_groundwater_storage", &Node::wb_changes_in_groundwater_storage},
    }};
    ReadQuantities(Element, fields, std::span(Tables.FWBWaterStorage));
}

void ReadReturnedReused(const TXMLOzr_wb_returned_reused_water& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_wb_returned_reused_water;
    static const std::array<TQuantityField<Node>, 9> returned{{
        {"wb_return_flow", &Node::wb_return_flow},
        {"wb_returned_before_use", &Node::wb_returned_before_use},
        {"wb_returned_after_use", &Node::wb_returned_after_use},
        {"wb_treated_effluent", &Node::wb_treated_effluent},
        {"wb_treated_effluent_uwwtp", &Node::wb_treated_effluent_uwwtp},
        {"wb_treated_effluent_other_wwtp", &Node::wb_treated_effluent_other_wwtp},
        {"wb_non_treated_effluent", &Node::wb_non_treated_effluent},
        {"wb_non_treated_effluent_cooling", &Node::wb_non_treated_effluent_cooling},
        {"wb_non_treated_effluent_hydropower", &Node::wb_non_treated_effluent_hydropower},
    }};
    ReadQuantities(Element, returned, std::span(Tables.FWBReturned));
    ReadWaterUseData2(Element.wb_reused_water(), Tables.FWBReusedWater);
    ReadQuantity(Element, "wb_losses_betwn_use_and_reuse", &Node::wb_losses_betwn_use_and_reuse,
                 Tables.FWBLossesBetwnUseAndReuse);
    ReadValue(Element, "wb_returned_unit", &Node::wb_returned_unit, Tables.FWBReturnedUnit);
    ReadValue(Element, "wb_reused_unit", &Node::wb_reused_unit, Tables.FWBReusedUnit);
}

void ReadAdditional(const TXMLOzr_wb_additional_water_resources& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_wb_additional_water_resources;
    static const std::array<TQuantityField<Node>, 5> additional{{
        {"wb_water_imports", &Node::wb_water_imports},
        {"wb_water_exports", &Node::wb_water_exports},
        {"wb_artif_gw_recharge", &Node::wb_artif_gw_recharge},
        {"wb_bottled_imports", &Node::wb_bottled_imports},
        {"wb_bottled_exports", &Node::wb_bottled_exports},
    }};
    ReadWaterUseData2(Element.wb_desalinated_water(), Tables.FWBDesalinatedWater);
    ReadQuantities(Element, additional, std::span(Tables.FWBAdditional));
    Tables.FWBArtifGWOrigin = IsPresent(Element, "wb_artif_gw_origin")
                                  ? StrToArtifGWOrigin(Element.wb_artif_gw_origin())
                                  : agoUnknown;
    ReadValue(Element, "wb_imports_origin", &Node::wb_imports_origin, Tables.FWBImportsOrigin);
    ReadValue(Element, "wb_exports_destination", &Node::wb_exports_destination,
              Tables.FWBExportsDestination);
}

void ReadNonFreshwaterSources(const TXMLOzr_water_abstraction& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_water_abstraction;
    struct TSourceField {
        const char* Name;
        std::string (Node::*Read)() const;
    };
    static const std::array<TSourceField, 11> sources{{
        {"wa_non_fw_source_total", &Node::wa_non_fw_source_total},
        {"wa_non_fw_source_domestic", &Node::wa_non_fw_source_domestic},
        {"wa_non_fw_source_nace_a", &Node::wa_non_fw_source_nace_a},
        {"wa_non_fw_source_irrigation", &Node::wa_non_fw_source_irrigation},
        {"wa_non_fw_source_nace_b", &Node::wa_non_fw_source_nace_b},
        {"wa_non_fw_source_nace_c", &Node::wa_non_fw_source_nace_c},
        {"wa_non_fw_source_cooling_ind", &Node::wa_non_fw_source_cooling_ind},
        {"wa_non_fw_source_nace_d", &Node::wa_non_fw_source_nace_d},
        {"wa_non_fw_source_cooling_elec", &Node::wa_non_fw_source_cooling_elec},
        {"wa_non_fw_source_nace_i", &Node::wa_non_fw_source_nace_i},
        {"wa_non_fw_source_other", &Node::wa_non_fw_source_other},
    }};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        Tables.FWANonFWSource[i] = IsPresent(Element, sources[i].Name)
                                       ? StrToNonFWSource((Element.*sources[i].Read)())
                                       : nfsUnknown;
    }
}

void ReadPublicWSS(const TXMLOzr_freshwater_abstraction_for_public_wss& Element,
                   TRegionTables& Tables)
{
    using Node = TXMLOzr_freshwater_abstraction_for_public_wss;
    ReadQuantity(Element, "wa_for_public_wss", &Node::wa_for_public_wss, Tables.FWAForPublicWSS);
    ReadQuantity(Element, "wa_for_public_wss_sw", &Node::wa_for_public_wss_sw,
                 Tables.FWAForPublicWSSSW);
    ReadQuantity(Element, "wa_for_public_wss_gw", &Node::wa_for_public_wss_gw,
                 Tables.FWAForPublicWSSGW);
    ReadQuantity(Element, "wa_for_public_wss_from_rainwater",
                 &Node::wa_for_public_wss_from_rainwater, Tables.FWAForPublicWSSFromRainwater);
}

void ReadSelfSupply(const TXMLOzr_freshwater_abstraction_for_self_suply& Element,
                    TRegionTables& Tables)
{
    using Node = TXMLOzr_freshwater_abstraction_for_self_suply;
    ReadQuantity(Element, "wa_abstraction_for_self_suply_total",
                 &Node::wa_abstraction_for_self_suply_total,
                 Tables.FWAAbstractionForSelfSupplyTotal);
    ReadQuantity(Element, "wa_for_self_suply_from_rainwater",
                 &Node::wa_for_self_suply_from_rainwater, Tables.FWAForSelfSupplyFromRainwater);
    ReadWaterUseData1(Element.wa_abstraction_for_self_suply_total_sw(),
                      Tables.FWAAbstractionForSelfSupplyTotalSW);
    ReadWaterUseData1(Element.wa_abstraction_for_self_suply_total_gw(),
                      Tables.FWAAbstractionForSelfSupplyTotalGW);
}

void ReadLargeItems(const TXMLOzr_wu_large_itemsList& Elements,
                    std::vector<ozr_wu_large_item>& Items)
{
    for (int i = 0; i < Elements.Count(); ++i) {
        ozr_wu_large_item& item = Items.emplace_back();
        InitLargeItem(item);
        ReadLargeItem(Elements.Items(i), item);
    }
}

}  // namespace

void ReadWaterBalance(const TXMLOzr_water_balance& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_water_balance;
    ReadValue(Element, "wb_year", &Node::wb_year, Tables.FWBYear);
    ReadValue(Element, "wb_remarks", &Node::wb_remarks, Tables.FWBRemarks);
    ReadValue(Element, "wb_ltaa_from_year", &Node::wb_ltaa_from_year, Tables.FWBLTAAFromYear);
    ReadValue(Element, "wb_ltaa_to_year", &Node::wb_ltaa_to_year, Tables.FWBLTAAToYear);
    ReadHydrometeorological(Element.ozr_wb_hydrometeorological_parameters(), Tables);
    ReadWaterStorage(Element.ozr_wb_water_storage(), Tables);
    ReadReturnedReused(Element.ozr_wb_returned_reused_water(), Tables);
    ReadAdditional(Element.ozr_wb_additional_water_resources(), Tables);
}

void ReadWaterAbstraction(const TXMLOzr_water_abstraction& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_water_abstraction;
    ReadValue(Element, "wa_year", &Node::wa_year, Tables.FWAYear);
    ReadValue(Element, "wa_remarks", &Node::wa_remarks, Tables.FWARemarks);
    ReadValue(Element, "wa_ltaa_from_year", &Node::wa_ltaa_from_year, Tables.FWALTAAFromYear);
    ReadValue(Element, "wa_ltaa_to_year", &Node::wa_ltaa_to_year, Tables.FWALTAAToYear);
    ReadQuantity(Element, "wa_total_abstraction", &Node::wa_total_abstraction,
                 Tables.FWATotalAbstraction);
    ReadQuantity(Element, "wa_total_abstraction_sw", &Node::wa_total_abstraction_sw,
                 Tables.FWATotalAbstractionSW);
    ReadQuantity(Element, "wa_total_abstraction_gw", &Node::wa_total_abstraction_gw,
                 Tables.FWATotalAbstractionGW);
    ReadQuantity(Element, "wa_total_abstraction_from_rainwater",
                 &Node::wa_total_abstraction_from_rainwater,
                 Tables.FWATotalAbstractionFromRainwater);
    ReadQuantity(Element, "wa_total_abstraction_for_hydropower",
                 &Node::wa_total_abstraction_for_hydropower,
                 Tables.FWATotalAbstractionForHydropower);
    ReadQuantity(Element, "wa_available_groundwater", &Node::wa_available_groundwater,
                 Tables.FWAAvailableGroundwater);
    ReadQuantity(Element, "wa_evaporation_losses", &Node::wa_evaporation_losses,
                 Tables.FWAEvaporationLosses);
    ReadWaterUseData1(Element.wa_non_freshwater(), Tables.FWANonFreshwater);
    ReadNonFreshwaterSources(Element, Tables);
    ReadPublicWSS(Element.ozr_freshwater_abstraction_for_public_wss(), Tables);
    ReadSelfSupply(Element.ozr_freshwater_abstraction_for_self_suply(), Tables);
}

void ReadWaterUse(const TXMLOzr_water_use& Element, TRegionTables& Tables)
{
    using Node = TXMLOzr_water_use;
    ReadValue(Element, "wu_year", &Node::wu_year, Tables.FWUYear);
    ReadValue(Element, "wu_remarks", &Node::wu_remarks, Tables.FWURemarks);
    ReadValue(Element, "wu_ltaa_from_year", &Node::wu_ltaa_from_year, Tables.FWULTAAFromYear);
    ReadValue(Element, "wu_ltaa_to_year", &Node::wu_ltaa_to_year, Tables.FWULTAAToYear);
    ReadWaterUseData1(Element.wu_total_freshwater_used(), Tables.FWUTotalFreshwaterUsed);
    ReadWaterUseData1(Element.wu_public_water_supply(), Tables.FWUPublicWaterSupply);
    ReadWaterUseData1(Element.wu_self_supply(), Tables.FWUSelfSupply);
    ReadWaterUseData2(Element.wu_recycled_water(), Tables.FWURecycledWater);
    ReadLargeItems(Element.wu_large_items_city(), Tables.FWULargeItemsCity);
    ReadLargeItems(Element.wu_large_items_industry(), Tables.FWULargeItemsIndustry);
    ReadLargeItems(Element.wu_large_items_agric_unit(), Tables.FWULargeItemsAgricUnit);
}
