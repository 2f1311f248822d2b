#pragma once

// The seven tables of the water-abstraction form on their texts: which region
// quantity each grid column shows, the names the checks give each table, and
// loading, checking and storing the whole set. Columns count from 1 in the
// titles' order; the texts of column c stand at [c - 1].

#include <array>
#include <string>
#include <vector>

#include "appcore/check_messages.h"
#include "appcore/quantity_columns.h"
#include "model/ozr_types.h"

inline constexpr const char* SAbsNumberExpected =
    "A positive real number or zero is expected for the field: %s";

// A quantity of the region's tables: one of its own, or one sector (from 1)
// of a 16-sector table.
struct TQuantityField {
    TEntityData TRegionTables::*Quantity = nullptr;
    TWaterUseData1 TRegionTables::*Table = nullptr;
    int Sector = 0;
};

const TEntityData& QuantityOf(const TRegionTables& tables, const TQuantityField& field);
TEntityData& QuantityOf(TRegionTables& tables, const TQuantityField& field);

struct TAbsColumn {
    std::string Title;
    TQuantityField Field;
    // False for a column that shows a quantity stored through another table's column.
    bool Stored = true;
};

struct TAbsTable {
    std::string NumberName;  // in the number messages
    std::string SumName;     // in the monthly-sum messages, quoted there
    std::vector<TAbsColumn> Columns;

    std::vector<std::string> Titles() const;
};

enum TAbsTableIndex {
    atTotal,
    atPublic,
    atSelf,
    atSelfSW,
    atSelfGW,
    atNonFW,
    atOther,
    AbsTableCount
};

// In page order.
const std::array<TAbsTable, AbsTableCount>& WaterAbsTables();

using TWaterAbsTexts = std::array<TTableTexts, AbsTableCount>;

// What the form holds when OK is pressed, the combo boxes apart.
struct TWaterAbsEntries {
    std::string Year;
    std::string FromYear;
    std::string ToYear;
    TWaterAbsTexts Tables;
};

TWaterAbsTexts ShownWaterAbsTables(const TRegionTables& tables);
// Every stored column overwrites its quantity; sectors without a column keep
// their values.
void StoreWaterAbsTables(const TWaterAbsTexts& texts, TRegionTables& tables);
// The year, the numbers of the seven tables, the LTAA years and the monthly
// sums, in this order. Tables are not compared with one another.
void CheckWaterAbsEntries(const TWaterAbsEntries& entries, TCheckMessages& messages);
