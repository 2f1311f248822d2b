#include <limits>

#include <gtest/gtest.h>

#include "model/ozr_types.h"
#include "platform/exception.h"

namespace {

template <typename Convert>
std::string ErrorOf(Convert convert)
{
    try {
        convert();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no exception";
}

TEST(Converters, WordsRoundTripExactly)
{
    for (int t = rtCountry; t <= rtRB; ++t)
        EXPECT_EQ(StrToRegionType(RegionTypeToStr(static_cast<TRegionType>(t))), t);
    for (int s = tsDaily; s <= tsAnnual; ++s)
        EXPECT_EQ(StrToTimeScale(TimeScaleToStr(static_cast<TTimeScale>(s))), s);
    for (int s = nfsBrackishSwamp; s <= nfsOther; ++s)
        EXPECT_EQ(StrToNonFWSource(NonFWSourceToStr(static_cast<TNonFWSource>(s))), s);
    EXPECT_EQ(RegionTypeToStr(rtNUTS2), "NUTS2");
    EXPECT_EQ(StrToReservoirType("Man-made"), rsManMade);
    EXPECT_EQ(StrToReservoirType("Natural"), rsNatural);
    EXPECT_EQ(StrToArtifGWOrigin("desalinated water"), agoDesalinatedWater);
    EXPECT_EQ(StrToArtifGWOrigin("unknown"), agoUnknown);
    EXPECT_EQ(StrToYesNo("yes"), 1);
    EXPECT_EQ(StrToYesNo("no"), 0);
    EXPECT_EQ(StrToYesNo("unknown"), -9999);
}

TEST(Converters, UnknownValuesGiveTheWordUnknown)
{
    EXPECT_EQ(RegionTypeToStr(static_cast<TRegionType>(7)), "unknown");
    EXPECT_EQ(TimeScaleToStr(tsUnknown), "unknown");
    EXPECT_EQ(NonFWSourceToStr(nfsUnknown), "unknown");
    EXPECT_EQ(NonFWSourceToStr(static_cast<TNonFWSource>(9)), "unknown");
}

TEST(Converters, UnknownWordsRaiseWithTheOffendingText)
{
    EXPECT_EQ(ErrorOf([] { StrToRegionType("nuts1"); }), "Unknown region type: nuts1");
    EXPECT_EQ(ErrorOf([] { StrToReservoirType("natural"); }), "Unknown reservoir type: natural");
    EXPECT_EQ(ErrorOf([] { StrToTimeScale("Daily"); }),
              "Unknown precipitation data time scale: Daily");
    EXPECT_EQ(ErrorOf([] { StrToArtifGWOrigin("imports"); }),
              "Unknown artificial groundwater origin: imports");
    EXPECT_EQ(ErrorOf([] { StrToYesNo("Yes"); }), "Unknown Boolean value: Yes");
    EXPECT_EQ(ErrorOf([] { StrToYesNo(""); }), "Unknown Boolean value: ");
}

TEST(Converters, NonFreshwaterSourceIgnoresCaseAndNeverRaises)
{
    EXPECT_EQ(StrToNonFWSource("Marine"), nfsMarine);
    EXPECT_EQ(StrToNonFWSource("BRACKISH SWAMP"), nfsBrackishSwamp);
    EXPECT_EQ(StrToNonFWSource("sea"), nfsUnknown);
    EXPECT_EQ(StrToNonFWSource(""), nfsUnknown);
    EXPECT_EQ(StrToNonFWSource(" marine"), nfsUnknown);
}

TEST(Converters, RegionTypeDisplayNames)
{
    EXPECT_EQ(RegionTypeDisplayName(rtNUTS2), "NUTS level 2");
    EXPECT_EQ(RegionTypeDisplayName(rtRBD), "RBD");
    EXPECT_EQ(RegionTypeDisplayName(static_cast<TRegionType>(42)), "Unknown");
}

TEST(TextHelpers, DaysInYearHasNoCenturyRule)
{
    EXPECT_EQ(DaysInYear(1900), 366);
    EXPECT_EQ(DaysInYear(2000), 366);
    EXPECT_EQ(DaysInYear(2008), 366);
    EXPECT_EQ(DaysInYear(2007), 365);
}

TEST(TextHelpers, FieldEndFindsEmptyFieldsAndTheLineEnd)
{
    const std::string line = "a;;b";
    int start = 2;
    EXPECT_EQ(FieldEnd(line, ';', false, start), 1);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(FieldEnd(line, ';', true, start), 5);
    EXPECT_EQ(start, 4);
    start = 5;
    EXPECT_EQ(FieldEnd(line, ';', false, start), -1);
    start = 1;
    EXPECT_EQ(FieldEnd("", ';', false, start), -1);
    start = 2;
    EXPECT_EQ(FieldEnd(";;;", ';', true, start), -1);
}

TEST(TextHelpers, NextFieldWalksEveryFieldOfALine)
{
    const std::string line = "a;;bc;";
    std::vector<std::string> fields;
    int start = 1;
    std::string field;
    int end = 0;
    NextField(line, ';', start, field, end);
    EXPECT_EQ(field, "a");
    EXPECT_EQ(end, 1);
    while (end >= 0) {
        fields.push_back(field);
        start = end + 2;
        NextField(line, ';', start, field, end);
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"a", "", "bc"}));
    EXPECT_EQ(field, "");
}

TEST(TextHelpers, DateTimeToTextHasNoLeadingZeros)
{
    EXPECT_EQ(DateTimeToText(TDateTime{2009, 3, 7, 9, 5, 2}), "2009-3-7 9:5:2");
    EXPECT_EQ(DateTimeToText(TDateTime{2008, 12, 31, 23, 59, 0}), "2008-12-31 23:59:0");
}

TEST(Tables, ThresholdsOfTheWriterAndOfTheRegionsDiffer)
{
    TEntityData q = MissingReals<16>();
    EXPECT_FALSE(ArrayHasData(q));
    q[5] = -9998.5;
    EXPECT_FALSE(ArrayHasData(q));
    TWaterUseData2 table;
    InitWaterUseData2(table);
    EXPECT_FALSE(WaterUseData2HasData(table));
    table[10][15] = -9998.5;
    EXPECT_TRUE(WaterUseData2HasData(table));
    q[5] = -9997.0;
    EXPECT_TRUE(ArrayHasData(q));
    EXPECT_TRUE(ArrayRangeHasData(q, 5, 5));
    EXPECT_FALSE(ArrayRangeHasData(q, 6, 15));
    EXPECT_FALSE(ArrayRangeHasData(q, 5, 4));
    EXPECT_TRUE(ArrayRangeHasData(q, -3, 40));
}

TEST(Tables, NotANumberIsNoData)
{
    TWaterUseData1 table;
    InitWaterUseData1(table);
    table[0][0] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(WaterUseData1HasData(table));
    EXPECT_FALSE(ArrayHasData(table[0]));
}

TEST(Tables, LargeItemStartsEmpty)
{
    ozr_wu_large_item item;
    item.ItemClass = 2;
    item.ItemName = "Athens";
    item.WaterUse[3] = 1.0;
    InitLargeItem(item);
    EXPECT_EQ(item.ItemClass, -9999);
    EXPECT_EQ(item.ItemName, "");
    EXPECT_EQ(item.WaterUse, MissingReals<16>());
}

}  // namespace
