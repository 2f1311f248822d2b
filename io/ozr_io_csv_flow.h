#pragma once

// Fills the daily values of existing stream-flow stations from a CSV file, one
// value per line: station code, date in the user's short date format, and the
// mean daily flow. All lines of one station carry dates of one year.

#include <array>
#include <bitset>
#include <deque>
#include <unordered_map>

#include "io/ozr_io_csv.h"
#include "model/ozr_types.h"

class TCsvFlowImport final : public TCsvImport {
public:
    using TCsvImport::TCsvImport;

    bool ImportLine(const std::vector<std::string_view>& fields, std::string& message) override;

private:
    static constexpr std::size_t kDays = std::tuple_size_v<decltype(TStreamFlow::FDailyData)>;

    // The days that the lines of one station gave in this pass, with the year
    // they belong to; a later line of a day replaces an earlier one. A pass
    // keeps a station's days rather than its lines, so that a file of any
    // length costs no more than its stations.
    struct TStationDays {
        TStreamFlow* Station = nullptr;
        int Year = 0;
        std::bitset<kDays> Given;
        std::array<double, kDays> Values{};
    };

    void CheckOwnSettings(std::vector<std::string>&) const override {}
    void ReadOwnSettings() override {}
    void BeginPass() override;
    void ApplyLines() override;
    // The station of the code, or nullptr. The lines of one station usually
    // follow each other, so the last station found is tried first.
    TStreamFlow* StationOf(std::string_view code);
    // The station's days of this pass, or nullptr before a line of it passed.
    TStationDays* DaysOf(TStreamFlow* station) const;

    // In the order of the stations' first lines.
    std::deque<TStationDays> FDays;
    std::unordered_map<TStreamFlow*, TStationDays*> FDaysOfStation;
    std::string FLastCode;
    TStreamFlow* FLastStation = nullptr;
    TStationDays* FLastDays = nullptr;
};
