#pragma once

// The typed view of a data file (.wqd): one class per element type, each a
// TXMLNode that reads its attributes and simple children as typed values, its
// single children as further bound nodes and its repeated children as lists.
// Nothing is stored in the classes; every read goes to the document.
//
// Reads of absent elements behave as reads of empty ones: a text is empty, a
// node is empty, a list has no items, and an integer, real or boolean raises
// EVariantTypeCastError (test HasChildNodes first). The nodes stay valid while
// the TXMLOzr_wq that they come from, or a copy of it, lives.

#include <memory>
#include <string>

#include "xml/xml_document.h"
#include "xml/xml_node.h"
#include "xml/xml_node_collection.h"
#include "xml/xml_value.h"

// Items of monthly_data, seasonal, ltaa_data and daily_data
class TXMLArrayOfDoublePosZero : public TXMLNode {
public:
    explicit TXMLArrayOfDoublePosZero(const TXMLNode& node) : TXMLNode(node) {}

    int indx() const { return ReadChildInteger(*this, "indx"); }
    double value() const { return ReadChildReal(*this, "value"); }
};
using TXMLArrayOfDoublePosZeroList = TXMLNodeCollection<TXMLArrayOfDoublePosZero>;

// Every quantity element (16 values)
class TXMLEntityDataWQ : public TXMLNode {
public:
    explicit TXMLEntityDataWQ(const TXMLNode& node) : TXMLNode(node) {}

    TXMLArrayOfDoublePosZeroList monthly_data() const
    {
        return TXMLArrayOfDoublePosZeroList(*this, "monthly_data");
    }
    double annual_data() const { return ReadChildReal(*this, "annual_data"); }
    double LTAA() const { return ReadChildReal(*this, "LTAA"); }
    TXMLArrayOfDoublePosZeroList seasonal() const
    {
        return TXMLArrayOfDoublePosZeroList(*this, "seasonal");
    }
};

// The 16-sector tables
class TXMLOzr_water_use_data1 : public TXMLNode {
public:
    explicit TXMLOzr_water_use_data1(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ total() const { return TXMLEntityDataWQ(ChildNode("total")); }
    TXMLEntityDataWQ domestic() const { return TXMLEntityDataWQ(ChildNode("domestic")); }
    TXMLEntityDataWQ nace_a() const { return TXMLEntityDataWQ(ChildNode("nace_a")); }
    TXMLEntityDataWQ nace_a_irrgation() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_a_irrgation"));
    }
    TXMLEntityDataWQ nace_b() const { return TXMLEntityDataWQ(ChildNode("nace_b")); }
    TXMLEntityDataWQ nace_c() const { return TXMLEntityDataWQ(ChildNode("nace_c")); }
    TXMLEntityDataWQ nace_c_food_ind() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_c_food_ind"));
    }
    TXMLEntityDataWQ nace_c_basic_metals() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_c_basic_metals"));
    }
    TXMLEntityDataWQ nace_c_transport() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_c_transport"));
    }
    TXMLEntityDataWQ nace_c_textiles() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_c_textiles"));
    }
    TXMLEntityDataWQ nace_c_cooling() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_c_cooling"));
    }
    TXMLEntityDataWQ nace_d() const { return TXMLEntityDataWQ(ChildNode("nace_d")); }
    TXMLEntityDataWQ nace_d_cooling() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_d_cooling"));
    }
    TXMLEntityDataWQ nace_d_hydropower() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_d_hydropower"));
    }
    TXMLEntityDataWQ nace_i() const { return TXMLEntityDataWQ(ChildNode("nace_i")); }
    TXMLEntityDataWQ other() const { return TXMLEntityDataWQ(ChildNode("other")); }
};

