#pragma once

// A region tree as the regions file nests it, built in memory so that the
// benchmark can write files of any size without keeping them in the project.

#include <cstddef>
#include <string>
#include <vector>

struct RegionNode {
    std::string Tag;  // Country, NUTS1, NUTS2, NUTS3, RBD, SU or RB
    std::string Code;
    std::string Name;
    std::vector<RegionNode> Children;
};

using RegionForest = std::vector<RegionNode>;  // the countries

std::size_t CountRegions(const RegionForest& countries);

// Writes the tree in the regions file's own layout: byte-order mark,
// declaration line, CR LF line ends, two spaces of indentation per level.
void WriteRegionsFile(const RegionForest& countries, const std::string& fileName);
