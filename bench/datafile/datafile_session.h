#pragma once

// The session the data-file benchmark saves and loads: 2,000 regions with
// every national table full, 5,000 stations, 1,000 of them stream-flow
// stations with a whole year of daily values.

#include "model/ozr_types.h"

inline constexpr int BenchRegions = 2000;
inline constexpr int BenchStations = 5000;
inline constexpr int BenchStreamFlows = 1000;

// The country and its regions, without data, in the current Session: the
// tree that a data file is read into.
void BuildRegionTree();

// Fills every table of every region and adds the stations.
void FillSession();
