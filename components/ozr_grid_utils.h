#pragma once

// The grid and combo routines the forms share.

#include <vector>

#include <QString>

class QComboBox;
class TQvStringGrid;

// Empties every cell, fixed ones included.
void ClearGrid(TQvStringGrid& grid);
void ClearGridAndScroll(TQvStringGrid& grid, int leftCol);
// Empties the cells from fromCol and fromRow to the last column and row.
void ClearGridCells(TQvStringGrid& grid, int fromCol, int fromRow, int leftCol);
// True when every cell from fromCol and fromRow on is blank after trimming.
bool IsGridEmpty(const TQvStringGrid& grid, int fromCol, int fromRow);
// Selects the first item equal to text ignoring the case of A to Z; false
// (selection unchanged) when none is.
bool SelectComboItem(QComboBox& comboBox, const QString& text);
// Widens every column that is narrower than the texts of its rows 0 to
// lastRow need; columns are never made narrower.
void WidenColumnsToCells(TQvStringGrid& grid, int lastRow);
// False only when rows 1 to 12 and row 13 of the column all hold numbers and
// the sum of the twelve differs from row 13 by more than 1e-6.
bool MonthlySumMatchesAnnual(const TQvStringGrid& grid, int col);

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
