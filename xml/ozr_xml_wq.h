#pragma once

// The typed view of a data file (.wqd): one class per element type, each a
// bound node (xml/xml_binding.h) that reads and writes its attributes and
// simple children as typed values, reaches its single children as further
// bound nodes and its repeated children as lists.
//
// Reads of absent values behave as reads of empty ones: a text is empty and an
// integer, real or boolean raises EVariantTypeCastError (test HasChildNodes
// first). A node accessor adds its element, empty, when it is absent, as the
// document layer's automatic creation of nodes does; a list of absent items
// has none. The nodes stay valid while the TXMLOzr_wq that they come from, or
// a copy of it, lives.

#include <memory>
#include <string>

#include "xml/xml_binding.h"
#include "xml/xml_document.h"

// Items of monthly_data, seasonal, ltaa_data and daily_data
class TXMLArrayOfDoublePosZero : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(int, indx)
    WQ_XML_VALUE(double, value)
};
using TXMLArrayOfDoublePosZeroList = TXMLNodeCollection<TXMLArrayOfDoublePosZero>;

// Every quantity element (16 values)
class TXMLEntityDataWQ : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_LIST(TXMLArrayOfDoublePosZeroList, monthly_data)
    WQ_XML_VALUE(double, annual_data)
    WQ_XML_VALUE(double, LTAA)
    WQ_XML_LIST(TXMLArrayOfDoublePosZeroList, seasonal)
};

// The 16-sector tables
class TXMLOzr_water_use_data1 : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, total)
    WQ_XML_NODE(TXMLEntityDataWQ, domestic)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_a)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_a_irrgation)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_b)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c_food_ind)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c_basic_metals)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c_transport)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c_textiles)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c_cooling)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_d)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_d_cooling)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_d_hydropower)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_i)
    WQ_XML_NODE(TXMLEntityDataWQ, other)
};

// The 11-sector tables
class TXMLOzr_water_use_data2 : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, total)
    WQ_XML_NODE(TXMLEntityDataWQ, domestic)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_a)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_a_irrgation)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_b)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_c_cooling)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_d)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_d_cooling)
    WQ_XML_NODE(TXMLEntityDataWQ, nace_i)
    WQ_XML_NODE(TXMLEntityDataWQ, other)
};

// A large item: wu_large_items_city, wu_large_items_industry or wu_large_items_agric_unit
class TXMLOzr_wu_large_items : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(std::string, wu_item_name)
    WQ_XML_VALUE(std::string, wu_item_class)
    WQ_XML_NODE(TXMLEntityDataWQ, wu_item_water_use)
};
using TXMLOzr_wu_large_itemsList = TXMLNodeCollection<TXMLOzr_wu_large_items>;

// <ozr_water_use>
class TXMLOzr_water_use : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(int, wu_year)
    WQ_XML_VALUE(std::string, wu_remarks)
    WQ_XML_NODE(TXMLOzr_water_use_data2, wu_recycled_water)
    WQ_XML_NODE(TXMLOzr_water_use_data1, wu_public_water_supply)
    WQ_XML_NODE(TXMLOzr_water_use_data1, wu_self_supply)
    WQ_XML_NODE(TXMLOzr_water_use_data1, wu_total_freshwater_used)
    WQ_XML_VALUE(int, wu_ltaa_from_year)
    WQ_XML_VALUE(int, wu_ltaa_to_year)
    WQ_XML_LIST(TXMLOzr_wu_large_itemsList, wu_large_items_city)
    WQ_XML_LIST(TXMLOzr_wu_large_itemsList, wu_large_items_industry)
    WQ_XML_LIST(TXMLOzr_wu_large_itemsList, wu_large_items_agric_unit)
};

// <ozr_freshwater_abstraction_for_self_suply>
class TXMLOzr_freshwater_abstraction_for_self_suply : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, wa_abstraction_for_self_suply_total)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_for_self_suply_from_rainwater)
    WQ_XML_NODE(TXMLOzr_water_use_data1, wa_abstraction_for_self_suply_total_sw)
    WQ_XML_NODE(TXMLOzr_water_use_data1, wa_abstraction_for_self_suply_total_gw)
};

// <ozr_freshwater_abstraction_for_public_wss>
class TXMLOzr_freshwater_abstraction_for_public_wss : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, wa_for_public_wss)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_for_public_wss_sw)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_for_public_wss_gw)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_for_public_wss_from_rainwater)
};

