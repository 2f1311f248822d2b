#include "appcore/daily_dates.h"

#include <climits>

#include <gtest/gtest.h>

#include "model/ozr_types.h"

namespace {

TEST(DailyRowLabel, NamesTheDateOfEachDay)
{
    EXPECT_EQ(DailyRowLabel(2008, 1), "1)  1/1/2008");
    EXPECT_EQ(DailyRowLabel(2008, 31), "31)  31/1/2008");
    EXPECT_EQ(DailyRowLabel(2008, 32), "32)  1/2/2008");
    EXPECT_EQ(DailyRowLabel(2008, 60), "60)  29/2/2008");
    EXPECT_EQ(DailyRowLabel(2008, 61), "61)  1/3/2008");
    EXPECT_EQ(DailyRowLabel(2008, 366), "366)  31/12/2008");
    EXPECT_EQ(DailyRowLabel(2007, 60), "60)  1/3/2007");
    EXPECT_EQ(DailyRowLabel(2007, 365), "365)  31/12/2007");
    EXPECT_EQ(DailyRowLabel(2000, 366), "366)  31/12/2000");
}

// The grid takes its day count from the four-year rule, the dates from the
// calendar: the two differ in a year like 1900, and no year text of the box
// may make the labelling fail.
TEST(DailyRowLabel, ReachesTheNextYearWhereTheCalendarEndsFirst)
{
    EXPECT_EQ(DaysInYear(1900), 366);
    EXPECT_EQ(DailyRowLabel(1900, 60), "60)  1/3/1900");
    EXPECT_EQ(DailyRowLabel(1900, 366), "366)  1/1/1901");
    EXPECT_EQ(DailyRowLabel(0, 60), "60)  29/2/0");
    EXPECT_EQ(DailyRowLabel(-4, 366), "366)  31/12/-4");
    EXPECT_EQ(DailyRowLabel(INT_MAX, 365), "365)  31/12/2147483647");
    EXPECT_EQ(DailyRowLabel(INT_MIN, 366), "366)  31/12/-2147483648");
}

}  // namespace
