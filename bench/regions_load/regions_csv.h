#pragma once

// Reads a reference list of regions (country_code;level;code;name;parent_code,
// a header line, ";" never quoted) into the tree of the regions file. Levels
// 0 to 3 are the country and its NUTS levels; "RBD" hangs under its country.

#include <string>

#include "bench/regions_load/region_tree.h"

RegionForest ReadRegionsCsv(const std::string& fileName);