// <ozr_water_abstraction>
class TXMLOzr_water_abstraction : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(int, wa_year)
    WQ_XML_VALUE(std::string, wa_remarks)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_total_abstraction)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_total_abstraction_for_hydropower)
    WQ_XML_NODE(TXMLOzr_water_use_data1, wa_non_freshwater)
    WQ_XML_NODE(TXMLOzr_freshwater_abstraction_for_self_suply,
                ozr_freshwater_abstraction_for_self_suply)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_total_abstraction_sw)
    WQ_XML_NODE(TXMLOzr_freshwater_abstraction_for_public_wss,
                ozr_freshwater_abstraction_for_public_wss)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_total_abstraction_from_rainwater)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_total_abstraction_gw)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_available_groundwater)
    WQ_XML_NODE(TXMLEntityDataWQ, wa_evaporation_losses)
    WQ_XML_VALUE(int, wa_ltaa_from_year)
    WQ_XML_VALUE(int, wa_ltaa_to_year)
    WQ_XML_VALUE(std::string, wa_non_fw_source_total)
    WQ_XML_VALUE(std::string, wa_non_fw_source_domestic)
    WQ_XML_VALUE(std::string, wa_non_fw_source_nace_a)
    WQ_XML_VALUE(std::string, wa_non_fw_source_irrigation)
    WQ_XML_VALUE(std::string, wa_non_fw_source_nace_b)
    WQ_XML_VALUE(std::string, wa_non_fw_source_nace_c)
    WQ_XML_VALUE(std::string, wa_non_fw_source_cooling_ind)
    WQ_XML_VALUE(std::string, wa_non_fw_source_nace_d)
    WQ_XML_VALUE(std::string, wa_non_fw_source_cooling_elec)
    WQ_XML_VALUE(std::string, wa_non_fw_source_nace_i)
    WQ_XML_VALUE(std::string, wa_non_fw_source_other)
};

// <ozr_wb_additional_water_resources>
class TXMLOzr_wb_additional_water_resources : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLOzr_water_use_data2, wb_desalinated_water)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_water_imports)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_water_exports)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_artif_gw_recharge)
    WQ_XML_VALUE(std::string, wb_exports_destination)
    WQ_XML_VALUE(std::string, wb_imports_origin)
    WQ_XML_VALUE(std::string, wb_artif_gw_origin)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_bottled_imports)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_bottled_exports)
};

// <ozr_wb_hydrometeorological_parameters>
class TXMLOzr_wb_hydrometeorological_parameters : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, wb_areal_precipitation)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_pot_evapotranspiration)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_act_evapotranspiration)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_internal_flow)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_total_act_ext_inflow)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_total_actual_outflow)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_total_actual_outflow_sea)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_total_actual_outflow_neighbour)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_aquifer_recharge)
};

// <ozr_wb_returned_reused_water>
class TXMLOzr_wb_returned_reused_water : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, wb_return_flow)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_returned_before_use)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_returned_after_use)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_treated_effluent)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_treated_effluent_uwwtp)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_treated_effluent_other_wwtp)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_non_treated_effluent)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_non_treated_effluent_cooling)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_non_treated_effluent_hydropower)
    WQ_XML_NODE(TXMLOzr_water_use_data2, wb_reused_water)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_losses_betwn_use_and_reuse)
    WQ_XML_VALUE(std::string, wb_returned_unit)
    WQ_XML_VALUE(std::string, wb_reused_unit)
};

// <ozr_wb_water_storage>
class TXMLOzr_wb_water_storage : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityDataWQ, wb_snowpack)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_changes_in_reservoir_storage)
    WQ_XML_NODE(TXMLEntityDataWQ, wb_changes_in_groundwater_storage)
};

// <ozr_water_balance>
class TXMLOzr_water_balance : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(int, wb_year)
    WQ_XML_VALUE(std::string, wb_remarks)
    WQ_XML_NODE(TXMLOzr_wb_additional_water_resources, ozr_wb_additional_water_resources)
    WQ_XML_NODE(TXMLOzr_wb_hydrometeorological_parameters, ozr_wb_hydrometeorological_parameters)
    WQ_XML_NODE(TXMLOzr_wb_returned_reused_water, ozr_wb_returned_reused_water)
    WQ_XML_NODE(TXMLOzr_wb_water_storage, ozr_wb_water_storage)
    WQ_XML_VALUE(int, wb_ltaa_from_year)
    WQ_XML_VALUE(int, wb_ltaa_to_year)
};

// <attributes_wq>
class TXMLEntityAttributesWQ : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(std::string, id)
    WQ_XML_VALUE(std::string, name)
    WQ_XML_VALUE(std::string, remarks)
    WQ_XML_VALUE(double, latitude)
    WQ_XML_VALUE(double, longitude)
    WQ_XML_VALUE(double, altitude)
    WQ_XML_VALUE(int, year)
    WQ_XML_VALUE(std::string, coordinate_system)
    WQ_XML_VALUE(std::string, projection_system)
};

// <reservoir>
class TXMLOzr_wq_region_reservoir : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityAttributesWQ, attributes_wq)
    WQ_XML_VALUE(std::string, type)
    WQ_XML_VALUE(double, storage_capacity)
    WQ_XML_NODE(TXMLEntityDataWQ, inflow)
    WQ_XML_NODE(TXMLEntityDataWQ, outflow)
    WQ_XML_VALUE(int, ltaa_from_year)
    WQ_XML_VALUE(int, ltaa_to_year)
};
using TXMLOzr_wq_region_reservoirList = TXMLNodeCollection<TXMLOzr_wq_region_reservoir>;

