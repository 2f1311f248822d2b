#pragma once

// What the grids of the table forms need beyond their quantity columns: many
// cells written at once, and titles in a colour of their own.

#include <vector>

#include <QColor>

class TQvStringGrid;

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
