#pragma once

// A region tree of exactly the given number of regions, shaped like a real
// one: each country with NUTS levels 1 to 3, districts with sub-units, and
// basins. Codes are unique per type, names carry accented letters.

#include <cstddef>

#include "bench/regions_load/region_tree.h"

RegionForest SyntheticRegions(std::size_t regionCount);
