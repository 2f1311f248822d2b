// Sorting the rows of a grid by the text of one column.

#include <algorithm>
#include <utility>
#include <vector>

#include <QScopeGuard>

#include "components/StrGrdQv.h"

namespace {

struct TSortRow {
    QString Key;
    int Row;
};

// Quicksort on the middle element, scanning from both ends; rows with equal
// keys may change places, as they always have in this grid.
void QuickSort(std::vector<TSortRow>& rows, int low, int high)
{
    int i = low;
    do {
        i = low;
        int j = high;
        const QString pivot = rows[static_cast<std::size_t>((low + high) / 2)].Key;
        do {
            while (QString::compare(rows[static_cast<std::size_t>(i)].Key, pivot) < 0)
                ++i;
            while (QString::compare(rows[static_cast<std::size_t>(j)].Key, pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (low < j)
            QuickSort(rows, low, j);
        low = i;
    } while (i < high);
}

}  // namespace

void SortGridByColumn(TQvStringGrid& grid, int col, bool ascending)
{
    const int first = grid.FixedRows();
    const int count = grid.RowCount() - first;
    if (count <= 0)
        return;
    grid.setUpdatesEnabled(false);
    const auto redraw = qScopeGuard([&grid] {
        grid.setUpdatesEnabled(true);
        grid.viewport()->update();
    });
    std::vector<TSortRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = first; row < first + count; ++row)
        rows.push_back({grid.Cell(col, row), row});
    QuickSort(rows, 0, count - 1);
    if (!ascending)
        std::reverse(rows.begin(), rows.end());
    std::vector<int> order;
    order.reserve(rows.size());
    for (const TSortRow& row : rows)
        order.push_back(row.Row);
    grid.ArrangeRows(order);
}
