#include "model/ozr_types.h"
#include "model/session_observer.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/program_folder.h"

TSession* Session = nullptr;

TSession& CurrentSession()
{
    if (!Session)
        throw Exception("No session has been created.");
    return *Session;
}

TSession::TSession()
    : FDataFile(ProgramFolder() + "data/OZR_wq.xml"),
      FRegionsFile(ProgramFolder() + "data/OZR_wq_regions.xml")
{
}

// Stations go first and both lists are emptied from the end, where each
// object stands last in every list that holds it, so freeing is linear.
TSession::~TSession()
{
    FObserver = nullptr;
    for (TListOZR* list : {&FRegions, &FCountries, &FNUTS, &FNUTS1, &FNUTS2, &FNUTS3, &FRBDs, &FSUs,
                           &FRBs, &FEntities, &FReservoirs, &FRainGauges, &FWells, &FStreamFlows})
        list->DropIndexes();
    while (FEntities.Count() > 0)
        delete FEntities[FEntities.Count() - 1];
    while (FRegions.Count() > 0)
        delete FRegions[FRegions.Count() - 1];
    FCountry = nullptr;
    if (Session == this)
        Session = nullptr;
}

void TSession::SetCountry(TRegion* Country)
{
    if (!FCountry)
        FCountry = Country;
    else
        Dialogs().MessageDlg("In order to change the selected country restart the application.",
                             TMsgDlgType::mtWarning, mbOK);
    if (FObserver)
        FObserver->updateCmBoxCountries();
}

// The caption follows the flag, so only a change of the flag can change it: a
// large import that marks the session modified once per station redraws it once.
void TSession::SetModified(bool Value)
{
    if (Value == FModified)
        return;
    FModified = Value;
    if (FObserver)
        FObserver->SetCaption(Value ? std::string(ApplicationTitle) + "*" : ApplicationTitle);
}

TListOZR* TSession::RegionList(TRegionType RegionType)
{
    switch (RegionType) {
        case rtCountry: return &FCountries;
        case rtNUTS1: return &FNUTS1;
        case rtNUTS2: return &FNUTS2;
        case rtNUTS3: return &FNUTS3;
        case rtRBD: return &FRBDs;
        case rtSU: return &FSUs;
        case rtRB: return &FRBs;
    }
    return nullptr;
}

TListOZR* TSession::StationList(TStationKind Kind)
{
    switch (Kind) {
        case skWell: return &FWells;
        case skReservoir: return &FReservoirs;
        case skStreamFlow: return &FStreamFlows;
        case skRainGauge: return &FRainGauges;
    }
    return nullptr;
}

bool FindRegionByCode(const TListOZR& List, std::string_view Code, TRegion*& Region)
{
    Region = List.FirstRegionWithCode(Code);
    return Region != nullptr;
}

bool FindRegion(const std::string& Code, TRegionType RegionType, TRegion*& Region)
{
    Region = nullptr;
    const TListOZR* list = CurrentSession().RegionList(RegionType);
    return list && FindRegionByCode(*list, Code, Region);
}

bool FindEntityByID(const TListOZR& List, std::string_view ID, TEntity*& Entity)
{
    Entity = List.FirstEntityWithID(ID);
    return Entity != nullptr;
}

bool FindStation(std::string_view ID, TStationKind Kind, TEntity*& Station)
{
    Station = nullptr;
    const TListOZR* list = CurrentSession().StationList(Kind);
    return list && FindEntityByID(*list, ID, Station);
}

bool CountryHasRegionsOfType(const TRegion* Country, TRegionType RegionType)
{
    TSession& session = CurrentSession();
    const bool isNUTS = RegionType == rtNUTS1 || RegionType == rtNUTS2 || RegionType == rtNUTS3;
    const TListOZR* list = isNUTS ? &session.FNUTS : session.RegionList(RegionType);
    if (!list)
        return false;
    for (const TObject* item : *list)
        if (static_cast<const TRegion*>(item)->GetCountry() == Country)
            return true;
    return false;
}