// The 11-sector tables
class TXMLOzr_water_use_data2 : public TXMLNode {
public:
    explicit TXMLOzr_water_use_data2(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ total() const { return TXMLEntityDataWQ(ChildNode("total")); }
    TXMLEntityDataWQ domestic() const { return TXMLEntityDataWQ(ChildNode("domestic")); }
    TXMLEntityDataWQ nace_a() const { return TXMLEntityDataWQ(ChildNode("nace_a")); }
    TXMLEntityDataWQ nace_a_irrgation() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_a_irrgation"));
    }
    TXMLEntityDataWQ nace_b() const { return TXMLEntityDataWQ(ChildNode("nace_b")); }
    TXMLEntityDataWQ nace_c() const { return TXMLEntityDataWQ(ChildNode("nace_c")); }
    TXMLEntityDataWQ nace_c_cooling() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_c_cooling"));
    }
    TXMLEntityDataWQ nace_d() const { return TXMLEntityDataWQ(ChildNode("nace_d")); }
    TXMLEntityDataWQ nace_d_cooling() const
    {
        return TXMLEntityDataWQ(ChildNode("nace_d_cooling"));
    }
    TXMLEntityDataWQ nace_i() const { return TXMLEntityDataWQ(ChildNode("nace_i")); }
    TXMLEntityDataWQ other() const { return TXMLEntityDataWQ(ChildNode("other")); }
};

// A large item: wu_large_items_city, wu_large_items_industry or wu_large_items_agric_unit
class TXMLOzr_wu_large_items : public TXMLNode {
public:
    explicit TXMLOzr_wu_large_items(const TXMLNode& node) : TXMLNode(node) {}

    std::string wu_item_name() const { return ReadChildText(*this, "wu_item_name"); }
    std::string wu_item_class() const { return ReadChildText(*this, "wu_item_class"); }
    TXMLEntityDataWQ wu_item_water_use() const
    {
        return TXMLEntityDataWQ(ChildNode("wu_item_water_use"));
    }
};
using TXMLOzr_wu_large_itemsList = TXMLNodeCollection<TXMLOzr_wu_large_items>;

// <ozr_water_use>
class TXMLOzr_water_use : public TXMLNode {
public:
    explicit TXMLOzr_water_use(const TXMLNode& node) : TXMLNode(node) {}

    int wu_year() const { return ReadChildInteger(*this, "wu_year"); }
    std::string wu_remarks() const { return ReadChildText(*this, "wu_remarks"); }
    TXMLOzr_water_use_data2 wu_recycled_water() const
    {
        return TXMLOzr_water_use_data2(ChildNode("wu_recycled_water"));
    }
    TXMLOzr_water_use_data1 wu_public_water_supply() const
    {
        return TXMLOzr_water_use_data1(ChildNode("wu_public_water_supply"));
    }
    TXMLOzr_water_use_data1 wu_self_supply() const
    {
        return TXMLOzr_water_use_data1(ChildNode("wu_self_supply"));
    }
    TXMLOzr_water_use_data1 wu_total_freshwater_used() const
    {
        return TXMLOzr_water_use_data1(ChildNode("wu_total_freshwater_used"));
    }
    int wu_ltaa_from_year() const { return ReadChildInteger(*this, "wu_ltaa_from_year"); }
    int wu_ltaa_to_year() const { return ReadChildInteger(*this, "wu_ltaa_to_year"); }
    TXMLOzr_wu_large_itemsList wu_large_items_city() const
    {
        return TXMLOzr_wu_large_itemsList(*this, "wu_large_items_city");
    }
    TXMLOzr_wu_large_itemsList wu_large_items_industry() const
    {
        return TXMLOzr_wu_large_itemsList(*this, "wu_large_items_industry");
    }
    TXMLOzr_wu_large_itemsList wu_large_items_agric_unit() const
    {
        return TXMLOzr_wu_large_itemsList(*this, "wu_large_items_agric_unit");
    }
};

// <ozr_freshwater_abstraction_for_self_suply>
class TXMLOzr_freshwater_abstraction_for_self_suply : public TXMLNode {
public:
    explicit TXMLOzr_freshwater_abstraction_for_self_suply(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ wa_abstraction_for_self_suply_total() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_abstraction_for_self_suply_total"));
    }
    TXMLEntityDataWQ wa_for_self_suply_from_rainwater() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_for_self_suply_from_rainwater"));
    }
    TXMLOzr_water_use_data1 wa_abstraction_for_self_suply_total_sw() const
    {
        return TXMLOzr_water_use_data1(ChildNode("wa_abstraction_for_self_suply_total_sw"));
    }
    TXMLOzr_water_use_data1 wa_abstraction_for_self_suply_total_gw() const
    {
        return TXMLOzr_water_use_data1(ChildNode("wa_abstraction_for_self_suply_total_gw"));
    }
};

