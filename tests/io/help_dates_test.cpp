// The help of the daily stream-flow import shows dates for named locales; each
// must be one the import takes when the user's locale is the one named, since
// a user copies them from there.

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "io/ozr_io_csv_flow.h"
#include "platform/regional_settings.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::smatch> Matches(const std::string& text, const char* pattern)
{
    const std::regex regex(pattern);
    return {std::sregex_iterator(text.begin(), text.end(), regex), std::sregex_iterator()};
}

// Day, month and year in any order and with any of the usual separators.
constexpr const char* kDate = R"(\b\d{1,4}[/.-]\d{1,2}[/.-]\d{1,4}\b)";

// The format of a locale as installed or as the build compiled it into a
// folder of its own (a stock system has few). glibc's newlocale keeps the
// search path it builds from LOCPATH, which the leak checker would report.
std::string FormatOf(const std::string& locale)
{
#if defined(__SANITIZE_ADDRESS__)
    const __lsan::ScopedDisabler glibcKeepsTheLocalePath;
#endif
    setenv("LOCPATH", WQ_LOCALE_DIR ":/usr/lib/locale", 1);
    std::string format = LocaleShortDateFormat(locale);
    unsetenv("LOCPATH");
    return format;
}

using HelpDatesTest = SessionTest;

TEST_F(HelpDatesTest, EveryDateOfTheTopicIsImportedUnderTheLocaleItNames)
{
    const char* source = std::getenv("WQ_SOURCE_DIR");
    ASSERT_TRUE(source) << "the help topic was not found (WQ_SOURCE_DIR)";
    const std::string topic =
        wqtest::ReadFileText(std::string(source) + "/help/topics/import_flow.htm");
    new TStreamFlow(new TRegion(nullptr, rtCountry, "GR", "Greece"), "Q1");
    wqtest::TempFolder folder;
    std::size_t checked = 0;
    for (const std::smatch& example :
         Matches(topic, R"re(<(\w+)[^>]*\bdata-locale="([^"]+)"[^>]*>([\s\S]*?)</\1>)re")) {
        const std::string locale = example[2], text = example[3];
        const std::string format = FormatOf(locale);
        ASSERT_FALSE(format.empty()) << locale << " is neither installed nor built";
        ScopedRegionalSettings regional('.', format);
        for (const std::smatch& date : Matches(text, kDate)) {
            const std::string file =
                wqtest::WriteTextFile(folder / "flows.csv", "Q1;" + date.str() + ";0\n");
            EXPECT_EQ(TCsvFlowImport({file, ";", "1"}).Check().Lines,
                      std::vector<std::string>{"Check passed"})
                << date.str() << " in " << locale << " (" << format << ")";
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u);
    EXPECT_EQ(checked, Matches(topic, kDate).size()) << "a date names no locale";
}

TEST(LocaleShortDateFormat, AnUnknownLocaleGivesNoFormat)
{
    EXPECT_EQ(LocaleShortDateFormat("xx_NOWHERE.UTF-8"), "");
}

}  // namespace
