#include "appcore/daily_dates.h"

namespace {

bool IsCalendarLeapYear(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

std::string DailyRowLabel(int year, int day)
{
    const int monthDays[12] = {
        31, IsCalendarLeapYear(year) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    long long labelYear = year;
    int dayOfMonth = day;
    int month = 0;
    while (month < 12 && dayOfMonth > monthDays[month])
        dayOfMonth -= monthDays[month++];
    if (month == 12) {
        month = 0;
        ++labelYear;
    }
    return std::to_string(day) + ")  " + std::to_string(dayOfMonth) + "/" +
           std::to_string(month + 1) + "/" + std::to_string(labelYear);
}
