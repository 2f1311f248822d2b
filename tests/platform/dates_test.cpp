#include <gtest/gtest.h>

#include "platform/datetime.h"
#include "platform/regional_settings.h"

namespace {

// The date as "y-m-d", or "invalid".
std::string Read(std::string_view text)
{
    TDateTime date;
    if (!TryStrToDate(text, date))
        return "invalid";
    return std::to_string(date.Year) + "-" + std::to_string(date.Month) + "-" +
           std::to_string(date.Day);
}

TEST(Dates, ReadInTheUsersOrderAndSeparator)
{
    {
        ScopedRegionalSettings settings('.', "dd/mm/yyyy");
        EXPECT_EQ(Read("15/03/2005"), "2005-3-15");
        EXPECT_EQ(Read(" 1/1/2005 "), "2005-1-1");
        EXPECT_EQ(Read("29/02/2008"), "2008-2-29");
        EXPECT_EQ(Read("29/02/2005"), "invalid");
        EXPECT_EQ(Read("29/02/1900"), "invalid");
        EXPECT_EQ(Read("15.03.2005"), "invalid");
        EXPECT_EQ(Read("15/3"), std::to_string(Now().Year) + "-3-15");
        EXPECT_EQ(Read("15/3/05"), "2005-3-15");
        EXPECT_EQ(Read("15/3/97"), "1997-3-15");
        EXPECT_EQ(Read("15/13/2005"), "invalid");
        EXPECT_EQ(Read("15/03/2005/1"), "invalid");
        EXPECT_EQ(Read("15/03/20055"), "invalid");
        EXPECT_EQ(Read("15/03/2005x"), "invalid");
        EXPECT_EQ(Read(""), "invalid");
    }
    {
        ScopedRegionalSettings settings('.', "mm/dd/yyyy");
        EXPECT_EQ(Read("03/15/2005"), "2005-3-15");
    }
    {
        ScopedRegionalSettings settings('.', "yyyy-mm-dd");
        EXPECT_EQ(Read("2005-03-15"), "2005-3-15");
        EXPECT_EQ(Read("03-15"), std::to_string(Now().Year) + "-3-15");
    }
}

TEST(Dates, DayOfTheYearCountsLeapDays)
{
    EXPECT_EQ(DayOfTheYear({2005, 3, 15}), 74);
    EXPECT_EQ(DayOfTheYear({2008, 2, 29}), 60);
    EXPECT_EQ(DayOfTheYear({2008, 12, 31}), 366);
    EXPECT_EQ(DayOfTheYear({2007, 12, 31}), 365);
    EXPECT_EQ(DayOfTheYear({2000, 3, 1}), 61);
    EXPECT_EQ(DayOfTheYear({1900, 3, 1}), 60);
}

}  // namespace
