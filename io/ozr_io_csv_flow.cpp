#include "io/ozr_io_csv_flow.h"

#include "platform/datetime.h"
#include "platform/sysutils.h"

namespace {

constexpr int kFirstYear = 1998;
constexpr int kLastYear = 2008;
constexpr double kTolerance = 1e-10;

}  // namespace

void TCsvFlowImport::BeginPass()
{
    FDays.clear();
    FDaysOfStation.clear();
    FLastStation = nullptr;
    FLastDays = nullptr;
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

    TStreamFlow* const station = StationOf(code);
    if (station == nullptr)
        return fail("A stremflow station with code '" + std::string(code) + "' does not exist");
    TDateTime date;
    if (!TryStrToDate(dateText, date))
        return fail("The date is not valid");
    double value = 0;
    if (!TryStrToFloat(valueText, value) || value < -kTolerance)
        return fail("The streamflow value must be a positive real number");
    TStationDays* days = DaysOf(station);
    if (days != nullptr && days->Year != date.Year)
        return fail("Only one (calendar) year per station may be imported");
    if (date.Year < kFirstYear || date.Year > kLastYear)
        return fail("Only years between 1998-2008 may be imported");
    if (days == nullptr) {
        days = &FDays.emplace_back();
        days->Station = station;
        days->Year = date.Year;
        FDaysOfStation.emplace(station, days);
    }
    const auto day = static_cast<std::size_t>(DayOfTheYear(date) - 1);
    days->Given.set(day);
    days->Values[day] = value;
    FLastDays = days;
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

TCsvFlowImport::TStationDays* TCsvFlowImport::DaysOf(TStreamFlow* station) const
{
    if (FLastDays != nullptr && FLastDays->Station == station)
        return FLastDays;
    const auto found = FDaysOfStation.find(station);
    return found == FDaysOfStation.end() ? nullptr : found->second;
}

void TCsvFlowImport::ApplyLines()
{
    for (const TStationDays& days : FDays) {
        TStreamFlow& station = *days.Station;
        // Values kept from another year would otherwise count as values of this one.
        if (station.FYear != days.Year) {
            station.FDailyData.fill(MissingReal);
            station.FYear = days.Year;
        }
        for (std::size_t day = 0; day < kDays; ++day)
            if (days.Given[day])
                station.FDailyData[day] = days.Values[day];
    }
    if (!FDays.empty())
        CurrentSession().SetModified(true);
}
