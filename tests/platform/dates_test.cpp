#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/datetime.h"
#include "platform/regional_settings.h"

namespace {

TEST(Dates, ReadInTheUsersOrderAndSeparator)
{
    const std::string thisYear = std::to_string(Now().Year);
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"dd/mm/yyyy", "15/03/2005", "2005-3-15"},  {"dd/mm/yyyy", " 1/1/2005 ", "2005-1-1"},
        {"dd/mm/yyyy", "29/02/2008", "2008-2-29"},  {"dd/mm/yyyy", "29/02/2005", ""},
        {"dd/mm/yyyy", "29/02/1900", ""},           {"dd/mm/yyyy", "15.03.2005", ""},
        {"dd/mm/yyyy", "15/3", thisYear + "-3-15"}, {"dd/mm/yyyy", "15/3/05", "2005-3-15"},
        {"dd/mm/yyyy", "15/3/97", "1997-3-15"},     {"dd/mm/yyyy", "15/13/2005", ""},
        {"dd/mm/yyyy", "15/03/2005/1", ""},         {"dd/mm/yyyy", "15/03/20055", ""},
        {"dd/mm/yyyy", "15/03/2005x", ""},          {"dd/mm/yyyy", "", ""},
        {"mm/dd/yyyy", "03/15/2005", "2005-3-15"},  {"yyyy-mm-dd", "2005-03-15", "2005-3-15"},
        {"yyyy-mm-dd", "03-15", thisYear + "-3-15"}};
    for (const auto& [format, text, expected] : cases) {
        ScopedRegionalSettings settings('.', format);
        TDateTime date;
        const bool read = TryStrToDate(text, date);
        EXPECT_EQ(read ? std::to_string(date.Year) + "-" + std::to_string(date.Month) + "-" +
                             std::to_string(date.Day)
                       : "",
                  expected)
            << format << " " << text;
    }
}

}  // namespace