// <ozr_freshwater_abstraction_for_public_wss>
class TXMLOzr_freshwater_abstraction_for_public_wss : public TXMLNode {
public:
    explicit TXMLOzr_freshwater_abstraction_for_public_wss(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ wa_for_public_wss() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_for_public_wss"));
    }
    TXMLEntityDataWQ wa_for_public_wss_sw() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_for_public_wss_sw"));
    }
    TXMLEntityDataWQ wa_for_public_wss_gw() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_for_public_wss_gw"));
    }
    TXMLEntityDataWQ wa_for_public_wss_from_rainwater() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_for_public_wss_from_rainwater"));
    }
};

// <ozr_water_abstraction>
class TXMLOzr_water_abstraction : public TXMLNode {
public:
    explicit TXMLOzr_water_abstraction(const TXMLNode& node) : TXMLNode(node) {}

    int wa_year() const { return ReadChildInteger(*this, "wa_year"); }
    std::string wa_remarks() const { return ReadChildText(*this, "wa_remarks"); }
    TXMLEntityDataWQ wa_total_abstraction() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_total_abstraction"));
    }
    TXMLEntityDataWQ wa_total_abstraction_for_hydropower() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_total_abstraction_for_hydropower"));
    }
    TXMLOzr_water_use_data1 wa_non_freshwater() const
    {
        return TXMLOzr_water_use_data1(ChildNode("wa_non_freshwater"));
    }
    TXMLOzr_freshwater_abstraction_for_self_suply ozr_freshwater_abstraction_for_self_suply() const
    {
        return TXMLOzr_freshwater_abstraction_for_self_suply(
            ChildNode("ozr_freshwater_abstraction_for_self_suply"));
    }
    TXMLEntityDataWQ wa_total_abstraction_sw() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_total_abstraction_sw"));
    }
    TXMLOzr_freshwater_abstraction_for_public_wss ozr_freshwater_abstraction_for_public_wss() const
    {
        return TXMLOzr_freshwater_abstraction_for_public_wss(
            ChildNode("ozr_freshwater_abstraction_for_public_wss"));
    }
    TXMLEntityDataWQ wa_total_abstraction_from_rainwater() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_total_abstraction_from_rainwater"));
    }
    TXMLEntityDataWQ wa_total_abstraction_gw() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_total_abstraction_gw"));
    }
    TXMLEntityDataWQ wa_available_groundwater() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_available_groundwater"));
    }
    TXMLEntityDataWQ wa_evaporation_losses() const
    {
        return TXMLEntityDataWQ(ChildNode("wa_evaporation_losses"));
    }
    int wa_ltaa_from_year() const { return ReadChildInteger(*this, "wa_ltaa_from_year"); }
    int wa_ltaa_to_year() const { return ReadChildInteger(*this, "wa_ltaa_to_year"); }
    std::string wa_non_fw_source_total() const
    {
        return ReadChildText(*this, "wa_non_fw_source_total");
    }
    std::string wa_non_fw_source_domestic() const
    {
        return ReadChildText(*this, "wa_non_fw_source_domestic");
    }
    std::string wa_non_fw_source_nace_a() const
    {
        return ReadChildText(*this, "wa_non_fw_source_nace_a");
    }
    std::string wa_non_fw_source_irrigation() const
    {
        return ReadChildText(*this, "wa_non_fw_source_irrigation");
    }
    std::string wa_non_fw_source_nace_b() const
    {
        return ReadChildText(*this, "wa_non_fw_source_nace_b");
    }
    std::string wa_non_fw_source_nace_c() const
    {
        return ReadChildText(*this, "wa_non_fw_source_nace_c");
    }
    std::string wa_non_fw_source_cooling_ind() const
    {
        return ReadChildText(*this, "wa_non_fw_source_cooling_ind");
    }
    std::string wa_non_fw_source_nace_d() const
    {
        return ReadChildText(*this, "wa_non_fw_source_nace_d");
    }
    std::string wa_non_fw_source_cooling_elec() const
    {
        return ReadChildText(*this, "wa_non_fw_source_cooling_elec");
    }
    std::string wa_non_fw_source_nace_i() const
    {
        return ReadChildText(*this, "wa_non_fw_source_nace_i");
    }
    std::string wa_non_fw_source_other() const
    {
        return ReadChildText(*this, "wa_non_fw_source_other");
    }
};

