#include "appcore/water_use_checks.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

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

TLargeItemRow Row(const std::string& name, const std::string& itemClass,
                  const std::string& firstValue = "")
{
    TLargeItemRow row{name, itemClass, {}};
    row.Values[0] = firstValue;
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
    row.Values[15] = "-1";
    EXPECT_EQ(RowFindings(row), (std::vector<std::string>{classError, valueError, valueError}));
    for (const char* good : {" 0 ", "-0.00000000001", "1e3"})
        EXPECT_EQ(RowFindings(Row("City", "1", good)), kNone) << good;
    EXPECT_EQ(RowFindings(Row("City", "1", "1,5")), std::vector<std::string>{valueError});
    ScopedRegionalSettings comma(',');
    EXPECT_EQ(RowFindings(Row("City", "1", "1,5")), kNone);
}
