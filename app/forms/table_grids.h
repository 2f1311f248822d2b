#pragma once

// What the grids of the table forms need beyond their quantity columns:
// titles in a colour of their own.

#include <QColor>

class TQvStringGrid;

// The background of a column's title in row 0, which the grid's header draws.
void SetColumnTitleColor(TQvStringGrid& grid, int col, const QColor& color);
