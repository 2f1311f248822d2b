#include "appcore/regions_overview.h"

#include <unordered_map>

#include "model/ozr_types.h"

namespace {

using TStationCounts = std::unordered_map<const TRegion*, std::array<int, 4>>;

TStationCounts CountStationsByRegion(const TSession& Session)
{
    const std::array<const TListOZR*, 4> kinds = {&Session.FWells, &Session.FReservoirs,
                                                  &Session.FStreamFlows, &Session.FRainGauges};
    TStationCounts counts;
    counts.reserve(static_cast<std::size_t>(Session.FRegions.Count()));
    for (std::size_t kind = 0; kind < kinds.size(); ++kind)
        for (const TObject* station : *kinds[kind])
            ++counts[static_cast<const TEntity*>(station)->FRegion][kind];
    return counts;
}

}  // namespace

std::vector<TRegionsOverviewRow> RegionsOverviewRows(const TSession& Session)
{
    const TStationCounts counts = CountStationsByRegion(Session);
    std::vector<TRegionsOverviewRow> rows;
    for (const TObject* item : Session.FRegions) {
        const auto* region = static_cast<const TRegion*>(item);
        TRegionsOverviewRow row;
        row.Region = region;
        // A region that never had its tables written holds none of their data.
        if (region->HasTables()) {
            row.WaterBalance = region->HasWaterBalanceData();
            row.WaterAbstraction = region->HasWaterAbstractionData();
            row.WaterUse = region->HasWaterUseData();
        }
        const auto found = counts.find(region);
        if (found != counts.end())
            row.Stations = found->second;
        if (row.WaterBalance || row.WaterAbstraction || row.WaterUse || found != counts.end())
            rows.push_back(row);
    }
    return rows;
}
