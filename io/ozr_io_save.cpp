#include "io/ozr_io_save.h"

#include <unordered_map>
#include <vector>

#include "io/atomic_file.h"
#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "xml/xml_document.h"

namespace {

// The stations of each region, every kind in the order of its session list.
// Grouping them once keeps saving linear in regions plus stations.
struct TRegionStations {
    std::vector<const TStreamFlow*> Flows;
    std::vector<const TWell*> Wells;
    std::vector<const TRainGauge*> RainGauges;
    std::vector<const TReservoir*> Reservoirs;
};
using TStationsByRegion = std::unordered_map<const TRegion*, TRegionStations>;

template <typename Station>
void GroupStations(const TListOZR& list, std::vector<const Station*> TRegionStations::*kind,
                   TStationsByRegion& groups)
{
    for (const TObject* item : list) {
        const auto* station = static_cast<const Station*>(item);
        (groups[station->FRegion].*kind).push_back(station);
    }
}

TStationsByRegion StationsByRegion(const TSession& session)
{
    TStationsByRegion groups;
    GroupStations(session.FStreamFlows, &TRegionStations::Flows, groups);
    GroupStations(session.FWells, &TRegionStations::Wells, groups);
    GroupStations(session.FRainGauges, &TRegionStations::RainGauges, groups);
    GroupStations(session.FReservoirs, &TRegionStations::Reservoirs, groups);
    return groups;
}

template <std::size_t N>
void WriteQuantities(TXMLNode parent, const std::array<const char*, N>& tags,
                     const std::array<const TEntityData*, N>& quantities)
{
    for (std::size_t i = 0; i < N; ++i)
        WriteEntityData(parent, tags[i], *quantities[i]);
}

void WriteWordIfKnown(TXMLNode parent, const char* tag, const char* word)
{
    if (word)
        WriteText(parent, tag, word);
}

const char* ArtifGWOriginWord(TArtifGWOrigin origin)
{
    switch (origin) {
        case agoReturnFlow: return "return flow";
        case agoDesalinatedWater: return "desalinated water";
        case agoWaterImports: return "water imports";
        default: return nullptr;
    }
}

const char* ReservoirTypeWord(TReservoirType type)
{
    switch (type) {
        case rsManMade: return "Man-made";
        case rsNatural: return "Natural";
        default: return nullptr;
    }
}

void WriteWaterBalance(TXMLNode parent, const TRegion& region)
{
    const TRegionTables& t = region.Tables();
    TXMLNode balance = parent.AddChild("ozr_water_balance");
    WriteInteger(balance, "wb_year", t.FWBYear);
    WriteText(balance, "wb_remarks", t.FWBRemarks);
    WriteInteger(balance, "wb_ltaa_from_year", t.FWBLTAAFromYear);
    WriteInteger(balance, "wb_ltaa_to_year", t.FWBLTAAToYear);
    if (region.HasHydrometeorologicalData()) {
        static constexpr std::array<const char*, 9> tags{
            "wb_areal_precipitation",      "wb_pot_evapotranspiration",
            "wb_act_evapotranspiration",   "wb_internal_flow",
            "wb_total_act_ext_inflow",     "wb_total_actual_outflow",
            "wb_total_actual_outflow_sea", "wb_total_actual_outflow_neighbour",
            "wb_aquifer_recharge"};
        TXMLNode group = balance.AddChild("ozr_wb_hydrometeorological_parameters");
        for (std::size_t i = 0; i < tags.size(); ++i)
            WriteEntityData(group, tags[i], t.FWBHydrometeorological[i]);
    }
    if (region.HasWaterStorageData()) {
        static constexpr std::array<const char*, 3> tags{
            "wb_snowpack", "wb_changes_in_reservoir_storage", "wb_changes_in_groundwater_storage"};
        TXMLNode group = balance.AddChild("ozr_wb_water_storage");
        for (std::size_t i = 0; i < tags.size(); ++i)
            WriteEntityData(group, tags[i], t.FWBWaterStorage[i]);
    }
    if (region.HasReturnedReusedWaterData()) {
        TXMLNode group = balance.AddChild("ozr_wb_returned_reused_water");
        const auto& r = t.FWBReturned;
        WriteQuantities<5>(group,
                           {"wb_return_flow", "wb_returned_before_use", "wb_returned_after_use",
                            "wb_treated_effluent", "wb_non_treated_effluent"},
                           {&r[0], &r[1], &r[2], &r[3], &r[6]});
        WriteWaterUseData2(group, "wb_reused_water", t.FWBReusedWater);
        WriteEntityData(group, "wb_losses_betwn_use_and_reuse", t.FWBLossesBetwnUseAndReuse);
        WriteQuantities<4>(
            group,
            {"wb_treated_effluent_uwwtp", "wb_treated_effluent_other_wwtp",
             "wb_non_treated_effluent_cooling", "wb_non_treated_effluent_hydropower"},
            {&r[4], &r[5], &r[7], &r[8]});
        WriteText(group, "wb_returned_unit", t.FWBReturnedUnit);
        WriteText(group, "wb_reused_unit", t.FWBReusedUnit);
    }
    if (region.HasAdditionalWaterResourcesData()) {
        static constexpr std::array<const char*, 5> tags{
            "wb_water_imports", "wb_water_exports", "wb_artif_gw_recharge", "wb_bottled_imports",
            "wb_bottled_exports"};
        TXMLNode group = balance.AddChild("ozr_wb_additional_water_resources");
        WriteWaterUseData2(group, "wb_desalinated_water", t.FWBDesalinatedWater);
        for (std::size_t i = 0; i < tags.size(); ++i)
            WriteEntityData(group, tags[i], t.FWBAdditional[i]);
        WriteWordIfKnown(group, "wb_artif_gw_origin", ArtifGWOriginWord(t.FWBArtifGWOrigin));
        WriteText(group, "wb_imports_origin", t.FWBImportsOrigin);
        WriteText(group, "wb_exports_destination", t.FWBExportsDestination);
    }
}

void WriteWaterAbstraction(TXMLNode parent, const TRegion& region)
{
    static constexpr std::array<const char*, 11> sourceTags{
        "wa_non_fw_source_total",        "wa_non_fw_source_domestic",
        "wa_non_fw_source_nace_a",       "wa_non_fw_source_irrigation",
        "wa_non_fw_source_nace_b",       "wa_non_fw_source_nace_c",
        "wa_non_fw_source_cooling_ind",  "wa_non_fw_source_nace_d",
        "wa_non_fw_source_cooling_elec", "wa_non_fw_source_nace_i",
        "wa_non_fw_source_other"};
    const TRegionTables& t = region.Tables();
    TXMLNode abstraction = parent.AddChild("ozr_water_abstraction");
    WriteInteger(abstraction, "wa_year", t.FWAYear);
    WriteText(abstraction, "wa_remarks", t.FWARemarks);
    WriteInteger(abstraction, "wa_ltaa_from_year", t.FWALTAAFromYear);
    WriteInteger(abstraction, "wa_ltaa_to_year", t.FWALTAAToYear);
    WriteQuantities<7>(
        abstraction,
        {"wa_total_abstraction", "wa_total_abstraction_sw", "wa_total_abstraction_gw",
         "wa_total_abstraction_from_rainwater", "wa_total_abstraction_for_hydropower",
         "wa_available_groundwater", "wa_evaporation_losses"},
        {&t.FWATotalAbstraction, &t.FWATotalAbstractionSW, &t.FWATotalAbstractionGW,
         &t.FWATotalAbstractionFromRainwater, &t.FWATotalAbstractionForHydropower,
         &t.FWAAvailableGroundwater, &t.FWAEvaporationLosses});
    WriteWaterUseData1(abstraction, "wa_non_freshwater", t.FWANonFreshwater);
    for (std::size_t i = 0; i < sourceTags.size(); ++i)
        if (t.FWANonFWSource[i] != nfsUnknown)
            WriteText(abstraction, sourceTags[i], NonFWSourceToStr(t.FWANonFWSource[i]));
    if (region.HasPublicWSSAbstractionData()) {
        TXMLNode group = abstraction.AddChild("ozr_freshwater_abstraction_for_public_wss");
        WriteQuantities<4>(group,
                           {"wa_for_public_wss", "wa_for_public_wss_sw", "wa_for_public_wss_gw",
                            "wa_for_public_wss_from_rainwater"},
                           {&t.FWAForPublicWSS, &t.FWAForPublicWSSSW, &t.FWAForPublicWSSGW,
                            &t.FWAForPublicWSSFromRainwater});
    }
    if (region.HasSelfSupplyAbstractionData()) {
        TXMLNode group = abstraction.AddChild("ozr_freshwater_abstraction_for_self_suply");
        WriteEntityData(group, "wa_abstraction_for_self_suply_total",
                        t.FWAAbstractionForSelfSupplyTotal);
        WriteEntityData(group, "wa_for_self_suply_from_rainwater", t.FWAForSelfSupplyFromRainwater);
        WriteWaterUseData1(group, "wa_abstraction_for_self_suply_total_sw",
                           t.FWAAbstractionForSelfSupplyTotalSW);
        WriteWaterUseData1(group, "wa_abstraction_for_self_suply_total_gw",
                           t.FWAAbstractionForSelfSupplyTotalGW);
    }
}

void WriteWaterUse(TXMLNode parent, const TRegion& region)
{
    const TRegionTables& t = region.Tables();
    TXMLNode use = parent.AddChild("ozr_water_use");
    WriteInteger(use, "wu_year", t.FWUYear);
    WriteText(use, "wu_remarks", t.FWURemarks);
    WriteInteger(use, "wu_ltaa_from_year", t.FWULTAAFromYear);
    WriteInteger(use, "wu_ltaa_to_year", t.FWULTAAToYear);
    WriteWaterUseData1(use, "wu_total_freshwater_used", t.FWUTotalFreshwaterUsed);
    WriteWaterUseData1(use, "wu_public_water_supply", t.FWUPublicWaterSupply);
    WriteWaterUseData1(use, "wu_self_supply", t.FWUSelfSupply);
    WriteWaterUseData2(use, "wu_recycled_water", t.FWURecycledWater);
    for (const auto& item : t.FWULargeItemsCity)
        WriteLargeItem(use, "wu_large_items_city", item);
    for (const auto& item : t.FWULargeItemsIndustry)
        WriteLargeItem(use, "wu_large_items_industry", item);
    for (const auto& item : t.FWULargeItemsAgricUnit)
        WriteLargeItem(use, "wu_large_items_agric_unit", item);
}

TXMLNode AddStation(TXMLNode parent, const char* tag, const TEntity& station)
{
    TXMLNode element = parent.AddChild(tag);
    WriteEntityAttributes(element, "attributes_wq", station);
    return element;
}

void WriteFlow(TXMLNode parent, const TStreamFlow& s)
{
    TXMLNode flow = AddStation(parent, "flow", s);
    WriteText(flow, "river", s.FRiver);
    WriteText(flow, "river_basin", s.FRiverBasin);
    WriteReal(flow, "river_basin_area", s.FRiverBasinArea);
    WriteText(flow, "subcatchment", s.FSubcatchment);
    WriteReal(flow, "subcatchment_area", s.FSubcatchmentArea);
    WriteBoolean(flow, "wfd", s.FWFD);
    WriteBoolean(flow, "dunmar", s.FDunmar);
    WriteReal(flow, "min_discharge", s.FMinDischarge);
    WriteReal(flow, "max_discharge", s.FMaxDischarge);
    WriteText(flow, "min_discharge_date", s.FMinDischargeDate);
    WriteText(flow, "max_discharge_date", s.FMaxDischargeDate);
    WriteInteger(flow, "data_from_year", s.FDataFromYear);
    WriteInteger(flow, "data_to_year", s.FDataToYear);
    WriteText(flow, "data_URL", s.FDataURL);
    WriteText(flow, "data_agency", s.FDataAgency);
    WriteReal(flow, "annual_data", s.FAnnualData);
    WriteReal(flow, "ltaa", s.FLTAA);
    WriteIndexedItems(flow, "monthly_data", s.FMonthlyData);
    WriteInteger(flow, "ltaa_from_year", s.FLTAAFromYear);
    WriteInteger(flow, "ltaa_to_year", s.FLTAAToYear);
    WriteIndexedItems(flow, "ltaa_data", s.FLTAAData);
    WriteIndexedItems(flow, "daily_data", s.FDailyData);
}

void WriteWell(TXMLNode parent, const TWell& s)
{
    TXMLNode well = AddStation(parent, "well", s);
    WriteText(well, "gwb", s.FGWB);
    WriteYesNo(well, "gwb_outside_rb", s.FGWBOutsideRB);
    WriteYesNo(well, "gwb_outside_rbd", s.FGWBOutsideRBD);
    WriteInteger(well, "ltaa_from_year", s.FLTAAFromYear);
    WriteInteger(well, "ltaa_to_year", s.FLTAAToYear);
    WriteInteger(well, "month_min_level", s.FMonthMinLevel);
    WriteInteger(well, "month_max_level", s.FMonthMaxLevel);
    WriteEntityData(well, "mean_level", s.FMeanLevel);
}

void WriteRainGauge(TXMLNode parent, const TRainGauge& s)
{
    TXMLNode gauge = AddStation(parent, "precipitation", s);
    WriteText(gauge, "river_basin", s.FRiverBasin);
    WriteReal(gauge, "river_basin_area", s.FRiverBasinArea);
    WriteText(gauge, "subcatchment", s.FSubcatchment);
    WriteReal(gauge, "subcatchment_area", s.FSubcatchmentArea);
    WriteBoolean(gauge, "wfd", s.FWFD);
    WriteBoolean(gauge, "dunmar", s.FDunmar);
    WriteInteger(gauge, "data_period_from", s.FDataPeriodFrom);
    WriteInteger(gauge, "data_period_to", s.FDataPeriodTo);
    WriteText(gauge, "data_URL", s.FDataURL);
    WriteText(gauge, "data_agency", s.FDataAgency);
    const std::string scale = TimeScaleToStr(s.FTimeScale);
    if (scale != "unknown")
        WriteText(gauge, "time_scale", scale);
}

void WriteReservoir(TXMLNode parent, const TReservoir& s)
{
    TXMLNode reservoir = AddStation(parent, "reservoir", s);
    WriteWordIfKnown(reservoir, "type", ReservoirTypeWord(s.FReservoirType));
    WriteReal(reservoir, "storage_capacity", s.FStorageCapacity);
    WriteInteger(reservoir, "ltaa_from_year", s.FLTAAFromYear);
    WriteInteger(reservoir, "ltaa_to_year", s.FLTAAToYear);
    WriteEntityData(reservoir, "inflow", s.FInflow);
    WriteEntityData(reservoir, "outflow", s.FOutflow);
}

void WriteStations(TXMLNode parent, const TRegionStations& stations)
{
    for (const TStreamFlow* flow : stations.Flows)
        WriteFlow(parent, *flow);
    for (const TWell* well : stations.Wells)
        WriteWell(parent, *well);
    for (const TRainGauge* gauge : stations.RainGauges)
        WriteRainGauge(parent, *gauge);
    for (const TReservoir* reservoir : stations.Reservoirs)
        WriteReservoir(parent, *reservoir);
}

// The station test of TRegion::HasData answered from the grouping: every
// station of FEntities stands in exactly one kind list.
void WriteRegion(TXMLNode root, const TRegion& region, const TStationsByRegion& stations)
{
    const bool balance = region.HasTables() && region.HasWaterBalanceData();
    const bool abstraction = region.HasTables() && region.HasWaterAbstractionData();
    const bool use = region.HasTables() && region.HasWaterUseData();
    const auto own = stations.find(&region);
    if (!balance && !abstraction && !use && own == stations.end())
        return;
    TXMLNode element = root.AddChild("region");
    element.SetAttribute("code", region.GetCode());
    element.SetAttribute("name", region.FName);
    element.SetAttribute("type", RegionTypeToStr(region.GetRegionType()));
    if (balance)
        WriteWaterBalance(element, region);
    if (abstraction)
        WriteWaterAbstraction(element, region);
    if (use)
        WriteWaterUse(element, region);
    if (own != stations.end())
        WriteStations(element, own->second);
}

std::string DataFileText(const TSession& session)
{
    const TRegion& country = *session.GetCountry();
    TXMLDocument document;
    TXMLNode root = document.AddRoot("ozr_wq");
    root.SetAttribute("Country", country.GetCode());
    root.SetAttribute("CreationDate", DateTimeToText(Now()));
    root.SetAttribute("Responsible", session.FResponsible);
    root.SetAttribute("Email", session.FEmail);
    root.SetAttribute("Remarks", session.FRemarks);
    root.SetText("State and Quantity Water Resources Data for Country: " + country.FName);
    root.AddChild("DecimalSeparator").SetText(std::string(1, DecimalSeparator()));
    const TStationsByRegion stations = StationsByRegion(session);
    for (const TObject* item : session.FRegions)
        WriteRegion(root, *static_cast<const TRegion*>(item), stations);
    return document.SaveToString();
}

}  // namespace

void SaveDataFile(const std::string& FileName)
{
    const TSession& session = CurrentSession();
    if (!session.GetCountry())
        throw Exception("The data file \"" + FileName +
                        "\" was not written: no country has been chosen.");
    WriteFileAtomically(FileName, DataFileText(session));
}
