#include "appcore/form_checks.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "appcore/form_texts.h"
#include "appcore/form_values.h"
#include "platform/regional_settings.h"

namespace {

// The messages one check adds for one input, as "E:text" or "W:text".
template <typename TCheck>
std::vector<std::string> Findings(TCheck check)
{
    TCheckMessages messages;
    check(messages);
    std::vector<std::string> lines;
    for (const TCheckMessage& m : messages.Items())
        lines.push_back((m.Kind == mkError ? "E:" : "W:") + m.Text);
    return lines;
}

std::vector<std::string> Altitude(const std::string& text)
{
    return Findings([&](TCheckMessages& m) { CheckAltitude(text, m); });
}

std::vector<std::string> LTAA(const std::string& from, const std::string& to,
                              const std::string& year = "2008")
{
    return Findings([&](TCheckMessages& m) { CheckLTAAPeriod(from, to, year, m); });
}

const std::vector<std::string> kNone;

std::vector<std::string> Months(const std::string& each, const std::string& annual)
{
    std::vector<std::string> cells(12, each);
    cells.push_back(annual);
    return cells;
}

// Every check reads numbers with the user's separator; each test runs with both.
class FormChecks : public ::testing::TestWithParam<char> {
protected:
    // "1.5" written with the separator of the run.
    std::string N(std::string text) const
    {
        for (char& c : text)
            if (c == '.')
                c = GetParam();
        return text;
    }

    ScopedRegionalSettings settings_{GetParam()};
};

TEST_P(FormChecks, AltitudeAllowsMinus100To5000AndBlank)
{
    for (const char* good : {"-100", "5000", "", "  ", "0", "4999.99"})
        EXPECT_EQ(Altitude(N(good)), kNone) << good;
    for (const char* bad : {"-100.5", "5000.01", "abc", "1e"})
        EXPECT_EQ(Altitude(N(bad)), std::vector<std::string>{std::string("E:") + SAltitudeRange})
            << bad;
}

TEST_P(FormChecks, NumberFieldKindsHoldTheirLimits)
{
    auto passes = [&](const std::string& text, TNumberKind kind) {
        return Findings([&](TCheckMessages& m) { CheckNumberField(N(text), kind, "F", m); })
            .empty();
    };
    EXPECT_TRUE(passes("0", TNumberKind::NonNegativeReal));
    EXPECT_TRUE(passes("-1e-11", TNumberKind::NonNegativeReal));
    EXPECT_FALSE(passes("-0.001", TNumberKind::NonNegativeReal));
    EXPECT_FALSE(passes("0", TNumberKind::PositiveReal));
    EXPECT_TRUE(passes("1e-10", TNumberKind::PositiveReal));
    EXPECT_TRUE(passes("-3.5", TNumberKind::Real));
    EXPECT_FALSE(passes("3.5.1", TNumberKind::Real));
    EXPECT_TRUE(passes("0", TNumberKind::NonNegativeInteger));
    EXPECT_FALSE(passes("-1", TNumberKind::NonNegativeInteger));
    EXPECT_FALSE(passes("2.5", TNumberKind::NonNegativeInteger));
    EXPECT_TRUE(passes("   ", TNumberKind::PositiveReal));
    EXPECT_TRUE(passes(" 7 ", TNumberKind::PositiveReal));

    const auto message = Findings([&](TCheckMessages& m) {
        CheckNumberField("x", TNumberKind::NonNegativeInteger, "Depth", m);
    });
    EXPECT_EQ(message, std::vector<std::string>{
                           "E:A positive integer number is expected for the field: Depth"});
}

TEST_P(FormChecks, TheOtherSeparatorIsNotANumber)
{
    const std::string other = GetParam() == '.' ? "1,5" : "1.5";
    EXPECT_EQ(Findings([&](TCheckMessages& m) { CheckCoordinate(other, "Latitude", m); }),
              std::vector<std::string>{"E:A real number is expected for the field: Latitude"});
    EXPECT_EQ(Findings([&](TCheckMessages& m) { CheckCoordinate("", "Longitude", m); }).size(), 1u);
    EXPECT_EQ(Findings([&](TCheckMessages& m) { CheckCoordinate(N("38.25"), "Latitude", m); }),
              kNone);
}

TEST_P(FormChecks, LTAAYearsAndPeriod)
{
    const std::string tooShort = std::string("E:") + SLTAAPeriodTooShort;
    const std::string shortish = std::string("W:") + SLTAAPeriodShort;
    const std::string badStart =
        "E:An integer number between 1900 and 2008 is expected for the LTAA starting year";
    const std::string badEnd =
        "E:An integer number between 1900 and 2008 is expected for the LTAA ending year";

    EXPECT_EQ(LTAA("1988", "2008"), kNone);
    EXPECT_EQ(LTAA("1989", "2008"), std::vector<std::string>{shortish});
    EXPECT_EQ(LTAA("1999", "2008"), std::vector<std::string>{tooShort});
    EXPECT_EQ(LTAA("1998", "2008"), std::vector<std::string>{shortish});
    EXPECT_EQ(LTAA("2000", "1990"), std::vector<std::string>{tooShort});
    EXPECT_EQ(LTAA("1899", ""), std::vector<std::string>{badStart});
    EXPECT_EQ(LTAA("2009", ""), std::vector<std::string>{badStart});
    EXPECT_EQ(LTAA("1990", ""), kNone);
    EXPECT_EQ(LTAA("", "2010"), std::vector<std::string>{badEnd});
    // Out-of-range years still form a period.
    EXPECT_EQ(LTAA("1899", "2009"), (std::vector<std::string>{badStart, badEnd}));
    EXPECT_EQ(LTAA("1980", "2000", "2003"), kNone);
    EXPECT_EQ(
        LTAA("1980", "2004", "2003"),
        std::vector<std::string>{
            "E:An integer number between 1900 and 2003 is expected for the LTAA ending year"});
    EXPECT_EQ(LTAA(N("1990.5"), ""), std::vector<std::string>{badStart});
}

TEST_P(FormChecks, MonthlySumWithinOneMillionth)
{
    EXPECT_TRUE(MonthlySumMatches(Months(N("1.1"), N("13.2"))));
    EXPECT_FALSE(MonthlySumMatches(Months(N("1.1"), N("13.3"))));
    auto blankMonth = Months(N("1.1"), N("99"));
    blankMonth[4] = "";
    EXPECT_TRUE(MonthlySumMatches(blankMonth));
    EXPECT_TRUE(MonthlySumMatches(Months(N("1"), "")));

    EXPECT_EQ(Findings([&](TCheckMessages& m) {
                  CheckMonthlySum(Months("1", "13"), "Data", "Outflow", m);
              }),
              std::vector<std::string>{"E:The monthly values in table: 'Data' and column: "
                                       "'Outflow' do not sum up to the annual value"});
}

TEST_P(FormChecks, DisplayAndStoreRules)
{
    EXPECT_EQ(RealText(-9999.0), "");
    EXPECT_EQ(RealText(-5.5), N("-5.5"));
    EXPECT_EQ(NonNegativeRealText(-5.0), "");
    EXPECT_EQ(NonNegativeRealText(0.0), "0");
    EXPECT_EQ(IntegerText(-9999), "");
    EXPECT_EQ(IntegerText(-9998), "-9998");
    EXPECT_EQ(StoredReal("  "), -9999.0);
    EXPECT_EQ(StoredReal(N(" 2.5 ")), 2.5);
    EXPECT_EQ(StoredInteger(""), -9999);
    EXPECT_EQ(StoredInteger(" 1990"), 1990);
}

INSTANTIATE_TEST_SUITE_P(Separators, FormChecks, ::testing::Values('.', ','));

class StationChecks : public ::testing::Test {
protected:
    StationChecks()
    {
        Session = session_.get();
        country_ = new TRegion(nullptr, rtCountry, "GR");
    }
    ~StationChecks() override { session_.reset(); }

