#include <algorithm>

#include "model/ozr_types.h"

namespace {

const char* DefaultName(TRegionType regionType)
{
    switch (regionType) {
        case rtCountry: return "Unknown country";
        case rtNUTS1: return "Unknown NUTS level 1";
        case rtNUTS2: return "Unknown NUTS level 2";
        case rtNUTS3: return "Unknown NUTS level 3";
        case rtRBD: return "Unknown RBD";
        case rtSU: return "Unknown Subunit";
        case rtRB: return "Unknown RB";
    }
    return "";
}

const TRegionTables& EmptyTables()
{
    static const TRegionTables empty;
    return empty;
}

}  // namespace

TRegion::TRegion(TRegion* Parent, TRegionType RegionType, const std::string& Code)
    : TRegion(Parent, RegionType, Code, DefaultName(RegionType))
{
}

TRegion::TRegion(TRegion* Parent, TRegionType RegionType, std::string_view Code,
                 std::string_view Name)
    : FName(Name), FSession(CurrentSession()), FCode(Code), FParent(Parent), FRegionType(RegionType)
{
    if (FParent)
        FParent->AddChild(this);
    for (TListOZR* list : TypeLists())
        if (list)
            list->Add(this);
    FSession.FRegions.Add(this);
}

TRegion::~TRegion()
{
    if (FParent)
        FParent->RemoveChild(this);
    while (!FChildren.empty())
        delete FChildren.back();
    for (TListOZR* list :
         {&FSession.FReservoirs, &FSession.FRainGauges, &FSession.FWells, &FSession.FStreamFlows})
        FreeStationsIn(*list);
    for (TListOZR* list : TypeLists())
        if (list)
            list->Remove(this);
    FSession.FRegions.Remove(this);
}

TRegion* TRegion::GetChild(int Index) const
{
    return FChildren.at(static_cast<std::size_t>(Index));
}

// A region with children mostly has a handful: room for them comes at once
// instead of in doublings from one.
void TRegion::AddChild(TRegion* Child)
{
    constexpr std::size_t kFirstRoom = 8;
    if (FChildren.capacity() == 0)
        FChildren.reserve(kFirstRoom);
    FChildren.push_back(Child);
}

TRegion* TRegion::GetCountry() const
{
    TRegion* country = nullptr;
    for (const TRegion* region = this; region; region = region->FParent)
        if (region->FRegionType == rtCountry)
            country = const_cast<TRegion*>(region);
    return country;
}

bool TRegion::CountStations(const TListOZR& List, int& Count) const
{
    Count = static_cast<int>(std::count_if(List.begin(), List.end(), [this](const TObject* item) {
        return static_cast<const TEntity*>(item)->FRegion == this;
    }));
    return Count > 0;
}

bool TRegion::HasStations() const
{
    int count = 0;
    return CountStations(FSession.FEntities, count);
}

const TRegionTables& TRegion::Tables() const
{
    return FTables ? *FTables : EmptyTables();
}

TRegionTables& TRegion::EditTables()
{
    if (!FTables)
        FTables = std::make_unique<TRegionTables>();
    return *FTables;
}

// Children are freed from the last one, which stands last in the list.
void TRegion::RemoveChild(TRegion* Child)
{
    const auto found = std::find(FChildren.rbegin(), FChildren.rend(), Child);
    if (found != FChildren.rend())
        FChildren.erase(std::next(found).base());
}

void TRegion::FreeStationsIn(TListOZR& List)
{
    for (int i = List.Count() - 1; i >= 0; --i) {
        auto* station = static_cast<TEntity*>(List[i]);
        if (station->FRegion == this)
            delete station;
    }
}

std::array<TListOZR*, 2> TRegion::TypeLists() const
{
    switch (FRegionType) {
        case rtNUTS1: return {&FSession.FNUTS, &FSession.FNUTS1};
        case rtNUTS2: return {&FSession.FNUTS, &FSession.FNUTS2};
        case rtNUTS3: return {&FSession.FNUTS, &FSession.FNUTS3};
        default: return {FSession.RegionList(FRegionType), nullptr};
    }
}
