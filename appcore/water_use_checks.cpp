#include "appcore/water_use_checks.h"

#include <span>

#include "appcore/form_values.h"
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
    return {item.ItemName, item.ItemClass >= 0 ? IntToStr(item.ItemClass) : std::string(),
            ShownQuantity(item.WaterUse)};
}

std::optional<ozr_wu_large_item> LargeItemOfRow(const TLargeItemRow& row)
{
    std::string name = Trim(row.Name);
    if (name.empty())
        return std::nullopt;
    ozr_wu_large_item item;
    InitLargeItem(item);
    item.ItemName = std::move(name);
    item.ItemClass = StoredInteger(row.ItemClass);
    item.WaterUse = StoredQuantity(row.Values);
    return item;
}

void CheckLargeItemRow(const TLargeItemRow& row, const std::string& tableName,
                       TCheckMessages& messages)
{
    const std::string itemClass = Trim(row.ItemClass);
    if (!itemClass.empty() && !IsItemClass(itemClass))
        messages.Error(FormatText(SItemClassRange, {tableName}));
    CheckTableNumbers(std::span(&row.Values, 1), TNumberKind::NonNegativeReal,
                      SWaterUseValueExpected, tableName, messages);
}
