#pragma once

// The row titles of the daily stream-flow grid: day n of a year is labelled
// with its number and its calendar date.

#include <string>

// "n)  d/m/y" for the date n - 1 days after 1 January of `year`, without
// leading zeros ("366)  31/12/2008"). Day 366 of a year that has 366 days
// by the four-year rule but not by the calendar (1900) is 1 January of the
// next year.
std::string DailyRowLabel(int year, int day);