// <ozr_wb_additional_water_resources>
class TXMLOzr_wb_additional_water_resources : public TXMLNode {
public:
    explicit TXMLOzr_wb_additional_water_resources(const TXMLNode& node) : TXMLNode(node) {}

    TXMLOzr_water_use_data2 wb_desalinated_water() const
    {
        return TXMLOzr_water_use_data2(ChildNode("wb_desalinated_water"));
    }
    TXMLEntityDataWQ wb_water_imports() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_water_imports"));
    }
    TXMLEntityDataWQ wb_water_exports() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_water_exports"));
    }
    TXMLEntityDataWQ wb_artif_gw_recharge() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_artif_gw_recharge"));
    }
    std::string wb_exports_destination() const
    {
        return ReadChildText(*this, "wb_exports_destination");
    }
    std::string wb_imports_origin() const { return ReadChildText(*this, "wb_imports_origin"); }
    std::string wb_artif_gw_origin() const { return ReadChildText(*this, "wb_artif_gw_origin"); }
    TXMLEntityDataWQ wb_bottled_imports() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_bottled_imports"));
    }
    TXMLEntityDataWQ wb_bottled_exports() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_bottled_exports"));
    }
};

// <ozr_wb_hydrometeorological_parameters>
class TXMLOzr_wb_hydrometeorological_parameters : public TXMLNode {
public:
    explicit TXMLOzr_wb_hydrometeorological_parameters(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ wb_areal_precipitation() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_areal_precipitation"));
    }
    TXMLEntityDataWQ wb_pot_evapotranspiration() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_pot_evapotranspiration"));
    }
    TXMLEntityDataWQ wb_act_evapotranspiration() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_act_evapotranspiration"));
    }
    TXMLEntityDataWQ wb_internal_flow() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_internal_flow"));
    }
    TXMLEntityDataWQ wb_total_act_ext_inflow() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_total_act_ext_inflow"));
    }
    TXMLEntityDataWQ wb_total_actual_outflow() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_total_actual_outflow"));
    }
    TXMLEntityDataWQ wb_total_actual_outflow_sea() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_total_actual_outflow_sea"));
    }
    TXMLEntityDataWQ wb_total_actual_outflow_neighbour() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_total_actual_outflow_neighbour"));
    }
    TXMLEntityDataWQ wb_aquifer_recharge() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_aquifer_recharge"));
    }
};

// <ozr_wb_returned_reused_water>
class TXMLOzr_wb_returned_reused_water : public TXMLNode {
public:
    explicit TXMLOzr_wb_returned_reused_water(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ wb_return_flow() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_return_flow"));
    }
    TXMLEntityDataWQ wb_returned_before_use() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_returned_before_use"));
    }
    TXMLEntityDataWQ wb_returned_after_use() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_returned_after_use"));
    }
    TXMLEntityDataWQ wb_treated_effluent() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_treated_effluent"));
    }
    TXMLEntityDataWQ wb_treated_effluent_uwwtp() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_treated_effluent_uwwtp"));
    }
    TXMLEntityDataWQ wb_treated_effluent_other_wwtp() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_treated_effluent_other_wwtp"));
    }
    TXMLEntityDataWQ wb_non_treated_effluent() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_non_treated_effluent"));
    }
    TXMLEntityDataWQ wb_non_treated_effluent_cooling() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_non_treated_effluent_cooling"));
    }
    TXMLEntityDataWQ wb_non_treated_effluent_hydropower() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_non_treated_effluent_hydropower"));
    }
    TXMLOzr_water_use_data2 wb_reused_water() const
    {
        return TXMLOzr_water_use_data2(ChildNode("wb_reused_water"));
    }
    TXMLEntityDataWQ wb_losses_betwn_use_and_reuse() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_losses_betwn_use_and_reuse"));
    }
    std::string wb_returned_unit() const { return ReadChildText(*this, "wb_returned_unit"); }
    std::string wb_reused_unit() const { return ReadChildText(*this, "wb_reused_unit"); }
};

