#include "io/ozr_io_csv_flow.h"

#include "platform/datetime.h"
#include "platform/sysutils.h"

namespace {

constexpr int kFirstYear = 1998;
constexpr int kLastYear = 2008;
constexpr double kTolerance = 1e-10;

}  // namespace

void TCsvFlowImport::BeginPass(std::size_t lineCount)
{
    FValues.clear();
    FValues.reserve(lineCount);
    FYearsOfPass.clear();
    FLastStation = nullptr;
}

bool TCsvFlowImport::ImportLine(const std::vector<std::string_view>& fields, std::string& message)
{
    auto fail = [&message](std::string text) {
        message = std::move(text);
        return false;
    };
    const std::string_view code = FieldAt(fields, 0);
    const std::string_view dateText = FieldAt(fields, 1);
    const std::string_view valueText = FieldAt(fields, 2);
    if (code.empty())
        return fail("No station code found");
    if (dateText.empty())
        return fail("No date found");
    if (valueText.empty())
        return fail("No value found");

    TDailyValue daily{StationOf(code)};
    if (daily.Station == nullptr)
        return fail("A stremflow station with code '" + std::string(code) + "' does not exist");
    TDateTime date;
    if (!TryStrToDate(dateText, date))
        return fail("The date is not valid");
    if (!TryStrToFloat(valueText, daily.Value) || daily.Value < -kTolerance)
        return fail("The streamflow value must be a positive real number");
    const auto [taken, first] = FYearsOfPass.try_emplace(daily.Station, date.Year);
    if (!first && taken->second != date.Year)
        return fail("Only one (calendar) year per station may be imported");
    if (date.Year < kFirstYear || date.Year > kLastYear) {
        if (first)
            FYearsOfPass.erase(taken);
        return fail("Only years between 1998-2008 may be imported");
    }
    daily.Year = date.Year;
    daily.DayIndex = DayOfTheYear(date) - 1;
    FValues.push_back(daily);
    return true;
}

TStreamFlow* TCsvFlowImport::StationOf(std::string_view code)
{
    if (FLastStation != nullptr && AsciiSameText(code, FLastCode))
        return FLastStation;
    TEntity* found = nullptr;
    if (!FindEntityByID(CurrentSession().FStreamFlows, std::string(code), found))
        return nullptr;
    FLastCode = code;
    FLastStation = static_cast<TStreamFlow*>(found);
    return FLastStation;
}

void TCsvFlowImport::ApplyLines()
{
    for (const TDailyValue& daily : FValues) {
        TStreamFlow& station = *daily.Station;
        // Values kept from another year would otherwise count as values of this one.
        if (station.FYear != daily.Year) {
            station.FDailyData.fill(MissingReal);
            station.FYear = daily.Year;
        }
        station.FDailyData[static_cast<std::size_t>(daily.DayIndex)] = daily.Value;
    }
    if (!FValues.empty())
        CurrentSession().SetModified(true);
}
