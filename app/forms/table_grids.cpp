#include "app/forms/table_grids.h"

#include "components/StrGrdQv.h"

// The horizontal header holds row 0 from the first column that is not fixed.
void SetColumnTitleColor(TQvStringGrid& grid, int col, const QColor& color)
{
    const int section = col - (grid.FixedCols() > 0 ? 1 : 0);
    if (QTableWidgetItem* title = grid.horizontalHeaderItem(section))
        title->setBackground(color);
}
