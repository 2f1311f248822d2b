#include "app/table_grids.h"

#include <algorithm>
#include <vector>

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStyle>

#include "app/form_support.h"
#include "checks/form_checks.h"
#include "checks/form_values.h"
#include "checks/table_checks.h"
#include "components/StrGrdQv.h"

namespace {

constexpr int kRowHeight = 18;
constexpr int kPeriods = 16;
constexpr int kAnnualRow = 13;
// Keeps a title that fits off the next column's border.
constexpr int kTitleSpace = 8;

// The horizontal header holds row 0 from the first column that is not fixed.
int TitleSection(const TQvStringGrid& grid, int col)
{
    return col - (grid.FixedCols() > 0 ? 1 : 0);
}

}  // namespace

const std::array<const char*, 16> PeriodTitles = {
    "Month 1 (Jan)",  "Month 2 (Feb)",  "Month 3 (Mar)",  "Month 4 (Apr)",
    "Month 5 (May)",  "Month 6 (Jun)",  "Month 7 (Jul)",  "Month 8 (Aug)",
    "Month 9 (Sept)", "Month 10 (Oct)", "Month 11 (Nov)", "Month 12 (Dec)",
    "Annual",         "Wet Season",     "Dry Season",     "LTAA"};

void SetUpTableGrid(TQvStringGrid& grid, int colCount, int rowCount, int defaultColWidth)
{
    grid.SetColCount(colCount);
    grid.SetRowCount(rowCount);
    grid.SetOptions(grid.Options() | goEditing | goRangeSelect);
    grid.SetGoPasteNonEditable(false);
    grid.SetDefaultRowHeight(kRowHeight);
    grid.SetDefaultColWidth(defaultColWidth);
    grid.SetFixedColor(BgrColor(0xDDDDDD));
    grid.SetSelectedCellColor(BgrColor(0x804000));
    grid.SetSelectedFontColor(BgrColor(0x808080));
    grid.SetFitColToWidth(-1);
}

void SetQuantityGridTitles(TQvStringGrid& grid, std::span<const char* const> columnTitles)
{
    for (int period = 1; period <= kPeriods; ++period)
        grid.SetCell(0, period, QString::fromLatin1(PeriodTitles[period - 1]));
    for (std::size_t i = 0; i < columnTitles.size(); ++i)
        grid.SetCell(static_cast<int>(i) + 1, 0, QString::fromLatin1(columnTitles[i]));
}

void LoadQuantityColumn(TQvStringGrid& grid, int col, const TEntityData& values)
{
    for (int period = 1; period <= kPeriods; ++period)
        grid.SetCell(col, period, ToQt(NonNegativeRealText(values[period - 1])));
}

void StoreQuantityColumn(const TQvStringGrid& grid, int col, TEntityData& values)
{
    for (int period = 1; period <= kPeriods; ++period)
        values[period - 1] = StoredReal(ToStd(grid.Cell(col, period)));
}

void LoadSectorTable(TQvStringGrid& grid, std::span<const TEntityData> table)
{
    for (std::size_t sector = 0; sector < table.size(); ++sector)
        LoadQuantityColumn(grid, static_cast<int>(sector) + 1, table[sector]);
}

void StoreSectorTable(const TQvStringGrid& grid, std::span<TEntityData> table)
{
    for (std::size_t sector = 0; sector < table.size(); ++sector)
        StoreQuantityColumn(grid, static_cast<int>(sector) + 1, table[sector]);
}

void CheckNonNegativeCells(const TQvStringGrid& grid, const char* message,
                           const std::string& tableName, TCheckMessages& messages)
{
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int col = 1; col < grid.ColCount(); ++col)
            CheckNonNegativeCell(ToStd(grid.Cell(col, row)), message, tableName, messages);
}

void CheckMonthlySums(const TQvStringGrid& grid, const std::string& tableTitle,
                      TCheckMessages& messages)
{
    std::vector<std::string> monthsAndAnnual(kAnnualRow);
    for (int col = 1; col < grid.ColCount(); ++col) {
        for (int row = 1; row <= kAnnualRow; ++row)
            monthsAndAnnual[row - 1] = ToStd(grid.Cell(col, row));
        CheckMonthlySum(monthsAndAnnual, tableTitle, ToStd(grid.Cell(col, 0)), messages);
    }
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

void SetColumnTitleColor(TQvStringGrid& grid, int col, const QColor& color)
{
    if (QTableWidgetItem* title = grid.horizontalHeaderItem(TitleSection(grid, col)))
        title->setBackground(color);
}

void FitColumnsToTitles(TQvStringGrid& grid)
{
    const QHeaderView& header = *grid.horizontalHeader();
    const int margins = 2 * grid.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    for (int col = grid.FixedCols() > 0 ? 1 : 0; col < grid.ColCount(); ++col) {
        const int needed =
            header.fontMetrics().horizontalAdvance(grid.Cell(col, 0)) + margins + kTitleSpace;
        grid.SetColWidth(col, std::max(grid.ColWidth(col), needed));
    }
}

void LoadRemarks(QPlainTextEdit& memo, const std::string& remarks)
{
    memo.setPlainText(ToQt(MemoTextOfRemarks(remarks)));
}

std::string StoredRemarks(const QPlainTextEdit& memo)
{
    return RemarksOfMemo(ToStd(memo.toPlainText()));
}
