// The region tree from the regions file: one region per element, depth first,
// the first region of a code kept and every later one reported.
//
// A regions file normally repeats no code. Into a session without regions the
// tree is therefore read first without look-ups, noting each code's
// fingerprint per list. Only when two fingerprints of one list agree, or the
// reading fails, is that undone and the tree read again with a look-up per
// element, which warns about and merges duplicates and fails where it must.
// Both ways leave the session the same; the first spares a probe of the code
// index per region.
//
// Codes and names are read as views into the document, so a region's texts
// are copied once, into the region itself.

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/ozr_io_load.h"
#include "model/key_index.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "xml/ozr_xml_regions.h"

namespace {

using TRegionElement = TXMLOZR_WQ_Regions_Region;

const char* DuplicateWords(TRegionType Type)
{
    switch (Type) {
        case rtCountry: return "countries";
        case rtNUTS1: return "regions NUTS1";
        case rtNUTS2: return "regions NUTS2";
        case rtNUTS3: return "regions NUTS3";
        case rtRBD: return "RBDs";
        case rtSU: return "Sub-units";
        case rtRB: return "RBs";
    }
    return "regions";
}

void WarnDuplicate(TRegionType Type, std::string_view Code)
{
    Dialogs().MessageDlg("Found two " + std::string(DuplicateWords(Type)) +
                             " with the same code: " + std::string(Code) +
                             ". Second one has been ignored. ",
                         TMsgDlgType::mtWarning, mbOK);
}

// The elements in creation order: Take makes, or finds, the region of each
// one and returns it as the parent of the element's children.
template <class Take>
void ReadNuts(const TXMLOZR_WQ_Regions_Country& Source, TRegion* Country, Take& take)
{
    for (const auto& nuts1Element : Source.NUTS1()) {
        TRegion* nuts1 = take(nuts1Element, rtNUTS1, Country);
        for (const auto& nuts2Element : nuts1Element.NUTS2()) {
            TRegion* nuts2 = take(nuts2Element, rtNUTS2, nuts1);
            for (const auto& nuts3Element : nuts2Element.NUTS3())
                take(nuts3Element, rtNUTS3, nuts2);
        }
    }
}

template <class Take>
void ReadDistricts(const TXMLOZR_WQ_Regions_Country& Source, TRegion* Country, Take& take)
{
    for (const auto& districtElement : Source.RBD()) {
        TRegion* district = take(districtElement, rtRBD, Country);
        for (const auto& subUnitElement : districtElement.SU())
            take(subUnitElement, rtSU, district);
    }
    for (const auto& basinElement : Source.RB())
        take(basinElement, rtRB, Country);
}

template <class Take>
void ReadTree(const TXMLOZR_WQ_Regions& Root, Take& take)
{
    for (const auto& countryElement : Root) {
        TRegion* country = take(countryElement, rtCountry, nullptr);
        ReadNuts(countryElement, country, take);
        ReadDistricts(countryElement, country, take);
    }
}

// Looks every code up in the list of its type before anything else: a known
// one is warned about and its region kept, and its name is not read.
//
// A sub-unit code may recur under river basin districts of other codes, but
// not under one district. The look-up gives the first sub-unit of a code only,
// so a sub-unit made while an earlier one of its code stood elsewhere is noted:
// a repeat of it under its district is still found.
class TCheckedReader {
public:
    explicit TCheckedReader(TSession& Target) : target_(Target) {}

    TRegion* operator()(const TRegionElement& Source, TRegionType Type, TRegion* Parent)
    {
        const std::string_view code = Source.CodeView();
        TRegion* found = nullptr;
        const bool known = FindRegionByCode(*target_.RegionList(Type), code, found);
        if (known && (Type != rtSU || RepeatsUnder(*Parent, *found, code))) {
            WarnDuplicate(Type, code);
            return found;
        }
        auto* region = new TRegion(Parent, Type, code, Source.NameView());
        if (known)
            notedElsewhere_.insert({Parent, std::string(code)});
        return region;
    }

private:
    bool RepeatsUnder(const TRegion& District, const TRegion& FirstSubUnit,
                      std::string_view Code) const
    {
        const TRegion* firstDistrict = FirstSubUnit.GetParent();
        return (firstDistrict && firstDistrict->GetCode() == District.GetCode()) ||
               notedElsewhere_.count({&District, std::string(Code)}) != 0;
    }

