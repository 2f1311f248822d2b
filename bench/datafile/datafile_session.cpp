#include "datafile_session.h"

#include <string>

namespace {

// Values with a fractional part, as measured quantities have.
double ValueAt(int seed)
{
    return (seed % 100000) * 0.37 + 0.125;
}

void Fill(TEntityData& values, int& seed)
{
    for (double& value : values)
        value = ValueAt(seed++);
}

template <std::size_t N>
void Fill(std::array<TEntityData, N>& quantities, int& seed)
{
    for (TEntityData& values : quantities)
        Fill(values, seed);
}

void FillLargeItems(std::vector<ozr_wu_large_item>& items, int& seed)
{
    for (int i = 0; i < 2; ++i) {
        ozr_wu_large_item item;
        item.ItemName = "Item " + std::to_string(seed);
        item.ItemClass = 1 + i;
        Fill(item.WaterUse, seed);
        items.push_back(item);
    }
}

void FillTables(TRegionTables& t, int seed)
{
    t.FWAYear = t.FWBYear = t.FWUYear = 2006;
    t.FWULTAAFromYear = t.FWALTAAFromYear = t.FWBLTAAFromYear = 1971;
    t.FWULTAAToYear = t.FWALTAAToYear = t.FWBLTAAToYear = 2000;
    t.FWURemarks = t.FWARemarks = t.FWBRemarks = "Estimated from the national statistics";
    for (TWaterUseData1* table :
         {&t.FWUTotalFreshwaterUsed, &t.FWUPublicWaterSupply, &t.FWUSelfSupply, &t.FWANonFreshwater,
          &t.FWAAbstractionForSelfSupplyTotalSW, &t.FWAAbstractionForSelfSupplyTotalGW})
        Fill(*table, seed);
    for (TWaterUseData2* table : {&t.FWURecycledWater, &t.FWBReusedWater, &t.FWBDesalinatedWater})
        Fill(*table, seed);
    for (TEntityData* values :
         {&t.FWATotalAbstraction, &t.FWATotalAbstractionSW, &t.FWATotalAbstractionGW,
          &t.FWATotalAbstractionFromRainwater, &t.FWATotalAbstractionForHydropower,
          &t.FWAAvailableGroundwater, &t.FWAEvaporationLosses, &t.FWAForPublicWSS,
          &t.FWAForPublicWSSSW, &t.FWAForPublicWSSGW, &t.FWAForPublicWSSFromRainwater,
          &t.FWAAbstractionForSelfSupplyTotal, &t.FWAForSelfSupplyFromRainwater,
          &t.FWBLossesBetwnUseAndReuse})
        Fill(*values, seed);
    Fill(t.FWBHydrometeorological, seed);
    Fill(t.FWBWaterStorage, seed);
    Fill(t.FWBReturned, seed);
    Fill(t.FWBAdditional, seed);
    t.FWANonFWSource.fill(nfsMarine);
    t.FWBArtifGWOrigin = agoReturnFlow;
    t.FWBReturnedUnit = t.FWBReusedUnit = "RBD";
    t.FWBImportsOrigin = t.FWBExportsDestination = "Neighbouring country";
    FillLargeItems(t.FWULargeItemsCity, seed);
    FillLargeItems(t.FWULargeItemsIndustry, seed);
    FillLargeItems(t.FWULargeItemsAgricUnit, seed);
}

void FillStation(TEntity& station, int n)
{
    station.FName = "Station " + std::to_string(n);
    station.FLatitude = 38.0 + n * 1e-4;
    station.FLongitude = 23.0 + n * 1e-4;
    station.FAltitude = 100 + n % 900;
    station.FCoordinateSystem = "WGS84";
}

void AddStation(TRegion* region, int n)
{
    const std::string id = "S" + std::to_string(n);
    int seed = n;
    if (n < BenchStreamFlows) {
        auto* flow = new TStreamFlow(region, id);
        FillStation(*flow, n);
        flow->FRiver = "River " + std::to_string(n);
        flow->FAnnualData = ValueAt(seed++);
        for (double& value : flow->FDailyData)
            value = ValueAt(seed++);
        for (double& value : flow->FMonthlyData)
            value = ValueAt(seed++);
        return;
    }
    switch (n % 3) {
        case 0: {
            auto* well = new TWell(region, id);
            FillStation(*well, n);
            Fill(well->FMeanLevel, seed);
            break;
        }
        case 1: {
            auto* reservoir = new TReservoir(region, id);
            FillStation(*reservoir, n);
            Fill(reservoir->FInflow, seed);
            Fill(reservoir->FOutflow, seed);
            break;
        }
        default: {
            auto* gauge = new TRainGauge(region, id);
            FillStation(*gauge, n);
            gauge->FTimeScale = tsDaily;
        }
    }
}

}  // namespace

void BuildRegionTree()
{
    auto* country = new TRegion(nullptr, rtCountry, "GR");
    country->FName = "Greece";
    for (int i = 0; i < BenchRegions; ++i) {
        auto* region = new TRegion(country, rtRBD, "GR" + std::to_string(i));
        region->FName = "District " + std::to_string(i);
    }
}

void FillSession()
{
    TSession& session = CurrentSession();
    session.SetCountry(static_cast<TRegion*>(session.FCountries[0]));
    session.FResponsible = "Benchmark";
    for (int i = 0; i < BenchRegions; ++i)
        FillTables(static_cast<TRegion*>(session.FRBDs[i])->EditTables(), i * 3000);
    for (int n = 0; n < BenchStations; ++n)
        AddStation(static_cast<TRegion*>(session.FRBDs[n % BenchRegions]), n);
}