// <ozr_wb_water_storage>
class TXMLOzr_wb_water_storage : public TXMLNode {
public:
    explicit TXMLOzr_wb_water_storage(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityDataWQ wb_snowpack() const { return TXMLEntityDataWQ(ChildNode("wb_snowpack")); }
    TXMLEntityDataWQ wb_changes_in_reservoir_storage() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_changes_in_reservoir_storage"));
    }
    TXMLEntityDataWQ wb_changes_in_groundwater_storage() const
    {
        return TXMLEntityDataWQ(ChildNode("wb_changes_in_groundwater_storage"));
    }
};

// <ozr_water_balance>
class TXMLOzr_water_balance : public TXMLNode {
public:
    explicit TXMLOzr_water_balance(const TXMLNode& node) : TXMLNode(node) {}

    int wb_year() const { return ReadChildInteger(*this, "wb_year"); }
    std::string wb_remarks() const { return ReadChildText(*this, "wb_remarks"); }
    TXMLOzr_wb_additional_water_resources ozr_wb_additional_water_resources() const
    {
        return TXMLOzr_wb_additional_water_resources(
            ChildNode("ozr_wb_additional_water_resources"));
    }
    TXMLOzr_wb_hydrometeorological_parameters ozr_wb_hydrometeorological_parameters() const
    {
        return TXMLOzr_wb_hydrometeorological_parameters(
            ChildNode("ozr_wb_hydrometeorological_parameters"));
    }
    TXMLOzr_wb_returned_reused_water ozr_wb_returned_reused_water() const
    {
        return TXMLOzr_wb_returned_reused_water(ChildNode("ozr_wb_returned_reused_water"));
    }
    TXMLOzr_wb_water_storage ozr_wb_water_storage() const
    {
        return TXMLOzr_wb_water_storage(ChildNode("ozr_wb_water_storage"));
    }
    int wb_ltaa_from_year() const { return ReadChildInteger(*this, "wb_ltaa_from_year"); }
    int wb_ltaa_to_year() const { return ReadChildInteger(*this, "wb_ltaa_to_year"); }
};

// <attributes_wq>
class TXMLEntityAttributesWQ : public TXMLNode {
public:
    explicit TXMLEntityAttributesWQ(const TXMLNode& node) : TXMLNode(node) {}

    std::string id() const { return ReadChildText(*this, "id"); }
    std::string name() const { return ReadChildText(*this, "name"); }
    std::string remarks() const { return ReadChildText(*this, "remarks"); }
    double latitude() const { return ReadChildReal(*this, "latitude"); }
    double longitude() const { return ReadChildReal(*this, "longitude"); }
    double altitude() const { return ReadChildReal(*this, "altitude"); }
    int year() const { return ReadChildInteger(*this, "year"); }
    std::string coordinate_system() const { return ReadChildText(*this, "coordinate_system"); }
    std::string projection_system() const { return ReadChildText(*this, "projection_system"); }
};

// <reservoir>
class TXMLOzr_wq_region_reservoir : public TXMLNode {
public:
    explicit TXMLOzr_wq_region_reservoir(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityAttributesWQ attributes_wq() const
    {
        return TXMLEntityAttributesWQ(ChildNode("attributes_wq"));
    }
    std::string type() const { return ReadChildText(*this, "type"); }
    double storage_capacity() const { return ReadChildReal(*this, "storage_capacity"); }
    TXMLEntityDataWQ inflow() const { return TXMLEntityDataWQ(ChildNode("inflow")); }
    TXMLEntityDataWQ outflow() const { return TXMLEntityDataWQ(ChildNode("outflow")); }
    int ltaa_from_year() const { return ReadChildInteger(*this, "ltaa_from_year"); }
    int ltaa_to_year() const { return ReadChildInteger(*this, "ltaa_to_year"); }
};
using TXMLOzr_wq_region_reservoirList = TXMLNodeCollection<TXMLOzr_wq_region_reservoir>;

// <precipitation>
class TXMLOzr_wq_region_precipitation : public TXMLNode {
public:
    explicit TXMLOzr_wq_region_precipitation(const TXMLNode& node) : TXMLNode(node) {}