    TSession& target_;
    std::set<std::pair<const TRegion*, std::string>> notedElsewhere_;
};

// A code's fingerprint in the high half, the region's position in the list of
// its type in the low half.
using TNotedCode = std::uint64_t;

std::uint32_t FingerprintOf(TNotedCode Noted)
{
    return static_cast<std::uint32_t>(Noted >> 32);
}

int PositionOf(TNotedCode Noted)
{
    return static_cast<int>(Noted & 0xFFFFFFFFu);
}

// By fingerprint, in four passes of one byte each: linear in the number of
// codes, where a comparison sort of a large list costs several times as much.
void SortByFingerprint(std::vector<TNotedCode>& Codes)
{
    std::vector<TNotedCode> sorted(Codes.size());
    for (unsigned shift = 32; shift < 64; shift += 8) {
        std::array<std::size_t, 256> starts{};
        for (const TNotedCode code : Codes)
            ++starts[(code >> shift) & 0xFF];
        std::exclusive_scan(starts.begin(), starts.end(), starts.begin(), std::size_t{0});
        for (const TNotedCode code : Codes)
            sorted[starts[(code >> shift) & 0xFF]++] = code;
        Codes.swap(sorted);
    }
}

const std::string& CodeAt(const TListOZR& List, TNotedCode Noted)
{
    return static_cast<const TRegion*>(List[PositionOf(Noted)])->GetCode();
}

// Only codes of one fingerprint can be equal; they are compared in full.
bool AllDistinct(std::vector<TNotedCode>& Codes, const TListOZR& List)
{
    SortByFingerprint(Codes);
    for (std::size_t first = 0; first < Codes.size();) {
        std::size_t end = first + 1;
        while (end < Codes.size() && FingerprintOf(Codes[end]) == FingerprintOf(Codes[first]))
            ++end;
        for (std::size_t i = first; i < end; ++i)
            for (std::size_t j = i + 1; j < end; ++j)
                if (CodeAt(List, Codes[i]) == CodeAt(List, Codes[j]))
                    return false;
        first = end;
    }
    return true;
}

// Makes every element a new region and notes its code in the list of its type.
class TUncheckedReader {
public:
    explicit TUncheckedReader(TSession& Target) : target_(Target) {}

    TRegion* operator()(const TRegionElement& Source, TRegionType Type, TRegion* Parent)
    {
        const std::string_view code = Source.CodeView();
        std::vector<TNotedCode>& noted = codes_[Type];
        noted.push_back(TNotedCode{KeyFingerprint(code)} << 32 | noted.size());
        return new TRegion(Parent, Type, code, Source.NameView());
    }

    // False when two regions of one list share a code.
    bool CodesAreDistinct()
    {
        for (std::size_t type = 0; type < codes_.size(); ++type)
            if (!AllDistinct(codes_[type], *target_.RegionList(static_cast<TRegionType>(type))))
                return false;
        return true;
    }

private:
    TSession& target_;
    std::array<std::vector<TNotedCode>, rtRB + 1> codes_;
};

void FreeRegions(TSession& Target)
{
    while (Target.FRegions.Count() > 0)
        delete Target.FRegions[Target.FRegions.Count() - 1];
}

// True when the whole tree was read and no list repeats a code. Otherwise the
// session is left without regions, as it came.
bool ReadWithoutLookUps(const TXMLOZR_WQ_Regions& Root, TSession& Target)
{
    TUncheckedReader reader(Target);
    try {
        ReadTree(Root, reader);
        if (reader.CodesAreDistinct())
            return true;
    } catch (...) {
        // The checked reading meets the same fault and reports it as it must.
    }
    FreeRegions(Target);
    return false;
}

}  // namespace

void LoadRegions()
{
    if (!Session)
        throw Exception("No session has been created.");
    TSession& target = *Session;
    const TXMLOZR_WQ_Regions root = LoadOZR_WQ_Regions(target.FRegionsFile);
    if (target.FRegions.Count() == 0 && ReadWithoutLookUps(root, target))
        return;
    TCheckedReader reader(target);
    ReadTree(root, reader);
}
