#pragma once

// Fills the daily values of existing stream-flow stations from a CSV file, one
// value per line: station code, date in the user's short date format, and the
// mean daily flow. All lines of one station carry dates of one year.

#include <unordered_map>

#include "io/ozr_io_csv.h"
#include "model/ozr_types.h"

class TCsvFlowImport final : public TCsvImport {
public:
    using TCsvImport::TCsvImport;

    bool ImportLine(const std::vector<std::string_view>& fields, std::string& message) override;

private:
    struct TDailyValue {
        TStreamFlow* Station = nullptr;
        int Year = 0;
        int DayIndex = 0;
        double Value = 0;
    };

    void CheckOwnSettings(std::vector<std::string>&) const override {}
    void ReadOwnSettings() override {}
    void BeginPass(std::size_t lineCount) override;
    void ApplyLines() override;
    // The station of the code, or nullptr. The lines of one station usually
    // follow each other, so the last station found is tried first.
    TStreamFlow* StationOf(std::string_view code);

    std::vector<TDailyValue> FValues;
    // The year each station took in this pass.
    std::unordered_map<TStreamFlow*, int> FYearsOfPass;
    std::string FLastCode;
    TStreamFlow* FLastStation = nullptr;
};
