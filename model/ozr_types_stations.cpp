#include "model/ozr_types.h"

namespace {

TPropInfo TextProperty(const char* name, std::string (TEntity::*getter)() const)
{
    return TPropInfo{name, TTypeKind::tkLString,
                     [getter](const TObject& object) -> TPropValue {
                         return (static_cast<const TEntity&>(object).*getter)();
                     },
                     false};
}

// The kinds publish nothing of their own: the dialog lists TEntity's columns.
TClassInfo KindClassInfo(const char* className)
{
    return TClassInfo{className, &TEntity::StaticClassInfo(), {}};
}

}  // namespace

TEntity::TEntity(TRegion* Region, const std::string& ID)
    : FYear(CurrentSession().FYear), FRegion(Region), FSession(CurrentSession()), FID(ID)
{
    FSession.FEntities.Add(this);
    FSession.SetModified(true);
}

TEntity::~TEntity()
{
    FSession.FEntities.Remove(this);
    FSession.SetModified(true);
}

const TClassInfo& TEntity::StaticClassInfo()
{
    static const TClassInfo info{
        "TEntity",
        nullptr,
        {TextProperty("ID_", &TEntity::GetID_), TextProperty("Name_", &TEntity::GetName_),
         TextProperty("Region", &TEntity::GetRegion),
         TextProperty("Region_Type", &TEntity::GetRegion_Type)}};
    return info;
}

const TClassInfo* TEntity::ClassInfo() const
{
    return &StaticClassInfo();
}

void TEntity::SetID(const std::string& ID)
{
    if (ID == FID)
        return;
    FID = ID;
    TListOZR::KeysChanged();
}

std::string TEntity::GetRegion() const
{
    return FRegion ? FRegion->GetCode() + "/" + FRegion->FName : "none";
}

std::string TEntity::GetRegion_Type() const
{
    return FRegion ? RegionTypeDisplayName(FRegion->GetRegionType()) : "Unknown";
}

TReservoir::TReservoir(TRegion* Region, const std::string& ID) : TEntity(Region, ID)
{
    GetSession().FReservoirs.Add(this);
}

TReservoir::~TReservoir()
{
    GetSession().FReservoirs.Remove(this);
}

const TClassInfo* TReservoir::ClassInfo() const
{
    static const TClassInfo info = KindClassInfo("TReservoir");
    return &info;
}

TRainGauge::TRainGauge(TRegion* Region, const std::string& ID) : TEntity(Region, ID)
{
    GetSession().FRainGauges.Add(this);
}

TRainGauge::~TRainGauge()
{
    GetSession().FRainGauges.Remove(this);
}

const TClassInfo* TRainGauge::ClassInfo() const
{
    static const TClassInfo info = KindClassInfo("TRainGauge");
    return &info;
}

TWell::TWell(TRegion* Region, const std::string& ID) : TEntity(Region, ID)
{
    GetSession().FWells.Add(this);
}

TWell::~TWell()
{
    GetSession().FWells.Remove(this);
}

const TClassInfo* TWell::ClassInfo() const
{
    static const TClassInfo info = KindClassInfo("TWell");
    return &info;
}

TStreamFlow::TStreamFlow(TRegion* Region, const std::string& ID) : TEntity(Region, ID)
{
    GetSession().FStreamFlows.Add(this);
}

TStreamFlow::~TStreamFlow()
{
    GetSession().FStreamFlows.Remove(this);
}

const TClassInfo* TStreamFlow::ClassInfo() const
{
    static const TClassInfo info = KindClassInfo("TStreamFlow");
    return &info;
}