    double river_basin_area() const { return ReadChildReal(*this, "river_basin_area"); }
    int data_period_to() const { return ReadChildInteger(*this, "data_period_to"); }
    double subcatchment_area() const { return ReadChildReal(*this, "subcatchment_area"); }
    int data_period_from() const { return ReadChildInteger(*this, "data_period_from"); }
    std::string subcatchment() const { return ReadChildText(*this, "subcatchment"); }
    bool wfd() const { return ReadChildBoolean(*this, "wfd"); }
    std::string river_basin() const { return ReadChildText(*this, "river_basin"); }
    bool dunmar() const { return ReadChildBoolean(*this, "dunmar"); }
    TXMLEntityAttributesWQ attributes_wq() const
    {
        return TXMLEntityAttributesWQ(ChildNode("attributes_wq"));
    }
    std::string data_URL() const { return ReadChildText(*this, "data_URL"); }
    std::string data_agency() const { return ReadChildText(*this, "data_agency"); }
    std::string time_scale() const { return ReadChildText(*this, "time_scale"); }
};
using TXMLOzr_wq_region_precipitationList = TXMLNodeCollection<TXMLOzr_wq_region_precipitation>;

// <flow>
class TXMLOzr_wq_region_flow : public TXMLNode {
public:
    explicit TXMLOzr_wq_region_flow(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityAttributesWQ attributes_wq() const
    {
        return TXMLEntityAttributesWQ(ChildNode("attributes_wq"));
    }
    std::string river() const { return ReadChildText(*this, "river"); }
    std::string river_basin() const { return ReadChildText(*this, "river_basin"); }
    double river_basin_area() const { return ReadChildReal(*this, "river_basin_area"); }
    std::string subcatchment() const { return ReadChildText(*this, "subcatchment"); }
    double subcatchment_area() const { return ReadChildReal(*this, "subcatchment_area"); }
    bool dunmar() const { return ReadChildBoolean(*this, "dunmar"); }
    bool wfd() const { return ReadChildBoolean(*this, "wfd"); }
    double min_discharge() const { return ReadChildReal(*this, "min_discharge"); }
    double max_discharge() const { return ReadChildReal(*this, "max_discharge"); }
    std::string min_discharge_date() const { return ReadChildText(*this, "min_discharge_date"); }
    std::string max_discharge_date() const { return ReadChildText(*this, "max_discharge_date"); }
    int data_from_year() const { return ReadChildInteger(*this, "data_from_year"); }
    int data_to_year() const { return ReadChildInteger(*this, "data_to_year"); }
    std::string data_URL() const { return ReadChildText(*this, "data_URL"); }
    std::string data_agency() const { return ReadChildText(*this, "data_agency"); }
    TXMLArrayOfDoublePosZeroList monthly_data() const
    {
        return TXMLArrayOfDoublePosZeroList(*this, "monthly_data");
    }
    TXMLArrayOfDoublePosZeroList ltaa_data() const
    {
        return TXMLArrayOfDoublePosZeroList(*this, "ltaa_data");
    }
    TXMLArrayOfDoublePosZeroList daily_data() const
    {
        return TXMLArrayOfDoublePosZeroList(*this, "daily_data");
    }
    int ltaa_from_year() const { return ReadChildInteger(*this, "ltaa_from_year"); }
    int ltaa_to_year() const { return ReadChildInteger(*this, "ltaa_to_year"); }
    double ltaa() const { return ReadChildReal(*this, "ltaa"); }
    double annual_data() const { return ReadChildReal(*this, "annual_data"); }
};
using TXMLOzr_wq_region_flowList = TXMLNodeCollection<TXMLOzr_wq_region_flow>;

// <well>
class TXMLOzr_wq_region_well : public TXMLNode {
public:
    explicit TXMLOzr_wq_region_well(const TXMLNode& node) : TXMLNode(node) {}

