#include "components/ozr_grid_utils.h"

#include <string>
#include <vector>

#include <QComboBox>

#include "appcore/form_checks.h"
#include "components/StrGrdQv.h"
#include "platform/sysutils.h"

namespace {

void EmptyCells(TQvStringGrid& grid, int fromCol, int fromRow)
{
    for (int row = fromRow; row < grid.RowCount(); ++row)
        for (int col = fromCol; col < grid.ColCount(); ++col)
            grid.SetCell(col, row, QString());
}

}  // namespace

void ClearGrid(TQvStringGrid& grid)
{
    EmptyCells(grid, 0, 0);
}

void ClearGridAndScroll(TQvStringGrid& grid, int leftCol)
{
    ClearGrid(grid);
    grid.SetLeftCol(leftCol);
}

void ClearGridCells(TQvStringGrid& grid, int fromCol, int fromRow, int leftCol)
{
    EmptyCells(grid, fromCol, fromRow);
    grid.SetLeftCol(leftCol);
}

bool IsGridEmpty(const TQvStringGrid& grid, int fromCol, int fromRow)
{
    for (int row = fromRow; row < grid.RowCount(); ++row)
        for (int col = fromCol; col < grid.ColCount(); ++col)
            if (!Trim(grid.Cell(col, row).toStdString()).empty())
                return false;
    return true;
}

bool SelectComboItem(QComboBox& comboBox, const QString& text)
{
    const std::string wanted = AsciiLowerCase(text.toStdString());
    for (int index = 0; index < comboBox.count(); ++index)
        if (AsciiLowerCase(comboBox.itemText(index).toStdString()) == wanted) {
            comboBox.setCurrentIndex(index);
            return true;
        }
    return false;
}

bool MonthlySumMatchesAnnual(const TQvStringGrid& grid, int col)
{
    std::vector<std::string> cells;
    for (int row = 1; row <= 13; ++row)
        cells.push_back(grid.Cell(col, row).toStdString());
    return MonthlySumMatches(cells);
}

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
