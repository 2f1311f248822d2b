// The region tree from the regions file: one region per element, depth first,
// the first region of a code kept and every later one reported.

#include <set>
#include <string>
#include <utility>

#include "io/ozr_io_load.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "xml/ozr_xml_regions.h"

namespace {

void WarnDuplicate(const char* What, const std::string& Code)
{
    Dialogs().MessageDlg("Found two " + std::string(What) + " with the same code: " + Code +
                             ". Second one has been ignored. ",
                         TMsgDlgType::mtWarning, mbOK);
}

TRegion* CreateRegion(TRegion* Parent, TRegionType Type, const std::string& Code,
                      const std::string& Name)
{
    auto* region = new TRegion(Parent, Type, Code);
    region->FName = Name;
    return region;
}

// The region of the element: the one already read with its code, or a new one.
template <class Element>
TRegion* TakeRegion(const Element& Source, const TListOZR& Known, TRegion* Parent, TRegionType Type,
                    const char* What)
{
    const std::string code = Source.Code();
    TRegion* found = nullptr;
    if (FindRegionByCode(Known, code, found)) {
        WarnDuplicate(What, code);
        return found;
    }
    return CreateRegion(Parent, Type, code, Source.Name());
}

// A sub-unit code may recur under river basin districts of other codes, but
// not under one district. The look-up gives the first sub-unit of a code only,
// so a sub-unit made while an earlier one of its code stood elsewhere is noted:
// a repeat of it under its district is still found.
class TSubUnitReader {
public:
    explicit TSubUnitReader(TSession& Target) : target_(Target) {}

    void Take(const TXMLOZR_WQ_Regions_Country_RBD_SU& Source, TRegion* District)
    {
        const std::string code = Source.Code();
        TRegion* first = nullptr;
        const bool known = FindRegionByCode(target_.FSUs, code, first);
        if (known &&
            (UnderDistrictOfCode(*first, *District) || notedElsewhere_.count({District, code}))) {
            WarnDuplicate("Sub-units", code);
            return;
        }
        CreateRegion(District, rtSU, code, Source.Name());
        if (known)
            notedElsewhere_.insert({District, code});
    }

private:
    static bool UnderDistrictOfCode(const TRegion& SubUnit, const TRegion& District)
    {
        return SubUnit.GetParent() && SubUnit.GetParent()->GetCode() == District.GetCode();
    }

    TSession& target_;
    std::set<std::pair<const TRegion*, std::string>> notedElsewhere_;
};

template <class List, class ReadOne>
void ForEach(const List& Items, ReadOne Read)
{
    for (int i = 0; i < Items.Count(); ++i)
        Read(Items.Items(i));
}

void ReadNuts(const TXMLOZR_WQ_Regions_Country& Source, TSession& Target, TRegion* Country)
{
    ForEach(Source.NUTS1(), [&](const TXMLOZR_WQ_Regions_Country_NUTS1& nuts1Element) {
        TRegion* nuts1 = TakeRegion(nuts1Element, Target.FNUTS1, Country, rtNUTS1, "regions NUTS1");
        ForEach(nuts1Element.NUTS2(),
                [&](const TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2& nuts2Element) {
                    TRegion* nuts2 =
                        TakeRegion(nuts2Element, Target.FNUTS2, nuts1, rtNUTS2, "regions NUTS2");
                    ForEach(nuts2Element.NUTS3(), [&](const auto& nuts3Element) {
                        TakeRegion(nuts3Element, Target.FNUTS3, nuts2, rtNUTS3, "regions NUTS3");
                    });
                });
    });
}

void ReadDistricts(const TXMLOZR_WQ_Regions_Country& Source, TSession& Target,
                   TSubUnitReader& SubUnits, TRegion* Country)
{
    ForEach(Source.RBD(), [&](const TXMLOZR_WQ_Regions_Country_RBD& districtElement) {
        TRegion* district = TakeRegion(districtElement, Target.FRBDs, Country, rtRBD, "RBDs");
        ForEach(districtElement.SU(),
                [&](const auto& subUnitElement) { SubUnits.Take(subUnitElement, district); });
    });
    ForEach(Source.RB(), [&](const TXMLOZR_WQ_Regions_Country_RB& basinElement) {
        TakeRegion(basinElement, Target.FRBs, Country, rtRB, "RBs");
    });
}

}  // namespace

void LoadRegions()
{
    if (!Session)
        throw Exception("No session has been created.");
    TSession& target = *Session;
    const TXMLOZR_WQ_Regions root = LoadOZR_WQ_Regions(target.FRegionsFile);
    TSubUnitReader subUnits(target);
    ForEach(root, [&](const TXMLOZR_WQ_Regions_Country& countryElement) {
        TRegion* country =
            TakeRegion(countryElement, target.FCountries, nullptr, rtCountry, "countries");
        ReadNuts(countryElement, target, country);
        ReadDistricts(countryElement, target, subUnits, country);
    });
}
