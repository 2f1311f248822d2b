#pragma once

// What one reading of a data file changes in the session. The root's values
// and the regions' tables wait here until the whole file has been read; the
// stations, which cannot exist outside the session, are freed again when the
// reading fails. A file that fails partway thus leaves the session as it was,
// and the user can mend the file and open it again.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/ozr_types.h"

class TDataFileStaging {
public:
    explicit TDataFileStaging(TSession& Target);
    TDataFileStaging(const TDataFileStaging&) = delete;
    TDataFileStaging& operator=(const TDataFileStaging&) = delete;

    // The values of the root element, given to the session by Apply.
    struct TRootValues {
        std::string Responsible;
        std::string Email;
        std::string CreationDate;
        TRegion* Country = nullptr;
        std::string Remarks;
    };
    TRootValues Root;

    // The tables that the file fills for Region: a copy of the region's own,
    // or fresh ones while it has none. The same ones for every element of the
    // file that names the region.
    TRegionTables& TablesOf(TRegion& Region);

    // Stations register themselves in the session on construction, so they
    // are created at once and noted for Discard.
    template <class Station>
    Station& NewStation(TRegion& Region, const std::string& ID)
    {
        FStations.push_back(nullptr);
        auto* station = new Station(&Region, ID);
        FStations.back() = station;
        return *station;
    }

    // Gives the session the root values, the document and the staged tables.
    void Apply(std::shared_ptr<void> Document);
    // Frees the stations created, last first, and gives the session back its
    // modified flag.
    void Discard();

private:
    TSession& FSession;
    bool FWasModified;
    std::unordered_map<TRegion*, std::unique_ptr<TRegionTables>> FTables;
    std::vector<TEntity*> FStations;
};
