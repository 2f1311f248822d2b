#pragma once

// The element names of the national tables' repeated quantities and words,
// each list in the order of the field array that it names, as the data-file
// writer and reader both use them.

#include <array>

inline constexpr std::array<const char*, 9> HydrometeorologicalTags{
    "wb_areal_precipitation",      "wb_pot_evapotranspiration",
    "wb_act_evapotranspiration",   "wb_internal_flow",
    "wb_total_act_ext_inflow",     "wb_total_actual_outflow",
    "wb_total_actual_outflow_sea", "wb_total_actual_outflow_neighbour",
    "wb_aquifer_recharge"};

inline constexpr std::array<const char*, 3> WaterStorageTags{
    "wb_snowpack", "wb_changes_in_reservoir_storage", "wb_changes_in_groundwater_storage"};

// TRegionTables::FWBReturned; the file holds them in another order (see the writer).
inline constexpr std::array<const char*, 9> ReturnedTags{"wb_return_flow",
                                                         "wb_returned_before_use",
                                                         "wb_returned_after_use",
                                                         "wb_treated_effluent",
                                                         "wb_treated_effluent_uwwtp",
                                                         "wb_treated_effluent_other_wwtp",
                                                         "wb_non_treated_effluent",
                                                         "wb_non_treated_effluent_cooling",
                                                         "wb_non_treated_effluent_hydropower"};

inline constexpr std::array<const char*, 5> AdditionalTags{
    "wb_water_imports", "wb_water_exports", "wb_artif_gw_recharge", "wb_bottled_imports",
    "wb_bottled_exports"};

inline constexpr std::array<const char*, 11> NonFWSourceTags{
    "wa_non_fw_source_total",       "wa_non_fw_source_domestic", "wa_non_fw_source_nace_a",
    "wa_non_fw_source_irrigation",  "wa_non_fw_source_nace_b",   "wa_non_fw_source_nace_c",
    "wa_non_fw_source_cooling_ind", "wa_non_fw_source_nace_d",   "wa_non_fw_source_cooling_elec",
    "wa_non_fw_source_nace_i",      "wa_non_fw_source_other"};
