#pragma once

// The grid side of quantity columns (checks/quantity_columns.h): the table
// forms' grids whose row 0 holds the column titles, column 0 the period titles
// and rows 1 to 16 the periods of one quantity per column.

#include <span>
#include <string>

#include "appcore/quantity_columns.h"

class TQvStringGrid;

// 17 rows, one title row and column, editable cells with range selection, the
// forms' colours and the row colours of the periods.
void SetUpQuantityGrid(TQvStringGrid& grid, int colCount, int defaultColWidth);

// The period titles in column 0 and the titles given in row 0 from column 1 on.
void SetQuantityGridTitles(TQvStringGrid& grid, std::span<const std::string> columnTitles);

TPeriodTexts ColumnTexts(const TQvStringGrid& grid, int col);
void SetColumnTexts(TQvStringGrid& grid, int col, const TPeriodTexts& texts);
// Every data column, from column 1 on.
TTableTexts TableTexts(const TQvStringGrid& grid);
void SetTableTexts(TQvStringGrid& grid, const TTableTexts& table);
