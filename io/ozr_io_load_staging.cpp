#include "io/ozr_io_load_staging.h"

TDataFileStaging::TDataFileStaging(TSession& Target)
    : FSession(Target), FWasModified(Target.GetModified())
{
}

TRegionTables& TDataFileStaging::TablesOf(TRegion& Region)
{
    std::unique_ptr<TRegionTables>& staged = FTables[&Region];
    if (!staged)
        staged = Region.HasTables() ? std::make_unique<TRegionTables>(Region.Tables())
                                    : std::make_unique<TRegionTables>();
    return *staged;
}

// The tables go in first, so that the session is whole when the country's
// observer hears of it.
void TDataFileStaging::Apply(std::shared_ptr<void> Document)
{
    for (auto& [region, tables] : FTables)
        region->ReplaceTables(std::move(tables));
    FTables.clear();
    FSession.FDataDoc = std::move(Document);
    FSession.FResponsible = Root.Responsible;
    FSession.FEmail = Root.Email;
    FSession.FCreationDate = Root.CreationDate;
    FSession.SetCountry(Root.Country);
    FSession.FRemarks = Root.Remarks;
    FStations.clear();
}

void TDataFileStaging::Discard()
{
    while (!FStations.empty()) {
        delete FStations.back();
        FStations.pop_back();
    }
    FTables.clear();
    if (FSession.GetModified() != FWasModified)
        FSession.SetModified(FWasModified);
}
