// The help of the daily stream-flow import shows dates for named locales; each
// must be one the import takes when the user's locale is the one named, since
// a user copies them from there.

#include <algorithm>
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

// An element of the topic that carries data-locale="name".
struct TLocaleExample {
    std::string Locale;
    std::string Text;
};

std::string FlowImportTopic()
{
    const char* source = std::getenv("WQ_SOURCE_DIR");
    return source ? wqtest::ReadFileText(std::string(source) + "/help/topics/import_flow.htm")
                  : std::string();
}

std::vector<TLocaleExample> LocaleExamples(const std::string& html)
{
    static const std::regex element(
        R"re(<(\w+)[^>]*\bdata-locale="([^"]+)"[^>]*>([\s\S]*?)</\1>)re");
    std::vector<TLocaleExample> examples;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), element);
         it != std::sregex_iterator(); ++it)
        examples.push_back({(*it)[2], (*it)[3]});
    return examples;
}

// Day, month and year in any order and with any of the usual separators.
std::vector<std::string> DatesIn(const std::string& text)
{
    static const std::regex date(R"(\b\d{1,4}[/.-]\d{1,2}[/.-]\d{1,4}\b)");
    std::vector<std::string> dates;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), date);
         it != std::sregex_iterator(); ++it)
        dates.push_back(it->str());
    return dates;
}

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

class HelpDatesTest : public SessionTest {
protected:
    HelpDatesTest() { new TStreamFlow(new TRegion(nullptr, rtCountry, "GR", "Greece"), "Q1"); }

    const std::string topic_ = FlowImportTopic();
    wqtest::TempFolder folder_;
};

TEST_F(HelpDatesTest, EveryDateOfTheTopicNamesItsLocale)
{
    ASSERT_FALSE(topic_.empty()) << "the help topic was not found (WQ_SOURCE_DIR)";
    std::size_t inExamples = 0;
    for (const TLocaleExample& example : LocaleExamples(topic_))
        inExamples += DatesIn(example.Text).size();
    EXPECT_EQ(inExamples, DatesIn(topic_).size());
    EXPECT_GT(inExamples, 0u);
}

TEST_F(HelpDatesTest, EveryDateIsImportedUnderTheLocaleItNames)
{
    ASSERT_FALSE(topic_.empty()) << "the help topic was not found (WQ_SOURCE_DIR)";
    std::vector<std::string> locales;
    for (const TLocaleExample& example : LocaleExamples(topic_)) {
        const std::string format = FormatOf(example.Locale);
        ASSERT_FALSE(format.empty()) << example.Locale << " is neither installed nor built";
        ScopedRegionalSettings regional('.', format);
        for (const std::string& date : DatesIn(example.Text)) {
            const std::string file =
                wqtest::WriteTextFile(folder_ / "flows.csv", "Q1;" + date + ";0\n");
            EXPECT_EQ(TCsvFlowImport({file, ";", "1"}).Check().Lines,
                      std::vector<std::string>{"Check passed"})
                << date << " in " << example.Locale << " (" << format << ")";
        }
        locales.push_back(example.Locale);
    }
    // One locale is the stock system's, whose dates put the month first, and
    // one puts the day first.
    EXPECT_EQ(FormatOf("C.UTF-8"), "mm/dd/yy");
    EXPECT_NE(std::find(locales.begin(), locales.end(), "C.UTF-8"), locales.end());
    EXPECT_NE(std::find(locales.begin(), locales.end(), "en_GB.UTF-8"), locales.end());
}

TEST(LocaleShortDateFormat, AnUnknownLocaleGivesNoFormat)
{
    EXPECT_EQ(LocaleShortDateFormat("xx_NOWHERE.UTF-8"), "");
}

}  // namespace
