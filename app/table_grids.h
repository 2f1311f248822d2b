#pragma once

// The grids of the national-table forms. A quantity grid has the sixteen
// periods down its rows (row r shows value r: the months, the annual value,
// the wet and dry season, the LTAA) and one quantity in each column from 1 on;
// it shows only values of at least 0, and stores a blank cell as missing.

#include <array>
#include <span>
#include <string>
#include <vector>

#include <QColor>

#include "checks/check_messages.h"
#include "model/ozr_types.h"

class QPlainTextEdit;
class TQvStringGrid;

// "Month 1 (Jan)" ... "Month 12 (Dec)", "Annual", "Wet Season", "Dry Season", "LTAA".
extern const std::array<const char*, 16> PeriodTitles;

// Editable cells with range selection, rows 18 pixels high, the fixed and
// selection colours of the table forms, every column defaultColWidth wide.
void SetUpTableGrid(TQvStringGrid& grid, int colCount, int rowCount, int defaultColWidth);

// The period titles down column 0 and the quantities' titles along row 0 from
// column 1 on.
void SetQuantityGridTitles(TQvStringGrid& grid, std::span<const char* const> columnTitles);

void LoadQuantityColumn(TQvStringGrid& grid, int col, const TEntityData& values);
void StoreQuantityColumn(const TQvStringGrid& grid, int col, TEntityData& values);
// Sector c (from 0) of the table in column c + 1.
void LoadSectorTable(TQvStringGrid& grid, std::span<const TEntityData> table);
void StoreSectorTable(const TQvStringGrid& grid, std::span<TEntityData> table);

// Every cell from column 1 and row 1 on, row by row, must be blank or a real
// of at least -1e-10: one error with the table's name for each cell that is not.
void CheckNonNegativeCells(const TQvStringGrid& grid, const char* message,
                           const std::string& tableName, TCheckMessages& messages);
// The monthly-sum check on each column from 1 on, the table's and the
// column's titles quoted in its message.
void CheckMonthlySums(const TQvStringGrid& grid, const std::string& tableTitle,
                      TCheckMessages& messages);

// Writes many cells of grids without a change notice for each cell: the
// grids' models stay silent meanwhile, and the grids repaint once at the end.
// Rows and columns must not be added or removed meanwhile (the grids learn of
// those through the same notices), and nothing may wait for a cell's change
// signal.
class TGridBulkWrite {
public:
    explicit TGridBulkWrite(std::vector<TQvStringGrid*> grids);
    ~TGridBulkWrite();
    TGridBulkWrite(const TGridBulkWrite&) = delete;
    TGridBulkWrite& operator=(const TGridBulkWrite&) = delete;

private:
    std::vector<TQvStringGrid*> grids_;
    std::vector<bool> wereBlocked_;
};

// The background of a column's title in row 0, which the grid's header draws.
void SetColumnTitleColor(TQvStringGrid& grid, int col, const QColor& color);
// Widens the columns whose title in row 0 would not fit.
void FitColumnsToTitles(TQvStringGrid& grid);

void LoadRemarks(QPlainTextEdit& memo, const std::string& remarks);
std::string StoredRemarks(const QPlainTextEdit& memo);
