// Writing the region tree back to the regions file.

#include <unordered_map>
#include <vector>

#include "io/atomic_file.h"
#include "io/ozr_io_save.h"
#include "platform/datetime.h"
#include "platform/exception.h"
#include "xml/xml_document.h"

namespace {

constexpr const char* RegionsCreator = "Tavrel-SoE WQ Data Request maintenance team";
constexpr const char* RegionsEmail = "wq-regions@tavrel-soe.example";
constexpr const char* RegionsText = "Regions used in the Tavrel-SoE WQ Data Request Application";

// The regions of one list grouped under their country or parent, each group in
// list order, so that the tree is written in one pass over every list.
class TRegionGroups {
public:
    using TKeyOf = const TRegion* (*)(const TRegion&);

    TRegionGroups(const TListOZR& List, TKeyOf KeyOf)
    {
        for (const TObject* item : List) {
            const auto* region = static_cast<const TRegion*>(item);
            groups_[KeyOf(*region)].push_back(region);
        }
    }

    const std::vector<const TRegion*>& Under(const TRegion* Key) const
    {
        static const std::vector<const TRegion*> none;
        const auto found = groups_.find(Key);
        return found == groups_.end() ? none : found->second;
    }

private:
    std::unordered_map<const TRegion*, std::vector<const TRegion*>> groups_;
};

const TRegion* CountryOf(const TRegion& Region)
{
    return Region.GetCountry();
}

const TRegion* ParentOf(const TRegion& Region)
{
    return Region.GetParent();
}

TXMLNode AddRegion(TXMLNode Parent, const char* Tag, const TRegion& Region)
{
    TXMLNode element = Parent.AddChild(Tag);
    element.AddChild("Code").SetText(Region.GetCode());
    element.AddChild("Name").SetText(Region.FName);
    return element;
}

// Adds a Tag element for every region of Groups under Key, and lets AddChildren
// fill each one.
template <class AddChildren>
void AddGroup(TXMLNode Parent, const char* Tag, const TRegionGroups& Groups, const TRegion* Key,
              AddChildren AddChildrenOf)
{
    for (const TRegion* region : Groups.Under(Key))
        AddChildrenOf(AddRegion(Parent, Tag, *region), region);
}

void AddNothing(TXMLNode, const TRegion*) {}

}  // namespace

void SaveRegions()
{
    if (!Session)
        throw Exception("No session has been created.");
    const TSession& session = *Session;
    const TRegionGroups nuts1(session.FNUTS1, CountryOf);
    const TRegionGroups nuts2(session.FNUTS2, ParentOf);
    const TRegionGroups nuts3(session.FNUTS3, ParentOf);
    const TRegionGroups districts(session.FRBDs, CountryOf);
    const TRegionGroups subUnits(session.FSUs, ParentOf);
    const TRegionGroups basins(session.FRBs, CountryOf);

    TXMLDocument document;
    TXMLNode root = document.AddRoot("OZR_WQ_Regions");
    root.SetAttribute("Creator", RegionsCreator);
    root.SetAttribute("CreationDate", DateTimeToText(Now()));
    root.SetAttribute("Email", RegionsEmail);
    root.SetAttribute("Remarks", "");
    root.SetText(RegionsText);
    for (const TObject* item : session.FCountries) {
        const auto& country = *static_cast<const TRegion*>(item);
        TXMLNode element = AddRegion(root, "Country", country);
        AddGroup(element, "NUTS1", nuts1, &country, [&](TXMLNode nuts1Element, const TRegion* n1) {
            AddGroup(nuts1Element, "NUTS2", nuts2, n1,
                     [&](TXMLNode nuts2Element, const TRegion* n2) {
                         AddGroup(nuts2Element, "NUTS3", nuts3, n2, AddNothing);
                     });
        });
        AddGroup(element, "RBD", districts, &country, [&](TXMLNode rbdElement, const TRegion* rbd) {
            AddGroup(rbdElement, "SU", subUnits, rbd, AddNothing);
        });
        AddGroup(element, "RB", basins, &country, AddNothing);
    }
    WriteFileAtomically(session.FRegionsFile, document.SaveToString());
}
