#pragma once

// The grids of the table forms whose rows are the periods of a quantity and
// whose columns are quantities: their look, their titles, and their data
// cells as texts.

#include <span>

#include "checks/quantity_texts.h"

class TQvStringGrid;

// 17 rows, one column per title plus the period titles, editable with range
// selection, the period colours and the grid colours that every table form
// uses.
void SetUpQuantityGrid(TQvStringGrid& grid, std::span<const char* const> titles, int colWidth);
// The period titles in column 0 and the quantity titles in row 0.
void WriteQuantityGridTitles(TQvStringGrid& grid, std::span<const char* const> titles);
TTableTexts QuantityGridTexts(const TQvStringGrid& grid);
// Writes the texts that are not blank into the data cells, which a form has
// emptied before it loads.
void ShowQuantityGridTexts(TQvStringGrid& grid, const TTableTexts& table);