// <precipitation>
class TXMLOzr_wq_region_precipitation : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(double, river_basin_area)
    WQ_XML_VALUE(int, data_period_to)
    WQ_XML_VALUE(double, subcatchment_area)
    WQ_XML_VALUE(int, data_period_from)
    WQ_XML_VALUE(std::string, subcatchment)
    WQ_XML_VALUE(bool, wfd)
    WQ_XML_VALUE(std::string, river_basin)
    WQ_XML_VALUE(bool, dunmar)
    WQ_XML_NODE(TXMLEntityAttributesWQ, attributes_wq)
    WQ_XML_VALUE(std::string, data_URL)
    WQ_XML_VALUE(std::string, data_agency)
    WQ_XML_VALUE(std::string, time_scale)
};
using TXMLOzr_wq_region_precipitationList = TXMLNodeCollection<TXMLOzr_wq_region_precipitation>;

// <flow>
class TXMLOzr_wq_region_flow : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityAttributesWQ, attributes_wq)
    WQ_XML_VALUE(std::string, river)
    WQ_XML_VALUE(std::string, river_basin)
    WQ_XML_VALUE(double, river_basin_area)
    WQ_XML_VALUE(std::string, subcatchment)
    WQ_XML_VALUE(double, subcatchment_area)
    WQ_XML_VALUE(bool, dunmar)
    WQ_XML_VALUE(bool, wfd)
    WQ_XML_VALUE(double, min_discharge)
    WQ_XML_VALUE(double, max_discharge)
    WQ_XML_VALUE(std::string, min_discharge_date)
    WQ_XML_VALUE(std::string, max_discharge_date)
    WQ_XML_VALUE(int, data_from_year)
    WQ_XML_VALUE(int, data_to_year)
    WQ_XML_VALUE(std::string, data_URL)
    WQ_XML_VALUE(std::string, data_agency)
    WQ_XML_LIST(TXMLArrayOfDoublePosZeroList, monthly_data)
    WQ_XML_LIST(TXMLArrayOfDoublePosZeroList, ltaa_data)
    WQ_XML_LIST(TXMLArrayOfDoublePosZeroList, daily_data)
    WQ_XML_VALUE(int, ltaa_from_year)
    WQ_XML_VALUE(int, ltaa_to_year)
    WQ_XML_VALUE(double, ltaa)
    WQ_XML_VALUE(double, annual_data)
};
using TXMLOzr_wq_region_flowList = TXMLNodeCollection<TXMLOzr_wq_region_flow>;

// <well>
class TXMLOzr_wq_region_well : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_NODE(TXMLEntityAttributesWQ, attributes_wq)
    WQ_XML_VALUE(std::string, gwb)
    WQ_XML_VALUE(std::string, gwb_outside_rb)
    WQ_XML_VALUE(std::string, gwb_outside_rbd)
    WQ_XML_VALUE(int, ltaa_from_year)
    WQ_XML_VALUE(int, ltaa_to_year)
    WQ_XML_VALUE(int, month_min_level)
    WQ_XML_VALUE(int, month_max_level)
    WQ_XML_NODE(TXMLEntityDataWQ, mean_level)
};
using TXMLOzr_wq_region_wellList = TXMLNodeCollection<TXMLOzr_wq_region_well>;

// <region>
class TXMLOzr_wq_region : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_ATTRIBUTE(code)
    WQ_XML_ATTRIBUTE(name)
    WQ_XML_ATTRIBUTE(type)
    WQ_XML_NODE(TXMLOzr_water_abstraction, ozr_water_abstraction)
    WQ_XML_NODE(TXMLOzr_water_balance, ozr_water_balance)
    WQ_XML_NODE(TXMLOzr_water_use, ozr_water_use)
    WQ_XML_LIST(TXMLOzr_wq_region_reservoirList, reservoir)
    WQ_XML_LIST(TXMLOzr_wq_region_precipitationList, precipitation)
    WQ_XML_LIST(TXMLOzr_wq_region_flowList, flow)
    WQ_XML_LIST(TXMLOzr_wq_region_wellList, well)
};
using TXMLOzr_wq_regionList = TXMLNodeCollection<TXMLOzr_wq_region>;

// <ozr_wq>, the document element; it keeps the document alive.
class TXMLOzr_wq : public TXMLBoundNode {
public:
    explicit TXMLOzr_wq(std::shared_ptr<TXMLDocument> document);

    WQ_XML_ATTRIBUTE(Country)
    WQ_XML_ATTRIBUTE(CreationDate)
    WQ_XML_ATTRIBUTE(Responsible)
    WQ_XML_ATTRIBUTE(Email)
    WQ_XML_ATTRIBUTE(Remarks)
    WQ_XML_LIST(TXMLOzr_wq_regionList, region)
    WQ_XML_VALUE(std::string, DecimalSeparator)

    // The document that the element stands in, to be saved after changes.
    TXMLDocument& OwnerDocument() const { return *document_; }

private:
    std::shared_ptr<TXMLDocument> document_;
};

// Parses the file and binds its document element. Raises EXMLDocError when the
// file cannot be read or is not well-formed, and EIntfCastError "Interface not
// supported" when its document element is not ozr_wq.
TXMLOzr_wq Loadozr_wq(const std::string& fileName);
