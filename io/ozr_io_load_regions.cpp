// The region tree from the regions file: one region per element, depth first,
// the first region of a code kept and every later one reported.
//
// A regions file normally repeats no code and keeps the plain form that the
// program writes. Into a session without regions it is therefore first
// scanned straight from its bytes and every element made a region, noting
// each code's fingerprint per list. Only when two fingerprints of one list
// agree, or the scanner gives up, or anything fails, is that undone and the
// tree read again through the document binding with a look-up per element,
// which warns about and merges duplicates and fails where it must. Both ways
// leave the session the same; the first spares building a document and a
// probe of the code index per region.
//
// A load that fails leaves the session as it was: the regions it made are
// freed again.

#include <array>
#include <cstdint>
#include <numeric>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/ozr_io_load.h"
#include "io/regions_file_scanner.h"
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

// The elements in creation order: take makes, or finds, the region of each
// one and returns it as the parent of the element's children.
void ReadNuts(const TXMLOZR_WQ_Regions_Country& Source, TRegion* Country, TCheckedReader& take)
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

void ReadDistricts(const TXMLOZR_WQ_Regions_Country& Source, TRegion* Country, TCheckedReader& take)
{
    for (const auto& districtElement : Source.RBD()) {
        TRegion* district = take(districtElement, rtRBD, Country);
        for (const auto& subUnitElement : districtElement.SU())
            take(subUnitElement, rtSU, district);
    }
    for (const auto& basinElement : Source.RB())
        take(basinElement, rtRB, Country);
}

void ReadTree(const TXMLOZR_WQ_Regions& Root, TCheckedReader& take)
{
    for (const auto& countryElement : Root) {
        TRegion* country = take(countryElement, rtCountry, nullptr);
        ReadNuts(countryElement, country, take);
        ReadDistricts(countryElement, country, take);
    }
}

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
class TUncheckedReader : public TRegionTreeBuilder {
public:
    explicit TUncheckedReader(TSession& Target) : target_(Target) {}

    TRegion* Take(TRegionType Type, TRegion* Parent, std::string_view Code,
                  std::string_view Name) override
    {
        std::vector<TNotedCode>& noted = codes_[Type];
        noted.push_back(TNotedCode{KeyFingerprint(Code)} << 32 | noted.size());
        return new TRegion(Parent, Type, Code, Name);
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

// Frees the regions made since it was set up, unless the load is kept. They
// stand last in FRegions in the order of their making; freed from the latest
// on, each one is a leaf when it goes, and every list is left as it was.
class TLoadUndo {
public:
    explicit TLoadUndo(TSession& Target) : target_(Target), before_(Target.FRegions.Count()) {}
    ~TLoadUndo()
    {
        if (!kept_)
            Undo();
    }
    TLoadUndo(const TLoadUndo&) = delete;
    TLoadUndo& operator=(const TLoadUndo&) = delete;

    void Keep() { kept_ = true; }

private:
    void Undo()
    {
        while (target_.FRegions.Count() > before_)
            delete target_.FRegions[target_.FRegions.Count() - 1];
    }

    TSession& target_;
    const int before_;
    bool kept_ = false;
};

// True when the scanner read the whole file and no list repeats a code.
// Otherwise the session is left as it came.
bool ReadWithoutLookUps(TSession& Target)
{
    TLoadUndo undo(Target);
    TUncheckedReader reader(Target);
    try {
        if (ScanRegionsFile(Target.FRegionsFile, reader) && reader.CodesAreDistinct()) {
            undo.Keep();
            return true;
        }
    } catch (...) {
        // The checked reading meets the same fault and reports it as it must.
    }
    return false;
}

}  // namespace

void LoadRegions()
{
    if (!Session)
        throw Exception("No session has been created.");
    TSession& target = *Session;
    if (target.FRegions.Count() == 0 && ReadWithoutLookUps(target))
        return;
    const TXMLOZR_WQ_Regions root = LoadOZR_WQ_Regions(target.FRegionsFile);
    TLoadUndo undo(target);
    TCheckedReader reader(target);
    ReadTree(root, reader);
    undo.Keep();
}
