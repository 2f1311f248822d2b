#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "platform/sysutils.h"

namespace {

struct FloatCase {
    double value;
    const char* text;
};

TEST(FloatToStr, GeneralFormatWithFifteenDigits)
{
    ScopedRegionalSettings point('.');
    const FloatCase cases[] = {
        {12.5, "12.5"},
        {3, "3"},
        {0, "0"},
        {-0.5, "-0.5"},
        {0.00001, "0.00001"},
        {0.000012345, "0.000012345"},
        {0.0000099, "9.9E-6"},
        {1E15, "1E15"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {-9999, "-9999"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {100, "100"},
        {1E-6, "1E-6"},
        {1.5E-300, "1.5E-300"},
        {-1.25E20, "-1.25E20"},
        {999999999999999.9, "1E15"},  // rounding carries into a sixteenth digit
        {0.000009999999999999999, "0.00001"},
    };
    for (const FloatCase& c : cases)
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.text;
}

TEST(FloatToStr, UsesTheUsersDecimalSeparator)
{
    ScopedRegionalSettings comma(',');
    EXPECT_EQ(FloatToStr(2.5), "2,5");
    EXPECT_EQ(FloatToStr(1.23456789012346E15), "1,23456789012346E15");
    EXPECT_EQ(FloatToStr(7), "7");
}

TEST(FloatToStr, NonFiniteValues)
{
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(StrToFloat, AcceptsTheWholeTextInTheCurrentNotation)
{
    ScopedRegionalSettings point('.');
    EXPECT_DOUBLE_EQ(StrToFloat("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-0.5"), -0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("+3"), 3);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("5."), 5);
    EXPECT_DOUBLE_EQ(StrToFloat("1E-6"), 1E-6);
    EXPECT_DOUBLE_EQ(StrToFloat("9.9e+3"), 9900);
    EXPECT_DOUBLE_EQ(StrToFloat("  7.25  "), 7.25);
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(1.0 / 3.0)), 0.333333333333333);
}

// Short decimals take a quicker road than the others: both must give the
// double nearest to the text, bit for bit, with either separator, on both
// sides of the fifteen digits where the roads part.
TEST(StrToFloat, ShortDecimalsGiveTheNearestDoubleAsTheFullConversion)
{
    std::mt19937_64 random(19);
    for (const char separator : {'.', ','}) {
        ScopedRegionalSettings regional(separator);
        for (int i = 0; i < 20000; ++i) {
            const int digits = 1 + static_cast<int>(random() % 17);
            std::string inC = random() % 4 == 0 ? "-" : "";
            const int point = static_cast<int>(random() % (digits + 1));
            for (int d = 0; d < digits; ++d) {
                if (d == point)
                    inC += '.';
                inC += static_cast<char>('0' + random() % 10);
            }
            double expected = 0;
            std::from_chars(inC.data(), inC.data() + inC.size(), expected);
            std::string text = inC;
            std::replace(text.begin(), text.end(), '.', separator);
            double value = 42;
            ASSERT_TRUE(TryStrToFloat(text, value)) << text;
            EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
                << text;
        }
    }
}

TEST(StrToFloat, RefusesOtherTexts)
{
    ScopedRegionalSettings point('.');
    double value = 42;
    for (const char* text : {"", " ", "1,5", "abc", "1.5x", "1e", "e5", "-", ".", "1..2", "0x10",
                             "1 000", "nan", "inf", "+-1", "-+1", "--1"}) {
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
        EXPECT_EQ(value, 42) << "a failed conversion leaves the value alone";
    }
}

TEST(StrToFloat, FailureMessageNamesTheText)
{
    ScopedRegionalSettings point('.');
    try {
        StrToFloat("1,5");
        FAIL() << "no exception";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'1,5' is not a valid floating point value");
    }
}

TEST(StrToFloat, CommaSeparatorReadsCommaAndRefusesPoint)
{
    ScopedRegionalSettings comma(',');
    EXPECT_DOUBLE_EQ(StrToFloat("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloat(" +2,5E-3 "), 0.0025);
    EXPECT_THROW(StrToFloat("12.5"), EConvertError);
}

TEST(StrToInt, ThirtyTwoBitRangeWithOptionalSign)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-9999"), -9999);
    EXPECT_EQ(StrToInt("+17"), 17);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    int value = 5;
    for (const char* text : {"", "-", "2147483648", "-2147483649", "99999999999999999999", "1.0",
                             "12a", "1 2", "7 "}) {
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, 5);
    }
}

TEST(StrToInt, FailureMessageNamesTheText)
{
    try {
        StrToInt("x");
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
    }
}

TEST(TextHelpers, TrimBoolAndCase)
{
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(Trim("\x01\x1f"), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false), "0");
    EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
    EXPECT_EQ(AsciiLowerCase("W-01 Ä"), "w-01 Ä");
    EXPECT_EQ(AsciiUpperCase("gr01"), "GR01");
}

TEST(RegionalSettings, ScopedOverrideIsRestored)
{
    const char before = DecimalSeparator();
    const std::string dateBefore = ShortDateFormat();
    {
        ScopedRegionalSettings other(before == ',' ? '.' : ',', "yyyy-mm-dd");
        EXPECT_NE(DecimalSeparator(), before);
        EXPECT_EQ(ShortDateFormat(), "yyyy-mm-dd");
        EXPECT_EQ(DateSeparator(), '-');
    }
    EXPECT_EQ(DecimalSeparator(), before);
    EXPECT_EQ(ShortDateFormat(), dateBefore);
}

}  // namespace
