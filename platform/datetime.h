#pragma once

#include <string_view>

// A calendar moment in local time, as the program shows and stores it.
struct TDateTime {
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;    // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

TDateTime Now();

bool IsLeapYear(int year);
// 1 for 1 January, up to 366 for 31 December of a leap year.
int DayOfTheYear(const TDateTime& date);

// Reads a date written in the user's short date format: day, month and year in
// its order, separated by its date separator. A two-digit year falls within
// fifty years before or after today; a date of two numbers is in this year.
bool TryStrToDate(std::string_view text, TDateTime& date);
