#pragma once

// Creates stations of one kind for regions of the session's country from a CSV
// file, one station per line: spatial scale, region code, station code, name,
// longitude, latitude and, for reservoirs, the type.

#include <deque>
#include <optional>
#include <string>

#include "io/caseless_code_set.h"
#include "io/ozr_io_csv.h"
#include "io/ozr_io_csv_texts.h"
#include "model/ozr_types.h"

struct TStationImportSettings {
    TCsvSettingsText Csv;
    // No kind when the user chose none.
    std::optional<TStationKind> Kind;
    std::string YearText;
};

class TCsvStationsImport final : public TCsvImport {
public:
    explicit TCsvStationsImport(const TStationImportSettings& settings);

    bool ImportLine(const std::vector<std::string_view>& fields, std::string& message) override;

private:
    // What a line that passed creates.
    struct TNewStation {
        TRegion* Region = nullptr;
        std::string_view Code;
        std::string_view Name;
        double Longitude = 0;
        double Latitude = 0;
        TReservoirType ReservoirType = rsUnknown;
    };
    void CheckOwnSettings(std::vector<std::string>& errors) const override;
    void ReadOwnSettings() override;
    void BeginPass() override;
    void ApplyLines() override;

    // codePrint is the fingerprint of the line's station code.
    std::optional<std::string> LineError(const std::vector<std::string_view>& fields,
                                         std::uint32_t codePrint, TNewStation& station);
    // The region of the type with the code if it belongs to the session's
    // country, else nullptr. The lines of a file mostly name a few regions, so
    // the last one asked for is tried first.
    TRegion* RegionOf(TRegionType type, std::string_view code);

    std::optional<TStationKind> FChosenKind;
    std::string FYearText;
    TStationKind FKind = skWell;
    int FYear = 0;
    // A deque grows without copying what it holds.
    std::deque<TNewStation> FNewStations;
    // The codes and names of FNewStations.
    TKeptTexts FTexts;
    // The station codes of the lines kept: a code that a file names twice
    // fails on its later lines, so that a file creates all its stations or none.
    TCaselessCodeSet FCodesOfPass;
    TRegionType FLastRegionType = rtCountry;
    // Empty before the first region asked for in a pass.
    std::string FLastRegionCode;
    TRegion* FLastRegion = nullptr;
};
