#include "appcore/form_checks.h"

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "appcore/daily_dates.h"
#include "appcore/form_texts.h"
#include "appcore/form_values.h"
#include "appcore/water_abs_tables.h"
#include "appcore/water_balance_texts.h"
#include "appcore/water_use_checks.h"
#include "platform/regional_settings.h"
#include "tests/model/model_session_fixture.h"

namespace {

using Lines = std::vector<std::string>;
const Lines kNone;

// The messages a check adds: errors as their text, warnings after "W:".
template <typename TCheck, typename... TArgs>
Lines Findings(TCheck check, const TArgs&... args)
{
    TCheckMessages messages;
    check(args..., messages);
    Lines lines;
    for (const TCheckMessage& m : messages.Items())
        lines.push_back((m.Kind == mkError ? "" : "W:") + m.Text);
    return lines;
}

// Each test runs with either separator; N() writes "." as the separator of the run.
class FormChecks : public ::testing::TestWithParam<char> {
protected:
    std::string N(std::string text) const
    {
        std::ranges::replace(text, '.', GetParam());
        return text;
    }
    std::string Other() const { return GetParam() == '.' ? "1,5" : "1.5"; }

    ScopedRegionalSettings settings_{GetParam()};
};

TEST_P(FormChecks, NumberLimitsInBothDirections)
{
    for (const char* good : {"-100", "5000", "", "4999.99"})
        EXPECT_EQ(Findings(CheckAltitude, N(good)), kNone) << good;
    for (const char* bad : {"-100.5", "5000.01", "abc"})
        EXPECT_EQ(Findings(CheckAltitude, N(bad)), Lines{SAltitudeRange}) << bad;
    using enum TNumberKind;
    const std::tuple<const char*, TNumberKind, bool> cases[] = {
        {"-1e-11", NonNegativeReal, true}, {"-0.001", NonNegativeReal, false},
        {"0", PositiveReal, false},        {"1e-10", PositiveReal, true},
        {" 7 ", PositiveReal, true},       {"3.5.1", Real, false},
        {"-1", NonNegativeInteger, false}, {"2.5", NonNegativeInteger, false}};
    for (const auto& [text, kind, passes] : cases)
        EXPECT_EQ(IsNumberOfKind(N(text), kind), passes) << text;
    EXPECT_FALSE(IsNumberOfKind(Other(), Real));
    EXPECT_EQ(Findings(CheckNumberField, "x", NonNegativeInteger, "Depth"),
              Lines{"A positive integer number is expected for the field: Depth"});
    EXPECT_EQ(RealText(-5.5), N("-5.5"));
}

TEST_P(FormChecks, LTAAYearsAndPeriodAndMonthlySum)
{
    const std::string range = "An integer number between 1900 and 2008 is expected for the ";
    const std::string from = range + "LTAA starting year", to = range + "LTAA ending year";
    const std::string tooShort = SLTAAPeriodTooShort,
                      shortish = "W:" + std::string(SLTAAPeriodShort);
    const std::tuple<const char*, const char*, Lines> cases[] = {
        {"1988", "2008", kNone},      {"1989", "2008", {shortish}}, {"1998", "2008", {shortish}},
        {"1999", "2008", {tooShort}}, {"2000", "1990", {tooShort}}, {"1899", "", {from}},
        {"2009", "", {from}},         {"1990", "", kNone},          {"", "2010", {to}},
        {"1899", "2009", {from, to}}};
    for (const auto& [fromYear, toYear, expected] : cases)
        EXPECT_EQ(Findings(CheckLTAAPeriod, fromYear, toYear, "2008"), expected) << fromYear;
    EXPECT_EQ(Findings(CheckLTAAPeriod, N("1990.5"), "", "2008"), Lines{from});

    Lines months(12, N("1.1"));
    months.push_back(N("13.2"));
    EXPECT_TRUE(MonthlySumMatches(months));
    months[12] = N("13.3");
    EXPECT_FALSE(MonthlySumMatches(months));
    months[4] = "";
    EXPECT_TRUE(MonthlySumMatches(months));
}

TEST_P(FormChecks, LargeWaterUsersAreStoredByNameAndCheckedCellByCell)
{
    EXPECT_FALSE(LargeItemOfRow({" \t ", "1", {"5"}}));
    const auto item = LargeItemOfRow({"  Drama ", " ", {N(" 12.5 ")}});
    ASSERT_TRUE(item);
    EXPECT_EQ(std::tie(item->ItemName, item->ItemClass, item->WaterUse[0], item->WaterUse[1]),
              std::make_tuple("Drama", MissingInteger, 12.5, MissingReal));

    auto check = [](const TLargeItemRow& row) {
        return Findings(CheckLargeItemRow, row, "Cities");
    };
    const std::string classError =
        "Column 'Item class' in table 'Cities'may have only values between 1 and 3";
    const std::string valueError =
        "A positive real number or zero is expected for the data grid: Cities";
    for (const char* good : {"", " 1 ", "3"})
        EXPECT_EQ(check({"C", good, {N(" 1.5 ")}}), kNone) << good;
    for (const char* wrong : {"4", "0", "2.5"})
        EXPECT_EQ(check({"C", wrong, {}}), Lines{classError}) << wrong;
    EXPECT_EQ(check({"C", "1", {Other()}}), Lines{valueError});
    // A row without a name is checked all the same, every bad cell on its own.
    TLargeItemRow bad{"", "7", {"abc"}};
    bad.Values[15] = "-1";
    EXPECT_EQ(check(bad), (Lines{classError, valueError, valueError}));
}

INSTANTIATE_TEST_SUITE_P(Separators, FormChecks, ::testing::Values('.', ','));

using StationChecks = SessionTest;

TEST_F(StationChecks, IdentifiersAreUniquePerKindIgnoringCaseAndTheYearIsWhole)
{
    auto* country = new TRegion(nullptr, rtCountry, "GR");
    const TEntity* reservoir = new TReservoir(country, "Res1");
    const TEntity* none = nullptr;
    new TWell(country, "W1");
    EXPECT_EQ(Findings(CheckIdentifierUnique, "RES1", skReservoir, none),
              Lines{"A reservoir with ID 'RES1' already exists"});
    EXPECT_EQ(Findings(CheckIdentifierUnique, "res1", skReservoir, reservoir), kNone);
    EXPECT_EQ(Findings(CheckIdentifierUnique, "w1", skWell, none),
              Lines{"A station with ID 'w1' already exists"});
    EXPECT_EQ(Findings(CheckIdentifierUnique, "W1", skReservoir, reservoir), kNone);
    EXPECT_EQ(ReportingYear(" 2007 "), 2007);
    EXPECT_FALSE(ReportingYear("2007.5"));
    EXPECT_EQ(Findings(CheckReportingYear, "20o7"), Lines{SYearNotInteger});
}

TEST(WaterAbsTables, MessagesComeInTheirOrderAndTablesAreNotCompared)
{
    TWaterAbsEntries entries{"20o8", "1850", "2000", {}};
    for (std::size_t t = 0; t < entries.Tables.size(); ++t)
        entries.Tables[t].resize(WaterAbsTables()[t].Columns.size());
    auto& [total, publicWSS, self, selfSW, selfGW, nonFW, other] = entries.Tables;
    nonFW[10].fill("1");
    nonFW[10][12] = "13";
    total[4][5] = "x";
    // A bad value shown in both views of the groundwater total is reported for each.
    self[2][0] = selfGW[0][0] = "abc";
    other[1][15] = "-0.001";
    publicWSS[0][0] = "-1e-11";
    // Parts that do not add up to the total pass.
    total[0][12] = "100";
    total[1][12] = "30";
    const std::string number = "A positive real number or zero is expected for the field: ";
    EXPECT_EQ(Findings(CheckWaterAbsEntries, entries),
              (Lines{SYearNotInteger, number + "Total volume of freshwater abstraction",
                     number + "FW for self-supply (Total)", number + "FW for self-supply (from GW)",
                     number + "Other data",
                     "An integer number between 1900 and 20o8 is expected for the LTAA "
                     "starting year",
                     "The monthly values in table: 'Non freshwater sources ' and column: "
                     "'Other (e.g. construction)' do not sum up to the annual value"}));
}

TEST(WaterAbsTables, ColumnsShowTheirSectorsAndSectorsWithoutColumnSurviveStoring)
{
    TRegionTables tables;
    auto [sw, gw, nonFW] =
        std::tie(tables.FWAAbstractionForSelfSupplyTotalSW,
                 tables.FWAAbstractionForSelfSupplyTotalGW, tables.FWANonFreshwater);
    for (std::size_t s = 0; s < 16; ++s) {
        sw[s].fill(100.0 + s);
        gw[s].fill(200.0 + s);
        nonFW[s].fill(300.0 + s);
    }
    tables.FWAEvaporationLosses.fill(7);
    TWaterAbsTexts texts = ShownWaterAbsTables(tables);
    // Column 7 shows cooling in industry (sector 11), column 10 hydropower (14); without
    // hydropower, column 10 of the non-freshwater table shows nace_i (15).
    EXPECT_EQ(std::tie(texts[atSelfSW][6][0], texts[atSelfSW].at(9)[15], texts[atNonFW].at(9)[0],
                       texts[atSelf][1][0], texts[atSelf][2][0], texts[atOther][1][0]),
              std::make_tuple("110", "113", "314", "100", "200", "7"));

    for (TTableTexts& columns : texts)
        std::ranges::fill(columns, TPeriodTexts{});
    texts[atSelf][1].fill("5");  // shows the SW total that the SW table stores
    texts[atSelfSW][0].fill("7");
    StoreWaterAbsTables(texts, tables);
    EXPECT_EQ(std::tie(sw[0][0], tables.FWAEvaporationLosses[0], nonFW[14][0], nonFW[13][0]),
              std::make_tuple(7.0, MissingReal, MissingReal, 313.0));
    for (std::size_t s : {6u, 7u, 8u, 9u})
        EXPECT_EQ(std::tie(sw[s][0], gw[s][0], nonFW[s][0]),
                  std::make_tuple(100.0 + s, 200.0 + s, 300.0 + s));
}

TEST(WaterBalanceTexts, EachTableShowsItsQuantitiesInItsColumns)
{
    TRegionTables tables;
    tables.FWBWaterStorage[2][LTAAIndex] = -3.25;
    tables.FWBWaterStorage[0][0] = -9999.5;
    tables.FWBReturned[0][0] = -2;
    tables.FWBLossesBetwnUseAndReuse[AnnualIndex] = 0;
    tables.FWBArtifGWOrigin = static_cast<TArtifGWOrigin>(9);
    const TWaterBalanceTexts texts = WaterBalanceTexts(tables);
    const auto& [storage, returned] =
        std::tie(texts.Tables[wbWaterStorage], texts.Tables[wbReturned]);
    EXPECT_EQ(
        std::tie(storage[2][LTAAIndex], storage[0][0], returned[0][0], returned.at(9)[AnnualIndex]),
        std::make_tuple("-3.25", "", "", "0"));
    EXPECT_EQ(texts.ArtifGWOrigin, agoUnknown);
}

TEST(FormValues, RemarksEndEveryLineWithCrLfAndComeBackAsStored)
{
    constexpr TLineEnds every = TLineEnds::AfterEvery;
    EXPECT_EQ(StoredRemarks("one\n\nthree", every), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(ShownRemarks("one\r\n\r\nthree\r\n", every), "one\n\nthree");
    for (const std::string remarks : {"", "\r\n", "one\r\n", "one\r\n\r\ntwo\r\n", "one\r\n\r\n"})
        EXPECT_EQ(StoredRemarks(ShownRemarks(remarks, every), every), remarks);
}

// The grid counts its days by the four-year rule, the dates by the calendar:
// they part in a year like 1900, and no year in the box may make labelling fail.
TEST(DailyRowLabel, NamesTheCalendarDateOfEachDay)
{
    EXPECT_EQ(DailyRowLabel(2008, 60), "60)  29/2/2008");
    EXPECT_EQ(DailyRowLabel(1900, 366), "366)  1/1/1901");
    EXPECT_EQ(DailyRowLabel(INT_MAX, 365), "365)  31/12/2147483647");
    EXPECT_EQ(DailyRowLabel(INT_MIN, 366), "366)  31/12/-2147483648");
}

}  // namespace
