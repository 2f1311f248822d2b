#pragma once

// The water-use form's own messages and its large water users (cities,
// industries, agricultural units) as the texts of their grid rows: the name,
// the item class and the sixteen period values.

#include <optional>
#include <string>

#include "appcore/check_messages.h"
#include "appcore/quantity_columns.h"
#include "model/ozr_types.h"

inline constexpr const char* SWaterUseValueExpected =
    "A positive real number or zero is expected for the data grid: %s";
inline constexpr const char* SItemClassRange =
    "Column 'Item class' in table '%s'may have only values between 1 and 3";

struct TLargeItemRow {
    std::string Name;
    std::string ItemClass;
    TPeriodTexts Values;
};

// The class when it is at least 0 and the values when they are at least 0;
// blank otherwise.
TLargeItemRow LargeItemRowTexts(const ozr_wu_large_item& item);

// The item a row stores: nothing for a row whose trimmed name is blank,
// whatever else it holds; otherwise the trimmed name, and the class and values
// of the cells that are not blank (missing for the blank ones).
std::optional<ozr_wu_large_item> LargeItemOfRow(const TLargeItemRow& row);

// The class, when given, must be a whole number from 1 to 3; then each value
// given must be a real of at least -1e-10.
void CheckLargeItemRow(const TLargeItemRow& row, const std::string& tableName,
                       TCheckMessages& messages);
