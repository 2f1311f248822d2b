#pragma once

// The quantities of the table forms as their grids show them: one grid column
// per quantity, one row per period (months 1 to 12, annual, wet season, dry
// season, LTAA), each cell a text. Loading writes the values as texts, the
// checks read the texts, and storing turns the texts back into values.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "checks/check_messages.h"
#include "checks/form_checks.h"
#include "model/ozr_types.h"

// Row r (from 1) of a quantity column at [r - 1].
using TQuantityTexts = std::array<std::string, 16>;
// The data columns of a grid: column c (from 1) at [c - 1].
using TTableTexts = std::vector<TQuantityTexts>;

// The titles of rows 1 to 16.
extern const std::array<const char*, 16> PeriodTitles;

// Which stored values a grid shows; the others are blank cells.
enum class TShownValues { NonNegative, AboveMissing };

TQuantityTexts QuantityTexts(const TEntityData& values, TShownValues shown);
// A blank cell stores the missing value.
TEntityData StoredQuantity(const TQuantityTexts& texts);

// Every cell that is not blank must be a number of the kind; the cells are
// taken row by row and, within a row, column by column, and each bad cell adds
// the error `pattern` with the table's name.
void CheckTableNumbers(const TTableTexts& table, TNumberKind kind, const char* pattern,
                       const std::string& tableName, TCheckMessages& messages);
// The monthly-sum check on each column in turn, with the column's title.
void CheckTableSums(const TTableTexts& table, std::span<const char* const> titles,
                    const std::string& tableName, TCheckMessages& messages);
