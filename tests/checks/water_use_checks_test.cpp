#include "checks/water_use_checks.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks/table_checks.h"
#include "platform/regional_settings.h"

namespace {

std::vector<std::string> Errors(const TCheckMessages& messages)
{
    std::vector<std::string> texts;
    for (const TCheckMessage& m : messages.Items()) {
        EXPECT_EQ(m.Kind, mkError);
        texts.push_back(m.Text);
    }
    return texts;
}

std::vector<std::string> CellFindings(const std::string& text)
{
    TCheckMessages messages;
    CheckNonNegativeCell(text, SWaterUseValueExpected, "Self-suply", messages);
    return Errors(messages);
}

TLargeItemRow Row(const std::string& name, const std::string& itemClass,
                  const std::string& firstValue = "")
{
    TLargeItemRow row;
    row[LargeItemNameCol] = name;
    row[LargeItemClassCol] = itemClass;
    row[LargeItemFirstValueCol] = firstValue;
    return row;
}

std::vector<std::string> RowFindings(const TLargeItemRow& row)
{
    TCheckMessages messages;
    CheckLargeItemRow(row, "Total volume of water use per large city", messages);
    return Errors(messages);
}

const std::vector<std::string> kNone;

}  // namespace

TEST(TableChecks, CellsTakeZeroRoundingNoiseAndTheUsersSeparatorOnly)
{
    ScopedRegionalSettings point('.');
    for (const char* good : {"", "   ", "0", " 1.5 ", "-0.00000000001", "1e3"})
        EXPECT_EQ(CellFindings(good), kNone) << good;
    const std::vector<std::string> bad = {
        "A positive real number or zero is expected for the data grid: Self-suply"};
    for (const char* wrong : {"1,5", "-0.001", "abc", "1.5x"})
        EXPECT_EQ(CellFindings(wrong), bad) << wrong;
    ScopedRegionalSettings comma(',');
    EXPECT_EQ(CellFindings("1,5"), kNone);
    EXPECT_EQ(CellFindings("1.5"), bad);
}

TEST(TableChecks, RemarksEndEveryMemoLineWithCrLf)
{
    EXPECT_EQ(RemarksOfMemo(""), "");
    EXPECT_EQ(RemarksOfMemo("one"), "one\r\n");
    EXPECT_EQ(RemarksOfMemo("one\ntwo\n"), "one\r\ntwo\r\n");
    EXPECT_EQ(RemarksOfMemo("one\n\n"), "one\r\n\r\n");
    for (const std::string remarks : {"", "a\r\n", "a\r\n\r\nb\r\n", "\r\n"})
        EXPECT_EQ(RemarksOfMemo(MemoTextOfRemarks(remarks)), remarks);
    EXPECT_EQ(MemoTextOfRemarks("a\rb\r\nc"), "a\nb\nc");
}

TEST(LargeItems, RowsShowOnlyValuesOfAtLeastZero)
{
    ScopedRegionalSettings point('.');
    ozr_wu_large_item item;
    item.ItemName = " Kavala ";
    item.ItemClass = 0;
    item.WaterUse[0] = 0.0;
    item.WaterUse[1] = -5.0;
    item.WaterUse[15] = 2.5;
    const TLargeItemRow row = LargeItemRowTexts(item);
    EXPECT_EQ(row[LargeItemNameCol], " Kavala ");
    EXPECT_EQ(row[LargeItemClassCol], "0");
    EXPECT_EQ(row[LargeItemFirstValueCol], "0");
    EXPECT_EQ(row[LargeItemFirstValueCol + 1], "");
    EXPECT_EQ(row[LargeItemFirstValueCol + 2], "");
    EXPECT_EQ(row[LargeItemCols - 1], "2.5");
    item.ItemClass = MissingInteger;
    EXPECT_EQ(LargeItemRowTexts(item)[LargeItemClassCol], "");
}

TEST(LargeItems, RowsWithoutANameStoreNothingOthersStoreTrimmed)
{
    ScopedRegionalSettings point('.');
    EXPECT_FALSE(LargeItemOfRow(Row("", "1", "5")));
    EXPECT_FALSE(LargeItemOfRow(Row(" \t ", "1", "5")));
    const auto item = LargeItemOfRow(Row("  Drama ", " ", " 12.5 "));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->ItemName, "Drama");
    EXPECT_EQ(item->ItemClass, MissingInteger);
    EXPECT_EQ(item->WaterUse[0], 12.5);
    EXPECT_EQ(item->WaterUse[1], MissingReal);
    EXPECT_EQ(LargeItemOfRow(Row("Xanthi", " 3 "))->ItemClass, 3);
}

TEST(LargeItems, ClassIsOneToThreeAndValuesNonNegative)
{
    ScopedRegionalSettings point('.');
    for (const char* good : {"", "1", " 2 ", "3"})
        EXPECT_EQ(RowFindings(Row("City", good)), kNone) << good;
    const std::string classError =
        "Column 'Item class' in table 'Total volume of water use per large city'may have only "
        "values between 1 and 3";
    for (const char* wrong : {"4", "0", "2.5", "x", "-1"})
        EXPECT_EQ(RowFindings(Row("City", wrong)), std::vector<std::string>{classError}) << wrong;
    const std::string valueError =
        "A positive real number or zero is expected for the data grid: Total volume of water use "
        "per large city";
    TLargeItemRow row = Row("", "7", "abc");
    row[LargeItemCols - 1] = "-1";
    EXPECT_EQ(RowFindings(row), (std::vector<std::string>{classError, valueError, valueError}));
}
