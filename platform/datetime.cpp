#include "platform/datetime.h"

#include <array>
#include <cctype>
#include <ctime>

#include "platform/regional_settings.h"

namespace {

enum class TDateOrder { MDY, DMY, YMD };

constexpr int kTwoDigitYearWindow = 50;
constexpr int kMaxNumberDigits = 4;

// The order in which the user's short date format names its parts.
TDateOrder DateOrder()
{
    for (const char c : ShortDateFormat()) {
        switch (std::tolower(static_cast<unsigned char>(c))) {
            case 'd': return TDateOrder::DMY;
            case 'm': return TDateOrder::MDY;
            case 'y': return TDateOrder::YMD;
            default: break;
        }
    }
    return TDateOrder::MDY;
}

struct TDateNumber {
    int Value = 0;
    int Digits = 0;
};

bool ScanNumber(std::string_view text, std::size_t& pos, TDateNumber& number)
{
    number = {};
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        if (++number.Digits > kMaxNumberDigits)
            return false;
        number.Value = number.Value * 10 + (text[pos++] - '0');
    }
    return number.Digits > 0;
}

void SkipBlanks(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
}

// A date without a year (no digits) is in this year.
int FullYear(const TDateNumber& year)
{
    if (year.Digits == 0)
        return Now().Year;
    if (year.Digits > 2)
        return year.Value;
    const int centuryBase = Now().Year - kTwoDigitYearWindow;
    int full = centuryBase / 100 * 100 + year.Value;
    if (full < centuryBase)
        full += 100;
    return full;
}

int DaysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

}  // namespace

TDateTime Now()
{
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DayOfTheYear(const TDateTime& date)
{
    int day = date.Day;
    for (int month = 1; month < date.Month; ++month)
        day += DaysInMonth(date.Year, month);
    return day;
}

bool TryStrToDate(std::string_view text, TDateTime& date)
{
    const char separator = DateSeparator();
    std::array<TDateNumber, 3> numbers;
    std::size_t count = 0;
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    while (true) {
        if (count == numbers.size() || !ScanNumber(text, pos, numbers[count++]))
            return false;
        if (pos == text.size() || text[pos] != separator)
            break;
        ++pos;
    }
    SkipBlanks(text, pos);
    if (pos != text.size() || count < 2)
        return false;

    // Day and month stand side by side; a third number is the year, first or last.
    const TDateOrder order = DateOrder();
    TDateNumber year{0, 0};
    std::size_t first = 0;
    if (count == 3 && order == TDateOrder::YMD) {
        year = numbers[0];
        first = 1;
    } else if (count == 3) {
        year = numbers[2];
    }
    const bool dayFirst = order == TDateOrder::DMY;
    const int day = numbers[first + (dayFirst ? 0 : 1)].Value;
    const int month = numbers[first + (dayFirst ? 1 : 0)].Value;
    const int fullYear = FullYear(year);
    if (!IsValidDate(fullYear, month, day))
        return false;
    date = TDateTime{fullYear, month, day};
    return true;
}
