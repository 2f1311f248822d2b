#include "checks/water_use_checks.h"

#include "checks/form_values.h"
#include "checks/table_checks.h"
#include "platform/sysutils.h"

namespace {

constexpr int kFirstItemClass = 1;
constexpr int kLastItemClass = 3;

bool IsItemClass(const std::string& text)
{
    int value = 0;
    return TryStrToInt(text, value) && value >= kFirstItemClass && value <= kLastItemClass;
}

}  // namespace

TLargeItemRow LargeItemRowTexts(const ozr_wu_large_item& item)
{
    TLargeItemRow row;
    row[LargeItemNameCol] = item.ItemName;
    if (item.ItemClass >= 0)
        row[LargeItemClassCol] = IntToStr(item.ItemClass);
    for (std::size_t p = 0; p < item.WaterUse.size(); ++p)
        row[LargeItemFirstValueCol + p] = NonNegativeRealText(item.WaterUse[p]);
    return row;
}

std::optional<ozr_wu_large_item> LargeItemOfRow(const TLargeItemRow& row)
{
    std::string name = Trim(row[LargeItemNameCol]);
    if (name.empty())
        return std::nullopt;
    ozr_wu_large_item item;
    InitLargeItem(item);
    item.ItemName = std::move(name);
    item.ItemClass = StoredInteger(row[LargeItemClassCol]);
    for (std::size_t p = 0; p < item.WaterUse.size(); ++p)
        item.WaterUse[p] = StoredReal(row[LargeItemFirstValueCol + p]);
    return item;
}

void CheckLargeItemRow(const TLargeItemRow& row, const std::string& tableName,
                       TCheckMessages& messages)
{
    const std::string itemClass = Trim(row[LargeItemClassCol]);
    if (!itemClass.empty() && !IsItemClass(itemClass))
        messages.Error(FormatText(SItemClassRange, {tableName}));
    for (int col = LargeItemFirstValueCol; col < LargeItemCols; ++col)
        CheckNonNegativeCell(row[col], SWaterUseValueExpected, tableName, messages);
}
