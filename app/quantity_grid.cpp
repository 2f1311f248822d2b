#include "app/quantity_grid.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>

#include "app/form_support.h"
#include "components/StrGrdQv.h"

namespace {

constexpr int kRowCount = 17;
constexpr int kRowHeight = 18;
constexpr unsigned kFixedColor = 0xDDDDDD;
constexpr unsigned kSelectedCellColor = 0x804000;
constexpr int kTitleMargin = 16;

// Columns as wide as their titles where the font needs more than the
// default width, so that no title is cut.
void FitColumnsToTitles(TQvStringGrid& grid)
{
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    for (int col = 0; col < grid.ColCount(); ++col) {
        const int titleWidth = metrics.horizontalAdvance(grid.Cell(col, 0)) + kTitleMargin;
        grid.SetColWidth(col, std::max(grid.ColWidth(col), titleWidth));
    }
}

}  // namespace

void SetUpQuantityGrid(TQvStringGrid& grid, std::span<const char* const> titles, int colWidth)
{
    grid.SetColCount(static_cast<int>(titles.size()) + 1);
    grid.SetRowCount(kRowCount);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetOptions(grid.Options() | goEditing | goRangeSelect);
    grid.SetDefaultColWidth(colWidth);
    grid.SetDefaultRowHeight(kRowHeight);
    grid.SetFixedColor(BgrColor(kFixedColor));
    grid.SetSelectedCellColor(BgrColor(kSelectedCellColor));
    grid.SetSelectedFontColor(Qt::gray);
    grid.SetFitColToWidth(-1);
    grid.SetGoPasteNonEditable(false);
    DrawPeriodRows(grid);
    WriteQuantityGridTitles(grid, titles);
    FitColumnsToTitles(grid);
}

void WriteQuantityGridTitles(TQvStringGrid& grid, std::span<const char* const> titles)
{
    for (std::size_t row = 0; row < PeriodTitles.size(); ++row)
        grid.SetCell(0, static_cast<int>(row) + 1, QString::fromUtf8(PeriodTitles[row]));
    for (std::size_t col = 0; col < titles.size(); ++col)
        grid.SetCell(static_cast<int>(col) + 1, 0, QString::fromUtf8(titles[col]));
}

TTableTexts QuantityGridTexts(const TQvStringGrid& grid)
{
    TTableTexts table(static_cast<std::size_t>(grid.ColCount() - 1));
    for (std::size_t col = 0; col < table.size(); ++col)
        for (std::size_t row = 0; row < table[col].size(); ++row)
            table[col][row] =
                ToStd(grid.Cell(static_cast<int>(col) + 1, static_cast<int>(row) + 1));
    return table;
}

void ShowQuantityGridTexts(TQvStringGrid& grid, const TTableTexts& table)
{
    for (std::size_t col = 0; col < table.size(); ++col)
        for (std::size_t row = 0; row < table[col].size(); ++row)
            if (!table[col][row].empty())
                grid.SetCell(static_cast<int>(col) + 1, static_cast<int>(row) + 1,
                             ToQt(table[col][row]));
}
