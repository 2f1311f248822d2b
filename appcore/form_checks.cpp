#include "appcore/form_checks.h"

#include <cmath>

#include "appcore/form_texts.h"
#include "platform/sysutils.h"

namespace {

constexpr int kFirstLTAAYear = 1900;
constexpr int kFirstFourDigitYear = 1000;
constexpr int kLastFourDigitYear = 9999;
constexpr double kRealTolerance = 1e-10;
constexpr double kMonthlySumTolerance = 1e-6;

bool IsBlank(const std::string& text)
{
    return Trim(text).empty();
}

std::optional<double> RealOf(const std::string& text)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        return std::nullopt;
    return value;
}

std::optional<int> IntegerOf(const std::string& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        return std::nullopt;
    return value;
}

const char* NumberKindMessage(TNumberKind kind)
{
    switch (kind) {
        case TNumberKind::Real: return SRealExpected;
        case TNumberKind::NonNegativeReal:
        case TNumberKind::PositiveReal: return SPositiveRealExpected;
        case TNumberKind::NonNegativeInteger: return SPositiveIntegerExpected;
    }
    return SRealExpected;
}

// A blank box passes; a year outside 1900 to the reporting year (or not a
// whole number) fails with the message quoting the year box.
void CheckLTAAYear(const std::string& text, std::optional<int> reportingYear,
                   const std::string& yearText, const char* message, TCheckMessages& messages)
{
    if (IsBlank(text))
        return;
    const std::optional<int> year = IntegerOf(Trim(text));
    const bool inRange =
        year && *year >= kFirstLTAAYear && (!reportingYear || *year <= *reportingYear);
    if (!inRange)
        messages.Error(FormatText(message, {yearText}));
}

}  // namespace

std::optional<int> ReportingYear(const std::string& yearText)
{
    return IntegerOf(Trim(yearText));
}

void CheckReportingYear(const std::string& yearText, TCheckMessages& messages)
{
    if (!ReportingYear(yearText))
        messages.Error(SYearNotInteger);
}

std::optional<int> FourDigitYear(const std::string& yearText)
{
    const std::optional<int> year = ReportingYear(yearText);
    if (year && *year >= kFirstFourDigitYear && *year <= kLastFourDigitYear)
        return year;
    return std::nullopt;
}

void CheckFourDigitYear(const std::string& yearText, TCheckMessages& messages)
{
    if (ReportingYear(yearText) && !FourDigitYear(yearText))
        messages.Error(SYearNotFourDigits);
}

void CheckIdentifierGiven(const std::string& id, const char* missingText, TCheckMessages& messages)
{
    if (IsBlank(id))
        messages.Error(missingText);
}

void CheckIdentifierUnique(const std::string& id, TStationKind kind, const TEntity* edited,
                           TCheckMessages& messages)
{
    TEntity* found = nullptr;
    if (FindStation(id, kind, found) && found != edited)
        messages.Error(
            FormatText(kind == skReservoir ? SDuplicateReservoir : SDuplicateStation, {id}));
}

void CheckCoordinate(const std::string& text, const std::string& fieldName,
                     TCheckMessages& messages)
{
    if (!RealOf(text))
        messages.Error(FormatText(SRealExpected, {fieldName}));
}

void CheckAltitude(const std::string& text, TCheckMessages& messages)
{
    if (IsBlank(text))
        return;
    const std::optional<double> altitude = RealOf(Trim(text));
    if (!altitude || *altitude < -100 || *altitude > 5000)
        messages.Error(SAltitudeRange);
}

bool IsNumberOfKind(const std::string& text, TNumberKind kind)
{
    if (kind == TNumberKind::NonNegativeInteger) {
        const std::optional<int> value = IntegerOf(text);
        return value && *value >= 0;
    }
    const std::optional<double> value = RealOf(text);
    switch (kind) {
        case TNumberKind::NonNegativeReal: return value && *value >= -kRealTolerance;
        case TNumberKind::PositiveReal: return value && *value >= kRealTolerance;
        default: return value.has_value();
    }
}

void CheckNumberField(const std::string& text, TNumberKind kind, const std::string& fieldName,
                      TCheckMessages& messages)
{
    if (!IsBlank(text) && !IsNumberOfKind(Trim(text), kind))
        messages.Error(FormatText(NumberKindMessage(kind), {fieldName}));
}

void CheckLTAAPeriod(const std::string& fromText, const std::string& toText,
                     const std::string& yearText, TCheckMessages& messages)
{
    const std::optional<int> reportingYear = ReportingYear(yearText);
    CheckLTAAYear(fromText, reportingYear, yearText, SLTAAStartingYear, messages);
    CheckLTAAYear(toText, reportingYear, yearText, SLTAAEndingYear, messages);
    const std::optional<int> from = IntegerOf(Trim(fromText));
    const std::optional<int> to = IntegerOf(Trim(toText));
    if (!from || !to)
        return;
    if (*from + 10 > *to)
        messages.Error(SLTAAPeriodTooShort);
    else if (*from + 20 > *to)
        messages.Warning(SLTAAPeriodShort);
}

void CheckDataEntered(bool anyData, TCheckMessages& messages)
{
    if (!anyData)
        messages.Warning(SNoDataEntered);
}

bool MonthlySumMatches(std::span<const std::string> monthsAndAnnual)
{
    double values[13];
    for (std::size_t i = 0; i < 13; ++i) {
        const std::optional<double> value =
            i < monthsAndAnnual.size() ? RealOf(monthsAndAnnual[i]) : std::nullopt;
        if (!value)
            return true;
        values[i] = *value;
    }
    double sum = 0;
    for (int month = 0; month < 12; ++month)
        sum += values[month];
    return std::fabs(sum - values[12]) <= kMonthlySumTolerance;
}

void CheckMonthlySum(std::span<const std::string> monthsAndAnnual, const std::string& tableTitle,
                     const std::string& columnTitle, TCheckMessages& messages)
{
    if (!MonthlySumMatches(monthsAndAnnual))
        messages.Error(FormatText(SMonthlySum, {"'" + tableTitle + "'", "'" + columnTitle + "'"}));
}

void CheckMinNotAboveMax(const std::string& minText, const std::string& maxText,
                         TCheckMessages& messages)
{
    const std::optional<double> minimum = RealOf(minText);
    const std::optional<double> maximum = RealOf(maxText);
    if (minimum && maximum && *minimum > *maximum)
        messages.Error(SMinAboveMax);
}

void CheckNetworkMembership(bool dunmar, bool wfd, TCheckMessages& messages)
{
    if (!dunmar && !wfd)
        messages.Warning(SNoNetwork);
}