    std::vector<std::string> Unique(const std::string& id, TStationKind kind, const TEntity* self)
    {
        return Findings([&](TCheckMessages& m) { CheckIdentifierUnique(id, kind, self, m); });
    }

    std::unique_ptr<TSession> session_ = std::make_unique<TSession>();
    TRegion* country_ = nullptr;
};

TEST_F(StationChecks, IdentifiersAreUniquePerKindIgnoringCase)
{
    auto* reservoir = new TReservoir(country_, "Res1");
    new TWell(country_, "W1");

    EXPECT_EQ(Unique("RES1", skReservoir, nullptr),
              std::vector<std::string>{"E:A reservoir with ID 'RES1' already exists"});
    EXPECT_EQ(Unique("res1", skReservoir, reservoir), kNone);
    EXPECT_EQ(Unique("w1", skWell, nullptr),
              std::vector<std::string>{"E:A station with ID 'w1' already exists"});
    EXPECT_EQ(Unique("W1", skReservoir, reservoir), kNone);
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckIdentifierGiven("  ", "Needed", m); }),
              std::vector<std::string>{"E:Needed"});
}

TEST_F(StationChecks, YearBoxMinMaxAndNetwork)
{
    EXPECT_EQ(ReportingYear(" 2007 "), 2007);
    EXPECT_FALSE(ReportingYear("20o7"));
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckReportingYear("", m); }),
              std::vector<std::string>{"E:An integer number is expected for the Year"});
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckMinNotAboveMax("5", "3", m); }).size(), 1u);
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckMinNotAboveMax("3", "3", m); }), kNone);
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckMinNotAboveMax("", "3", m); }), kNone);
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckNetworkMembership(false, false, m); }),
              std::vector<std::string>{"W:This station is neither a DUNMAR nor a WFD station"});
    EXPECT_EQ(Findings([](TCheckMessages& m) { CheckNetworkMembership(false, true, m); }), kNone);
}

}  // namespace
