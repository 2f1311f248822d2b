#include "appcore/quantity_columns.h"

#include "appcore/form_checks.h"
#include "appcore/form_values.h"
#include "platform/sysutils.h"

const std::array<const char*, 16> PeriodTitles = {
    "Month 1 (Jan)",  "Month 2 (Feb)",  "Month 3 (Mar)",  "Month 4 (Apr)",
    "Month 5 (May)",  "Month 6 (Jun)",  "Month 7 (Jul)",  "Month 8 (Aug)",
    "Month 9 (Sept)", "Month 10 (Oct)", "Month 11 (Nov)", "Month 12 (Dec)",
    "Annual",         "Wet Season",     "Dry Season",     "LTAA"};

TPeriodTexts ShownQuantity(const TEntityData& values, TShownValues shown)
{
    TPeriodTexts texts;
    for (std::size_t i = 0; i < values.size(); ++i)
        texts[i] = shown == TShownValues::NonNegative ? NonNegativeRealText(values[i])
                                                      : RealText(values[i]);
    return texts;
}

TEntityData StoredQuantity(const TPeriodTexts& texts)
{
    TEntityData values;
    for (std::size_t i = 0; i < texts.size(); ++i)
        values[i] = StoredReal(texts[i]);
    return values;
}

void CheckTableNumbers(std::span<const TPeriodTexts> columns, TNumberKind kind, const char* message,
                       const std::string& tableName, TCheckMessages& messages)
{
    for (std::size_t row = 0; row < std::tuple_size_v<TPeriodTexts>; ++row)
        for (const TPeriodTexts& column : columns) {
            const std::string trimmed = Trim(column[row]);
            if (!trimmed.empty() && !IsNumberOfKind(trimmed, kind))
                messages.Error(FormatText(message, {tableName}));
        }
}

void CheckMonthlySums(std::span<const TPeriodTexts> columns,
                      std::span<const std::string> columnTitles, const std::string& tableName,
                      TCheckMessages& messages)
{
    for (std::size_t col = 0; col < columns.size() && col < columnTitles.size(); ++col)
        CheckMonthlySum(std::span(columns[col]).first(13), tableName, columnTitles[col], messages);
}
