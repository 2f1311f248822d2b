#pragma once

// What the overview of the main window lists: every region that holds national
// table data or stations, in the order of the session's regions, with marks
// for its three tables and the number of its stations of each kind.

#include <array>
#include <vector>

class TRegion;
class TSession;

struct TRegionsOverviewRow {
    const TRegion* Region = nullptr;
    bool WaterBalance = false;
    bool WaterAbstraction = false;
    bool WaterUse = false;
    // Wells, reservoirs, stream-flow stations and rain gauges, in this order.
    std::array<int, 4> Stations{};
};

// One pass over each station list and one over the regions, so that a
// refill after every command stays linear in the size of the session.
std::vector<TRegionsOverviewRow> RegionsOverviewRows(const TSession& Session);
