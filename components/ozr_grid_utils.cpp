#include "components/ozr_grid_utils.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

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

void WidenColumnsToCells(TQvStringGrid& grid, int lastRow)
{
    const QFontMetrics titles = grid.horizontalHeader()->fontMetrics();
    const QFontMetrics cells = grid.fontMetrics();
    const int margins = 4 * grid.style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int col = 0; col < grid.ColCount(); ++col) {
        int needed = 0;
        for (int row = 0; row <= std::min(lastRow, grid.RowCount() - 1); ++row)
            needed = std::max(needed,
                              (row == 0 ? titles : cells).horizontalAdvance(grid.Cell(col, row)));
        if (grid.ColWidth(col) < needed + margins)
            grid.SetColWidth(col, needed + margins);
    }
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
