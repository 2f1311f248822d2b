#pragma once

// Grid columns that each show one quantity, rows 1 to 16 being the months, the
// annual value, the wet and dry season and the LTAA: how the table forms show
// such a column, store it back and check it, on its texts.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "model/ozr_types.h"

// The titles of rows 1 to 16.
extern const std::array<const char*, 16> PeriodTitles;

// Rows 1 to 16 of one column, at [0] to [15].
using TPeriodTexts = std::array<std::string, 16>;
// The data columns of a grid: column c (from 1) at [c - 1].
using TTableTexts = std::vector<TPeriodTexts>;

// Which stored values a grid shows; the others are blank cells.
enum class TShownValues { NonNegative, AboveMissing };

TPeriodTexts ShownQuantity(const TEntityData& values,
                           TShownValues shown = TShownValues::NonNegative);
// A blank text stores the missing value; only checked texts reach this.
TEntityData StoredQuantity(const TPeriodTexts& texts);

// Row by row and, within a row, column by column: one error naming the table
// for every cell that is not blank and whose trimmed text is not a number of
// the kind. `message` holds one "%s" for the table's name.
void CheckTableNumbers(std::span<const TPeriodTexts> columns, TNumberKind kind, const char* message,
                       const std::string& tableName, TCheckMessages& messages);
// Column by column: the monthly-sum error quoting the table's name and the
// column's title, for each column whose months do not add up to its annual value.
void CheckMonthlySums(std::span<const TPeriodTexts> columns,
                      std::span<const std::string> columnTitles, const std::string& tableName,
                      TCheckMessages& messages);
