#include <algorithm>

#include "model/ozr_types.h"

const std::array<const char*, 16> WaterUseData1Sectors{"total",
                                                       "domestic",
                                                       "nace_a",
                                                       "nace_a_irrgation",
                                                       "nace_b",
                                                       "nace_c",
                                                       "nace_c_food_ind",
                                                       "nace_c_basic_metals",
                                                       "nace_c_transport",
                                                       "nace_c_textiles",
                                                       "nace_c_cooling",
                                                       "nace_d",
                                                       "nace_d_cooling",
                                                       "nace_d_hydropower",
                                                       "nace_i",
                                                       "other"};

const std::array<const char*, 11> WaterUseData2Sectors{
    "total",          "domestic", "nace_a",         "nace_a_irrgation", "nace_b", "nace_c",
    "nace_c_cooling", "nace_d",   "nace_d_cooling", "nace_i",           "other"};

namespace {

// The writer's own threshold, one above the missing value.
constexpr double WriterThreshold = -9998.0;

// The region predicates' test: a value above the missing value. A value that
// is not a number fails it.
bool AnyAboveMissing(const TEntityData& quantity)
{
    return std::any_of(quantity.begin(), quantity.end(),
                       [](double value) { return value > MissingReal; });
}

template <std::size_t N>
bool AnyAboveMissing(const std::array<TEntityData, N>& quantities)
{
    return std::any_of(quantities.begin(), quantities.end(),
                       [](const TEntityData& quantity) { return AnyAboveMissing(quantity); });
}

template <typename... Quantities>
bool AnyQuantityAboveMissing(const Quantities&... quantities)
{
    return (AnyAboveMissing(quantities) || ...);
}

template <std::size_t N>
void FillMissing(std::array<TEntityData, N>& quantities)
{
    quantities.fill(MissingReals<16>());
}

}  // namespace

void InitWaterUseData1(TWaterUseData1& Table)
{
    FillMissing(Table);
}

void InitWaterUseData2(TWaterUseData2& Table)
{
    FillMissing(Table);
}

void InitLargeItem(ozr_wu_large_item& Item)
{
    Item = ozr_wu_large_item{};
}

bool WaterUseData1HasData(const TWaterUseData1& Table)
{
    return AnyAboveMissing(Table);
}

bool WaterUseData2HasData(const TWaterUseData2& Table)
{
    return AnyAboveMissing(Table);
}

bool ArrayHasData(std::span<const double> Values)
{
    return ArrayRangeHasData(Values, 0, static_cast<int>(Values.size()) - 1);
}

bool ArrayRangeHasData(std::span<const double> Values, int First, int Last)
{
    First = std::max(First, 0);
    Last = std::min(Last, static_cast<int>(Values.size()) - 1);
    for (int i = First; i <= Last; ++i)
        if (Values[static_cast<std::size_t>(i)] > WriterThreshold)
            return true;
    return false;
}

TRegionTables::TRegionTables()
{
    for (TWaterUseData1* table :
         {&FWUTotalFreshwaterUsed, &FWUPublicWaterSupply, &FWUSelfSupply, &FWANonFreshwater,
          &FWAAbstractionForSelfSupplyTotalSW, &FWAAbstractionForSelfSupplyTotalGW})
        InitWaterUseData1(*table);
    for (TWaterUseData2* table : {&FWURecycledWater, &FWBReusedWater, &FWBDesalinatedWater})
        InitWaterUseData2(*table);
    for (TEntityData* quantity :
         {&FWATotalAbstraction, &FWATotalAbstractionSW, &FWATotalAbstractionGW,
          &FWATotalAbstractionFromRainwater, &FWATotalAbstractionForHydropower,
          &FWAAvailableGroundwater, &FWAEvaporationLosses, &FWAForPublicWSS, &FWAForPublicWSSSW,
          &FWAForPublicWSSGW, &FWAForPublicWSSFromRainwater, &FWAAbstractionForSelfSupplyTotal,
          &FWAForSelfSupplyFromRainwater, &FWBLossesBetwnUseAndReuse})
        *quantity = MissingReals<16>();
    FillMissing(FWBHydrometeorological);
    FillMissing(FWBWaterStorage);
    FillMissing(FWBReturned);
    FillMissing(FWBAdditional);
    FWANonFWSource.fill(nfsUnknown);
}

bool TRegionTables::HasHydrometeorologicalData() const
{
    return AnyAboveMissing(FWBHydrometeorological);
}

bool TRegionTables::HasWaterStorageData() const
{
    return AnyAboveMissing(FWBWaterStorage);
}

bool TRegionTables::HasReturnedReusedWaterData() const
{
    const TRegionTables& t = *this;
    return AnyQuantityAboveMissing(t.FWBReturned, t.FWBLossesBetwnUseAndReuse) ||
           WaterUseData2HasData(t.FWBReusedWater);
}

bool TRegionTables::HasAdditionalWaterResourcesData() const
{
    const TRegionTables& t = *this;
    return WaterUseData2HasData(t.FWBDesalinatedWater) || AnyAboveMissing(t.FWBAdditional);
}

bool TRegionTables::HasWaterBalanceData() const
{
    return HasHydrometeorologicalData() || HasWaterStorageData() || HasReturnedReusedWaterData() ||
           HasAdditionalWaterResourcesData();
}

bool TRegionTables::HasWaterUseData() const
{
    const TRegionTables& t = *this;
    return WaterUseData1HasData(t.FWUTotalFreshwaterUsed) ||
           WaterUseData1HasData(t.FWUPublicWaterSupply) || WaterUseData1HasData(t.FWUSelfSupply) ||
           WaterUseData2HasData(t.FWURecycledWater) || !t.FWULargeItemsCity.empty() ||
           !t.FWULargeItemsIndustry.empty() || !t.FWULargeItemsAgricUnit.empty();
}

bool TRegionTables::HasPublicWSSAbstractionData() const
{
    const TRegionTables& t = *this;
    return AnyQuantityAboveMissing(t.FWAForPublicWSS, t.FWAForPublicWSSSW, t.FWAForPublicWSSGW,
                                   t.FWAForPublicWSSFromRainwater);
}

bool TRegionTables::HasSelfSupplyAbstractionData() const
{
    const TRegionTables& t = *this;
    return AnyQuantityAboveMissing(t.FWAAbstractionForSelfSupplyTotal,
                                   t.FWAForSelfSupplyFromRainwater) ||
           WaterUseData1HasData(t.FWAAbstractionForSelfSupplyTotalSW) ||
           WaterUseData1HasData(t.FWAAbstractionForSelfSupplyTotalGW);
}

bool TRegionTables::HasTotalAbstractionData() const
{
    const TRegionTables& t = *this;
    return AnyQuantityAboveMissing(t.FWATotalAbstraction, t.FWATotalAbstractionSW,
                                   t.FWATotalAbstractionGW, t.FWATotalAbstractionFromRainwater,
                                   t.FWATotalAbstractionForHydropower, t.FWAAvailableGroundwater,
                                   t.FWAEvaporationLosses) ||
           WaterUseData1HasData(t.FWANonFreshwater);
}

bool TRegionTables::HasWaterAbstractionData() const
{
    return HasTotalAbstractionData() || HasPublicWSSAbstractionData() ||
           HasSelfSupplyAbstractionData();
}

bool TRegion::HasData() const
{
    if (HasTables() && (HasWaterBalanceData() || HasWaterUseData() || HasWaterAbstractionData()))
        return true;
    return HasStations();
}
