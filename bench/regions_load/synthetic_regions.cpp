#include "bench/regions_load/synthetic_regions.h"

#include <string>

namespace {

// Fan-out below each kind of node, as a country of middle size has it.
constexpr std::size_t kNuts1PerCountry = 4;
constexpr std::size_t kNuts2PerNuts1 = 4;
constexpr std::size_t kNuts3PerNuts2 = 6;
constexpr std::size_t kRbdsPerCountry = 8;
constexpr std::size_t kSusPerRbd = 3;
constexpr std::size_t kRbsPerCountry = 6;

class Generator {
public:
    explicit Generator(std::size_t budget) : budget_(budget) {}

    RegionForest Run()
    {
        RegionForest countries;
        for (std::size_t n = 1; budget_ > 0; ++n) {
            countries.push_back(Country(n));
        }
        return countries;
    }

private:
    // Takes one region from the budget; false when the budget is spent.
    bool Take()
    {
        if (budget_ == 0) {
            return false;
        }
        --budget_;
        return true;
    }

    RegionNode Country(std::size_t n)
    {
        Take();
        std::string code = "C" + std::to_string(n);
        RegionNode country{"Country", code, "Pays d'Écosse " + std::to_string(n), {}};
        for (std::size_t i = 1; i <= kNuts1PerCountry && Take(); ++i) {
            country.Children.push_back(Nuts1(code + "N" + std::to_string(i)));
        }
        for (std::size_t i = 1; i <= kRbdsPerCountry && Take(); ++i) {
            country.Children.push_back(Rbd(code + "D" + std::to_string(i)));
        }
        for (std::size_t i = 1; i <= kRbsPerCountry && Take(); ++i) {
            country.Children.push_back(Leaf("RB", code + "B" + std::to_string(i), "Fluß "));
        }
        return country;
    }

    RegionNode Nuts1(const std::string& code)
    {
        RegionNode node{"NUTS1", code, "Région " + code, {}};
        for (std::size_t i = 1; i <= kNuts2PerNuts1 && Take(); ++i) {
            node.Children.push_back(Nuts2(code + std::to_string(i)));
        }
        return node;
    }

    RegionNode Nuts2(const std::string& code)
    {
        RegionNode node{"NUTS2", code, "Província " + code, {}};
        for (std::size_t i = 1; i <= kNuts3PerNuts2 && Take(); ++i) {
            node.Children.push_back(Leaf("NUTS3", code + std::to_string(i), "Kraj Žilina "));
        }
        return node;
    }

    RegionNode Rbd(const std::string& code)
    {
        RegionNode node{"RBD", code, "Bassin " + code, {}};
        for (std::size_t i = 1; i <= kSusPerRbd && Take(); ++i) {
            node.Children.push_back(Leaf("SU", code + "S" + std::to_string(i), "Sous-unité "));
        }
        return node;
    }

    static RegionNode Leaf(const char* tag, const std::string& code, const std::string& name)
    {
        return {tag, code, name + code, {}};
    }

    std::size_t budget_;
};

}  // namespace

RegionForest SyntheticRegions(std::size_t regionCount)
{
    return Generator(regionCount).Run();
}
