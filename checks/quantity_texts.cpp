#include "checks/quantity_texts.h"

#include "checks/form_values.h"
#include "platform/sysutils.h"

const std::array<const char*, 16> PeriodTitles = {
    "Month 1 (Jan)",  "Month 2 (Feb)",  "Month 3 (Mar)",  "Month 4 (Apr)",
    "Month 5 (May)",  "Month 6 (Jun)",  "Month 7 (Jul)",  "Month 8 (Aug)",
    "Month 9 (Sept)", "Month 10 (Oct)", "Month 11 (Nov)", "Month 12 (Dec)",
    "Annual",         "Wet Season",     "Dry Season",     "LTAA"};

TQuantityTexts QuantityTexts(const TEntityData& values, TShownValues shown)
{
    TQuantityTexts texts;
    for (std::size_t i = 0; i < values.size(); ++i)
        texts[i] = shown == TShownValues::NonNegative ? NonNegativeRealText(values[i])
                                                      : RealText(values[i]);
    return texts;
}

TEntityData StoredQuantity(const TQuantityTexts& texts)
{
    TEntityData values;
    for (std::size_t i = 0; i < texts.size(); ++i)
        values[i] = StoredReal(texts[i]);
    return values;
}

void CheckTableNumbers(const TTableTexts& table, TNumberKind kind, const char* pattern,
                       const std::string& tableName, TCheckMessages& messages)
{
    for (std::size_t row = 0; row < std::tuple_size_v<TQuantityTexts>; ++row)
        for (const TQuantityTexts& column : table) {
            const std::string text = Trim(column[row]);
            if (!text.empty() && !IsNumberOfKind(text, kind))
                messages.Error(FormatText(pattern, {tableName}));
        }
}

void CheckTableSums(const TTableTexts& table, std::span<const char* const> titles,
                    const std::string& tableName, TCheckMessages& messages)
{
    for (std::size_t col = 0; col < table.size(); ++col)
        CheckMonthlySum(std::span(table[col]).first(AnnualIndex + 1), tableName, titles[col],
                        messages);
}
