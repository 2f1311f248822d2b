#include "app/table_grids.h"

#include "components/StrGrdQv.h"

TGridBulkWrite::TGridBulkWrite(std::vector<TQvStringGrid*> grids) : grids_(std::move(grids))
{
    for (TQvStringGrid* grid : grids_)
        wereBlocked_.push_back(grid->model()->blockSignals(true));
}

TGridBulkWrite::~TGridBulkWrite()
{
    for (std::size_t i = 0; i < grids_.size(); ++i) {
        grids_[i]->model()->blockSignals(wereBlocked_[i]);
        grids_[i]->viewport()->update();
    }
}

// The horizontal header holds row 0 from the first column that is not fixed.
void SetColumnTitleColor(TQvStringGrid& grid, int col, const QColor& color)
{
    const int section = col - (grid.FixedCols() > 0 ? 1 : 0);
    if (QTableWidgetItem* title = grid.horizontalHeaderItem(section))
        title->setBackground(color);
}
