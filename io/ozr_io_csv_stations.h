#pragma once

// Creates stations of one kind for regions of the session's country from a CSV
// file, one station per line: spatial scale, region code, station code, name,
// longitude, latitude and, for reservoirs, the type.

#include <optional>
#include <string>

#include "io/block_list.h"
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
    // A line that came as far as the check of its station code against the
    // file's earlier lines, which a pass makes once it has read them all, and
    // what it creates when it passes.
    struct TCheckedLine {
        std::size_t Number = 0;
        std::string_view Code;
        TRegion* Region = nullptr;
        std::string_view Name;
        double Longitude = 0;
        double Latitude = 0;
        TReservoirType ReservoirType = rsUnknown;
    };
    // What the check against the earlier lines reads of each checked line,
    // apart from the lines, so that it reads little memory.
    struct TCodeClaim {
        std::uint32_t CodePrint = 0;
        // The line passed its other checks, and takes the code if it is free.
        bool Passed = false;
    };

    void CheckOwnSettings(std::vector<std::string>& errors) const override;
    void ReadOwnSettings() override;
    void BeginPass() override;
    void EndPass(std::vector<TLineFailure>& failures) override;
    void ApplyLines() override;

    // The checks of a line in their order, up to the station code against
    // the session's stations, and after it.
    std::optional<std::string> CodeError(const std::vector<std::string_view>& fields,
                                         TCheckedLine& line);
    std::optional<std::string> ValueError(const std::vector<std::string_view>& fields,
                                          TCheckedLine& line) const;
    // The region of the type with the code if it belongs to the session's
    // country, else nullptr. The lines of a file mostly name a few regions, so
    // the last one asked for is tried first.
    TRegion* RegionOf(TRegionType type, std::string_view code);
    // The lines whose code a passing line of the file took before them.
    std::vector<const TCheckedLine*> LinesOfTakenCodes() const;

    std::optional<TStationKind> FChosenKind;
    std::string FYearText;
    TStationKind FKind = skWell;
    int FYear = 0;
    TBlockList<TCheckedLine> FLines;
    // The claim of each of FLines, in the same order.
    std::vector<TCodeClaim> FClaims;
    // The codes and names of FLines.
    TKeptTexts FTexts;
    TRegionType FLastRegionType = rtCountry;
    // Empty before the first region asked for in a pass.
    std::string FLastRegionCode;
    TRegion* FLastRegion = nullptr;
};