    TXMLEntityAttributesWQ attributes_wq() const
    {
        return TXMLEntityAttributesWQ(ChildNode("attributes_wq"));
    }
    std::string gwb() const { return ReadChildText(*this, "gwb"); }
    std::string gwb_outside_rb() const { return ReadChildText(*this, "gwb_outside_rb"); }
    std::string gwb_outside_rbd() const { return ReadChildText(*this, "gwb_outside_rbd"); }
    int ltaa_from_year() const { return ReadChildInteger(*this, "ltaa_from_year"); }
    int ltaa_to_year() const { return ReadChildInteger(*this, "ltaa_to_year"); }
    int month_min_level() const { return ReadChildInteger(*this, "month_min_level"); }
    int month_max_level() const { return ReadChildInteger(*this, "month_max_level"); }
    TXMLEntityDataWQ mean_level() const { return TXMLEntityDataWQ(ChildNode("mean_level")); }
};
using TXMLOzr_wq_region_wellList = TXMLNodeCollection<TXMLOzr_wq_region_well>;

// <region>
class TXMLOzr_wq_region : public TXMLNode {
public:
    explicit TXMLOzr_wq_region(const TXMLNode& node) : TXMLNode(node) {}

    std::string code() const { return ReadAttributeText(*this, "code"); }
    std::string name() const { return ReadAttributeText(*this, "name"); }
    std::string type() const { return ReadAttributeText(*this, "type"); }
    TXMLOzr_water_abstraction ozr_water_abstraction() const
    {
        return TXMLOzr_water_abstraction(ChildNode("ozr_water_abstraction"));
    }
    TXMLOzr_water_balance ozr_water_balance() const
    {
        return TXMLOzr_water_balance(ChildNode("ozr_water_balance"));
    }
    TXMLOzr_water_use ozr_water_use() const
    {
        return TXMLOzr_water_use(ChildNode("ozr_water_use"));
    }
    TXMLOzr_wq_region_reservoirList reservoir() const
    {
        return TXMLOzr_wq_region_reservoirList(*this, "reservoir");
    }
    TXMLOzr_wq_region_precipitationList precipitation() const
    {
        return TXMLOzr_wq_region_precipitationList(*this, "precipitation");
    }
    TXMLOzr_wq_region_flowList flow() const { return TXMLOzr_wq_region_flowList(*this, "flow"); }
    TXMLOzr_wq_region_wellList well() const { return TXMLOzr_wq_region_wellList(*this, "well"); }
};
using TXMLOzr_wq_regionList = TXMLNodeCollection<TXMLOzr_wq_region>;

// <ozr_wq>, the document element; it keeps the document alive.
class TXMLOzr_wq : public TXMLNode {
public:
    explicit TXMLOzr_wq(std::shared_ptr<const TXMLDocument> document);

    std::string Country() const { return ReadAttributeText(*this, "Country"); }
    std::string CreationDate() const { return ReadAttributeText(*this, "CreationDate"); }
    std::string Responsible() const { return ReadAttributeText(*this, "Responsible"); }
    std::string Email() const { return ReadAttributeText(*this, "Email"); }
    std::string Remarks() const { return ReadAttributeText(*this, "Remarks"); }
    TXMLOzr_wq_regionList region() const { return TXMLOzr_wq_regionList(*this, "region"); }
    std::string DecimalSeparator() const { return ReadChildText(*this, "DecimalSeparator"); }

private:
    std::shared_ptr<const TXMLDocument> document_;
};

// Parses the file and binds its document element. Raises EXMLDocError when the
// file cannot be read or is not well-formed, and EIntfCastError "Interface not
// supported" when its document element is not ozr_wq.
TXMLOzr_wq Loadozr_wq(const std::string& fileName);
