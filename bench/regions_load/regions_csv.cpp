#include "bench/regions_load/regions_csv.h"

#include <array>
#include <fstream>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

struct CsvRow {
    std::string Country;
    std::string Level;
    std::string Code;
    std::string Name;
    std::string Parent;
};

CsvRow SplitRow(const std::string& line)
{
    std::array<std::string, 5> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::size_t end = i + 1 < fields.size() ? line.find(';', start) : line.size();
        if (end == std::string::npos) {
            throw std::runtime_error("Too few fields in: " + line);
        }
        fields[i] = line.substr(start, end - start);
        start = end + 1;
    }
    return {fields[0], fields[1], fields[2], fields[3], fields[4]};
}

std::vector<CsvRow> ReadRows(const std::string& fileName)
{
    std::ifstream file(fileName);
    if (!file) {
        throw std::runtime_error("Cannot read " + fileName);
    }
    std::vector<CsvRow> rows;
    std::string line;
    std::getline(file, line);  // header
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            rows.push_back(SplitRow(line));
        }
    }
    return rows;
}

// The rows are linked by parent code; the tree is laid out afterwards so that
// the order of the list, not the order of parents, decides the file order.
struct Linked {
    CsvRow Row;
    std::vector<std::size_t> Children;
};

const char* TagOfLevel(const std::string& level)
{
    if (level == "0")
        return "Country";
    if (level == "1")
        return "NUTS1";
    if (level == "2")
        return "NUTS2";
    if (level == "3")
        return "NUTS3";
    if (level == "RBD")
        return "RBD";
    throw std::runtime_error("Unknown level: " + level);
}

RegionNode Build(const std::vector<Linked>& linked, std::size_t index)
{
    const CsvRow& row = linked[index].Row;
    RegionNode node{TagOfLevel(row.Level), row.Code, row.Name, {}};
    for (std::size_t child : linked[index].Children) {
        node.Children.push_back(Build(linked, child));
    }
    return node;
}

}  // namespace

RegionForest ReadRegionsCsv(const std::string& fileName)
{
    std::vector<Linked> linked;
    for (CsvRow& row : ReadRows(fileName)) {
        linked.push_back({std::move(row), {}});
    }
    // NUTS and district codes may coincide, so parents are looked up among
    // the countries and NUTS regions only: a district is never a parent.
    std::map<std::string, std::size_t> parents;
    for (std::size_t i = 0; i < linked.size(); ++i) {
        if (linked[i].Row.Level != "RBD") {
            parents.emplace(linked[i].Row.Code, i);
        }
    }
    RegionForest countries;
    std::vector<std::size_t> roots;
    for (std::size_t i = 0; i < linked.size(); ++i) {
        const CsvRow& row = linked[i].Row;
        if (row.Level == "0") {
            roots.push_back(i);
            continue;
        }
        auto parent = parents.find(row.Level == "RBD" ? row.Country : row.Parent);
        if (parent == parents.end()) {
            throw std::runtime_error("No parent for " + row.Code);
        }
        linked[parent->second].Children.push_back(i);
    }
    for (std::size_t root : roots) {
        countries.push_back(Build(linked, root));
    }
    return countries;
}
