#include "io/ozr_io_save.h"

#include <unordered_map>
#include <vector>

#include "io/atomic_file.h"
#include "io/ozr_io_table_tags.h"
#include "platform/exception.h"
#include "platform/regional_settings.h"

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
void WriteQuantities(TXMLElementWriter& out, const std::array<const char*, N>& tags,
                     const std::array<const TEntityData*, N>& quantities)
{
    for (std::size_t i = 0; i < N; ++i)
        WriteEntityData(out, tags[i], *quantities[i]);
}

// The quantities of a field array, each under its tag.
template <std::size_t N>
void WriteEach(TXMLElementWriter& out, const std::array<const char*, N>& tags,
               const std::array<TEntityData, N>& quantities)
{
    for (std::size_t i = 0; i < N; ++i)
        WriteEntityData(out, tags[i], quantities[i]);
}

void WriteWordIfKnown(TXMLElementWriter& out, const char* tag, const char* word)
{
    if (word)
        WriteText(out, tag, word);
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

void WriteWaterBalance(TXMLElementWriter& out, const TRegion& region)
{
    const TRegionTables& t = region.Tables();
    out.StartElement("ozr_water_balance");
    WriteInteger(out, "wb_year", t.FWBYear);
    WriteText(out, "wb_remarks", t.FWBRemarks);
    WriteInteger(out, "wb_ltaa_from_year", t.FWBLTAAFromYear);
    WriteInteger(out, "wb_ltaa_to_year", t.FWBLTAAToYear);
    if (region.HasHydrometeorologicalData()) {
        out.StartElement("ozr_wb_hydrometeorological_parameters");
        WriteEach(out, HydrometeorologicalTags, t.FWBHydrometeorological);
        out.EndElement();
    }
    if (region.HasWaterStorageData()) {
        out.StartElement("ozr_wb_water_storage");
        WriteEach(out, WaterStorageTags, t.FWBWaterStorage);
        out.EndElement();
    }
    if (region.HasReturnedReusedWaterData()) {
        out.StartElement("ozr_wb_returned_reused_water");
        for (const std::size_t i : {0, 1, 2, 3, 6})
            WriteEntityData(out, ReturnedTags[i], t.FWBReturned[i]);
        WriteWaterUseData2(out, "wb_reused_water", t.FWBReusedWater);
        WriteEntityData(out, "wb_losses_betwn_use_and_reuse", t.FWBLossesBetwnUseAndReuse);
        for (const std::size_t i : {4, 5, 7, 8})
            WriteEntityData(out, ReturnedTags[i], t.FWBReturned[i]);
        WriteText(out, "wb_returned_unit", t.FWBReturnedUnit);
        WriteText(out, "wb_reused_unit", t.FWBReusedUnit);
        out.EndElement();
    }
    if (region.HasAdditionalWaterResourcesData()) {
        out.StartElement("ozr_wb_additional_water_resources");
        WriteWaterUseData2(out, "wb_desalinated_water", t.FWBDesalinatedWater);
        WriteEach(out, AdditionalTags, t.FWBAdditional);
        WriteWordIfKnown(out, "wb_artif_gw_origin", ArtifGWOriginWord(t.FWBArtifGWOrigin));
        WriteText(out, "wb_imports_origin", t.FWBImportsOrigin);
        WriteText(out, "wb_exports_destination", t.FWBExportsDestination);
        out.EndElement();
    }
    out.EndElement();
}

void WriteWaterAbstraction(TXMLElementWriter& out, const TRegion& region)
{
    const TRegionTables& t = region.Tables();
    out.StartElement("ozr_water_abstraction");
    WriteInteger(out, "wa_year", t.FWAYear);
    WriteText(out, "wa_remarks", t.FWARemarks);
    WriteInteger(out, "wa_ltaa_from_year", t.FWALTAAFromYear);
    WriteInteger(out, "wa_ltaa_to_year", t.FWALTAAToYear);
    WriteQuantities<7>(
        out,
        {"wa_total_abstraction", "wa_total_abstraction_sw", "wa_total_abstraction_gw",
         "wa_total_abstraction_from_rainwater", "wa_total_abstraction_for_hydropower",
         "wa_available_groundwater", "wa_evaporation_losses"},
        {&t.FWATotalAbstraction, &t.FWATotalAbstractionSW, &t.FWATotalAbstractionGW,
         &t.FWATotalAbstractionFromRainwater, &t.FWATotalAbstractionForHydropower,
         &t.FWAAvailableGroundwater, &t.FWAEvaporationLosses});
    WriteWaterUseData1(out, "wa_non_freshwater", t.FWANonFreshwater);
    for (std::size_t i = 0; i < NonFWSourceTags.size(); ++i)
        if (t.FWANonFWSource[i] != nfsUnknown)
            WriteText(out, NonFWSourceTags[i], NonFWSourceToStr(t.FWANonFWSource[i]));
    if (region.HasPublicWSSAbstractionData()) {
        out.StartElement("ozr_freshwater_abstraction_for_public_wss");
        WriteQuantities<4>(out,
                           {"wa_for_public_wss", "wa_for_public_wss_sw", "wa_for_public_wss_gw",
                            "wa_for_public_wss_from_rainwater"},
                           {&t.FWAForPublicWSS, &t.FWAForPublicWSSSW, &t.FWAForPublicWSSGW,
                            &t.FWAForPublicWSSFromRainwater});
        out.EndElement();
    }
    if (region.HasSelfSupplyAbstractionData()) {
        out.StartElement("ozr_freshwater_abstraction_for_self_suply");
        WriteEntityData(out, "wa_abstraction_for_self_suply_total",
                        t.FWAAbstractionForSelfSupplyTotal);
        WriteEntityData(out, "wa_for_self_suply_from_rainwater", t.FWAForSelfSupplyFromRainwater);
        WriteWaterUseData1(out, "wa_abstraction_for_self_suply_total_sw",
                           t.FWAAbstractionForSelfSupplyTotalSW);
        WriteWaterUseData1(out, "wa_abstraction_for_self_suply_total_gw",
                           t.FWAAbstractionForSelfSupplyTotalGW);
        out.EndElement();
    }
    out.EndElement();
}

void WriteWaterUse(TXMLElementWriter& out, const TRegion& region)
{
    const TRegionTables& t = region.Tables();
    out.StartElement("ozr_water_use");
    WriteInteger(out, "wu_year", t.FWUYear);
    WriteText(out, "wu_remarks", t.FWURemarks);
    WriteInteger(out, "wu_ltaa_from_year", t.FWULTAAFromYear);
    WriteInteger(out, "wu_ltaa_to_year", t.FWULTAAToYear);
    WriteWaterUseData1(out, "wu_total_freshwater_used", t.FWUTotalFreshwaterUsed);
    WriteWaterUseData1(out, "wu_public_water_supply", t.FWUPublicWaterSupply);
    WriteWaterUseData1(out, "wu_self_supply", t.FWUSelfSupply);
    WriteWaterUseData2(out, "wu_recycled_water", t.FWURecycledWater);
    for (const auto& item : t.FWULargeItemsCity)
        WriteLargeItem(out, "wu_large_items_city", item);
    for (const auto& item : t.FWULargeItemsIndustry)
        WriteLargeItem(out, "wu_large_items_industry", item);
    for (const auto& item : t.FWULargeItemsAgricUnit)
        WriteLargeItem(out, "wu_large_items_agric_unit", item);
    out.EndElement();
}

// Every station element opens with its common attributes; its writer ends it.
void StartStation(TXMLElementWriter& out, const char* tag, const TEntity& station)
{
    out.StartElement(tag);
    WriteEntityAttributes(out, "attributes_wq", station);
}

void WriteFlow(TXMLElementWriter& out, const TStreamFlow& s)
{
    StartStation(out, "flow", s);
    WriteText(out, "river", s.FRiver);
    WriteText(out, "river_basin", s.FRiverBasin);
    WriteReal(out, "river_basin_area", s.FRiverBasinArea);
    WriteText(out, "subcatchment", s.FSubcatchment);
    WriteReal(out, "subcatchment_area", s.FSubcatchmentArea);
    WriteBoolean(out, "wfd", s.FWFD);
    WriteBoolean(out, "dunmar", s.FDunmar);
    WriteReal(out, "min_discharge", s.FMinDischarge);
    WriteReal(out, "max_discharge", s.FMaxDischarge);
    WriteText(out, "min_discharge_date", s.FMinDischargeDate);
    WriteText(out, "max_discharge_date", s.FMaxDischargeDate);
    WriteInteger(out, "data_from_year", s.FDataFromYear);
    WriteInteger(out, "data_to_year", s.FDataToYear);
    WriteText(out, "data_URL", s.FDataURL);
    WriteText(out, "data_agency", s.FDataAgency);
    WriteReal(out, "annual_data", s.FAnnualData);
    WriteReal(out, "ltaa", s.FLTAA);
    WriteIndexedItems(out, "monthly_data", s.FMonthlyData);
    WriteInteger(out, "ltaa_from_year", s.FLTAAFromYear);
    WriteInteger(out, "ltaa_to_year", s.FLTAAToYear);
    WriteIndexedItems(out, "ltaa_data", s.FLTAAData);
    WriteIndexedItems(out, "daily_data", s.FDailyData);
    out.EndElement();
}

void WriteWell(TXMLElementWriter& out, const TWell& s)
{
    StartStation(out, "well", s);
    WriteText(out, "gwb", s.FGWB);
    WriteYesNo(out, "gwb_outside_rb", s.FGWBOutsideRB);
    WriteYesNo(out, "gwb_outside_rbd", s.FGWBOutsideRBD);
    WriteInteger(out, "ltaa_from_year", s.FLTAAFromYear);
    WriteInteger(out, "ltaa_to_year", s.FLTAAToYear);
    WriteInteger(out, "month_min_level", s.FMonthMinLevel);
    WriteInteger(out, "month_max_level", s.FMonthMaxLevel);
    WriteEntityData(out, "mean_level", s.FMeanLevel);
    out.EndElement();
}

void WriteRainGauge(TXMLElementWriter& out, const TRainGauge& s)
{
    StartStation(out, "precipitation", s);
    WriteText(out, "river_basin", s.FRiverBasin);
    WriteReal(out, "river_basin_area", s.FRiverBasinArea);
    WriteText(out, "subcatchment", s.FSubcatchment);
    WriteReal(out, "subcatchment_area", s.FSubcatchmentArea);
    WriteBoolean(out, "wfd", s.FWFD);
    WriteBoolean(out, "dunmar", s.FDunmar);
    WriteInteger(out, "data_period_from", s.FDataPeriodFrom);
    WriteInteger(out, "data_period_to", s.FDataPeriodTo);
    WriteText(out, "data_URL", s.FDataURL);
    WriteText(out, "data_agency", s.FDataAgency);
    const std::string scale = TimeScaleToStr(s.FTimeScale);
    if (scale != "unknown")
        WriteText(out, "time_scale", scale);
    out.EndElement();
}

void WriteReservoir(TXMLElementWriter& out, const TReservoir& s)
{
    StartStation(out, "reservoir", s);
    WriteWordIfKnown(out, "type", ReservoirTypeWord(s.FReservoirType));
    WriteReal(out, "storage_capacity", s.FStorageCapacity);
    WriteInteger(out, "ltaa_from_year", s.FLTAAFromYear);
    WriteInteger(out, "ltaa_to_year", s.FLTAAToYear);
    WriteEntityData(out, "inflow", s.FInflow);
    WriteEntityData(out, "outflow", s.FOutflow);
    out.EndElement();
}

void WriteStations(TXMLElementWriter& out, const TRegionStations& stations)
{
    for (const TStreamFlow* flow : stations.Flows)
        WriteFlow(out, *flow);
    for (const TWell* well : stations.Wells)
        WriteWell(out, *well);
    for (const TRainGauge* gauge : stations.RainGauges)
        WriteRainGauge(out, *gauge);
    for (const TReservoir* reservoir : stations.Reservoirs)
        WriteReservoir(out, *reservoir);
}

// The station test of TRegion::HasData answered from the grouping: every
// station of FEntities stands in exactly one kind list.
void WriteRegion(TXMLElementWriter& out, const TRegion& region, const TStationsByRegion& stations)
{
    const bool balance = region.HasTables() && region.HasWaterBalanceData();
    const bool abstraction = region.HasTables() && region.HasWaterAbstractionData();
    const bool use = region.HasTables() && region.HasWaterUseData();
    const auto own = stations.find(&region);
    if (!balance && !abstraction && !use && own == stations.end())
        return;
    out.StartElement("region");
    out.Attribute("code", region.GetCode());
    out.Attribute("name", region.FName);
    out.Attribute("type", RegionTypeToStr(region.GetRegionType()));
    if (balance)
        WriteWaterBalance(out, region);
    if (abstraction)
        WriteWaterAbstraction(out, region);
    if (use)
        WriteWaterUse(out, region);
    if (own != stations.end())
        WriteStations(out, own->second);
    out.EndElement();
}

void WriteDataFile(TXMLElementWriter& out, const TSession& session)
{
    const TRegion& country = *session.GetCountry();
    out.StartElement("ozr_wq");
    out.Attribute("Country", country.GetCode());
    out.Attribute("CreationDate", DateTimeToText(Now()));
    out.Attribute("Responsible", session.FResponsible);
    out.Attribute("Email", session.FEmail);
    out.Attribute("Remarks", session.FRemarks);
    out.Text("State and Quantity Water Resources Data for Country: " + country.FName);
    out.TextElement("DecimalSeparator", std::string(1, DecimalSeparator()));
    const TStationsByRegion stations = StationsByRegion(session);
    for (const TObject* item : session.FRegions)
        WriteRegion(out, *static_cast<const TRegion*>(item), stations);
    out.EndElement();
}

}  // namespace

void SaveDataFile(const std::string& FileName)
{
    const TSession& session = CurrentSession();
    if (!session.GetCountry())
        throw Exception("The data file \"" + FileName +
                        "\" was not written: no country has been chosen.");
    TAtomicFile file(FileName);
    TXMLElementWriter out([&file](std::string_view bytes) { file.Write(bytes); });
    WriteDataFile(out, session);
    out.Finish();
    file.Commit();
}
