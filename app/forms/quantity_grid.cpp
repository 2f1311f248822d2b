#include "app/forms/quantity_grid.h"

#include <QHeaderView>

#include "app/form_support.h"
#include "components/StrGrdQv.h"

namespace {

constexpr int kRowCount = 17;
constexpr int kRowHeight = 18;
// Wide enough for "Month 12 (Dec)".
constexpr int kTitleColWidth = 110;
constexpr unsigned kFixedColor = 14540253;
constexpr unsigned kSelectedCellColor = 8404992;
constexpr unsigned kSelectedFontColor = 0x808080;
constexpr int kTitleLines = 2;
constexpr int kTitleMargin = 6;

// Long column titles take a second line rather than being cut.
void WrapColumnTitles(TQvStringGrid& grid)
{
    QHeaderView& titles = *grid.horizontalHeader();
    titles.setDefaultAlignment(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap));
    titles.setTextElideMode(Qt::ElideNone);
    titles.setFixedHeight(kTitleLines * titles.fontMetrics().lineSpacing() + kTitleMargin);
}

}  // namespace

void SetUpQuantityGrid(TQvStringGrid& grid, int colCount, int defaultColWidth)
{
    grid.SetColCount(colCount);
    grid.SetRowCount(kRowCount);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect |
                    goEditing);
    grid.SetGoPasteNonEditable(false);
    grid.SetDefaultColWidth(defaultColWidth);
    grid.SetColWidth(0, kTitleColWidth);
    grid.SetDefaultRowHeight(kRowHeight);
    grid.SetFixedColor(BgrColor(kFixedColor));
    grid.SetSelectedCellColor(BgrColor(kSelectedCellColor));
    grid.SetSelectedFontColor(BgrColor(kSelectedFontColor));
    grid.SetFitColToWidth(-1);
    WrapColumnTitles(grid);
    DrawPeriodRows(grid);
}

void SetQuantityGridTitles(TQvStringGrid& grid, std::span<const std::string> columnTitles)
{
    static const QStringList rowTitles = [] {
        QStringList titles;
        for (const char* title : PeriodTitles)
            titles << QString::fromLatin1(title);
        return titles;
    }();
    SetRowTitles(grid, rowTitles);
    for (std::size_t col = 0; col < columnTitles.size(); ++col)
        grid.SetCell(static_cast<int>(col) + 1, 0, ToQt(columnTitles[col]));
}

TPeriodTexts ColumnTexts(const TQvStringGrid& grid, int col)
{
    TPeriodTexts texts;
    for (std::size_t row = 0; row < texts.size(); ++row)
        texts[row] = ToStd(grid.Cell(col, static_cast<int>(row) + 1));
    return texts;
}

void SetColumnTexts(TQvStringGrid& grid, int col, const TPeriodTexts& texts)
{
    for (std::size_t row = 0; row < texts.size(); ++row)
        grid.SetCell(col, static_cast<int>(row) + 1, ToQt(texts[row]));
}

TTableTexts TableTexts(const TQvStringGrid& grid)
{
    TTableTexts table;
    for (int col = 1; col < grid.ColCount(); ++col)
        table.push_back(ColumnTexts(grid, col));
    return table;
}

void SetTableTexts(TQvStringGrid& grid, const TTableTexts& table)
{
    for (std::size_t col = 0; col < table.size(); ++col)
        SetColumnTexts(grid, static_cast<int>(col) + 1, table[col]);
}
