#include "components/StrGrdQv.h"

#include <algorithm>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "components/command_guard.h"
#include "platform/dialogs.h"

namespace {

constexpr int kObjectRole = Qt::UserRole;
constexpr int kTextIndent = 2;

// Hands the painting of every cell to the grid's DrawCell and keeps editors
// out of fixed cells.
class TQvGridDelegate final : public QStyledItemDelegate {
public:
    explicit TQvGridDelegate(TQvStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        TGridDrawState state;
        if (option.state & QStyle::State_Selected)
            state |= gdSelected;
        if (option.state & QStyle::State_HasFocus)
            state |= gdFocused;
        const int col = GridCol(index);
        const int row = GridRow(index);
        if (col < grid_.FixedCols() || row < grid_.FixedRows())
            state |= gdFixed;
        painter->save();
        grid_.DrawCell(*painter, col, row, option.rect, state);
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        if (GridCol(index) < grid_.FixedCols() || GridRow(index) < grid_.FixedRows())
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

private:
    int GridCol(const QModelIndex& index) const
    {
        return index.column() + (grid_.FixedCols() > 0 ? 1 : 0);
    }
    int GridRow(const QModelIndex& index) const
    {
        return index.row() + (grid_.FixedRows() > 0 ? 1 : 0);
    }

    TQvStringGrid& grid_;
};

struct TCellContent {
    QString Text;
    TObject* Object = nullptr;
};

}  // namespace

TQvPopupMenu::TQvPopupMenu(TQvStringGrid& grid) : QMenu(&grid), grid_(grid)
{
    const std::pair<const char*, QString> items[] = {
        {"mnItemSelectAll", tr("Select all")},
        {"mnItemCopy", tr("Copy")},
        {"mnItemPaste", tr("Paste")},
        {"mnSaveCSV", tr("Save to CSV-file")},
    };
    for (const auto& [name, caption] : items)
        addAction(caption)->setObjectName(QLatin1String(name));
    ConnectCommand(this, &QMenu::triggered, &grid, &TQvStringGrid::PopupItemClick);
}

QAction* TQvPopupMenu::Item(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TQvPopupMenu::Popup(const QPoint& globalPos)
{
    Item(QStringLiteral("mnItemPaste"))->setEnabled(grid_.CanPaste());
    popup(globalPos);
}

TQvStringGrid::TQvStringGrid(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegate(new TQvGridDelegate(*this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Tab goes on to the next control of the form, as in the desktop toolkit's
    // grids; the arrow keys move between the cells.
    setTabKeyNavigation(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    corner_ = findChild<QAbstractButton*>();
    for (QObject* watched :
         {static_cast<QObject*>(viewport()), static_cast<QObject*>(horizontalHeader()->viewport()),
          static_cast<QObject*>(verticalHeader()->viewport()), static_cast<QObject*>(corner_)})
        if (watched)
            watched->installEventFilter(this);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TQvStringGrid::FillHeaderItems);
    connect(model(), &QAbstractItemModel::columnsInserted, this, &TQvStringGrid::FillHeaderItems);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            &TQvStringGrid::ApplyFitColToWidth);
    connect(verticalHeader(), &QHeaderView::sectionMoved, this, &TQvStringGrid::OnHeaderRowMoved);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { allSelected_ = false; });
    popup_ = new TQvPopupMenu(*this);
    SetColCount(5);
    SetRowCount(5);
    SetDefaultColWidth(64);
    SetDefaultRowHeight(18);
    SetOptions(options_);
    SetColor(color_);
    UpdateHeaders();
}

int TQvStringGrid::ColCount() const
{
    return columnCount() + HeaderCols();
}

void TQvStringGrid::SetColCount(int count)
{
    setColumnCount(std::max(0, count - HeaderCols()));
}

int TQvStringGrid::RowCount() const
{
    return rowCount() + HeaderRows();
}

void TQvStringGrid::SetRowCount(int count)
{
    setRowCount(std::max(0, count - HeaderRows()));
}

void TQvStringGrid::SetFixedCols(int count)
{
    ChangeFixed(std::max(0, count), fixedRows_);
}

void TQvStringGrid::SetFixedRows(int count)
{
    ChangeFixed(fixedCols_, std::max(0, count));
}

// Which cells live in the headers depends on the fixed counts, so the content
// is taken out and put back in grid coordinates.
void TQvStringGrid::ChangeFixed(int cols, int rows)
{
    // Rebuilding the cells is costly, and the forms set the counts they already have.
    if (cols == fixedCols_ && rows == fixedRows_)
        return;
    const int colCount = ColCount();
    const int rowCount = RowCount();
    std::vector<TCellContent> cells;
    std::vector<int> widths;
    cells.reserve(static_cast<std::size_t>(colCount) * static_cast<std::size_t>(rowCount));
    for (int row = 0; row < rowCount; ++row)
        for (int col = 0; col < colCount; ++col)
            cells.push_back({Cell(col, row), Object(col, row)});
    for (int col = 0; col < colCount; ++col)
        widths.push_back(ColWidth(col));
    setRowCount(0);
    setColumnCount(0);
    cornerText_.clear();
    cornerObject_ = nullptr;
    fixedCols_ = cols;
    fixedRows_ = rows;
    SetColCount(colCount);
    SetRowCount(rowCount);
    for (int row = 0; row < rowCount; ++row)
        for (int col = 0; col < colCount; ++col) {
            const TCellContent& content =
                cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount) +
                      static_cast<std::size_t>(col)];
            SetCell(col, row, content.Text);
            SetObject(col, row, content.Object);
        }
    for (int col = 0; col < std::min(colCount, ColCount()); ++col)
        SetColWidth(col, widths[static_cast<std::size_t>(col)]);
    UpdateHeaders();
}

bool TQvStringGrid::IsInside(int col, int row) const
{
    return col >= 0 && row >= 0 && col < ColCount() && row < RowCount();
}

QTableWidgetItem* TQvStringGrid::ItemAt(int col, int row) const
{
    if (!IsInside(col, row))
        return nullptr;
    const int modelCol = col - HeaderCols();
    const int modelRow = row - HeaderRows();
    if (modelRow < 0)
        return modelCol < 0 ? nullptr : horizontalHeaderItem(modelCol);
    if (modelCol < 0)
        return verticalHeaderItem(modelRow);
    return item(modelRow, modelCol);
}

QTableWidgetItem* TQvStringGrid::EnsureItem(int col, int row)
{
    if (QTableWidgetItem* existing = ItemAt(col, row))
        return existing;
    return InsertItem(col, row, new QTableWidgetItem);
}

QTableWidgetItem* TQvStringGrid::InsertItem(int col, int row, QTableWidgetItem* created)
{
    const int modelCol = col - HeaderCols();
    const int modelRow = row - HeaderRows();
    if (modelRow < 0)
        setHorizontalHeaderItem(modelCol, created);
    else if (modelCol < 0)
        setVerticalHeaderItem(modelRow, created);
    else
        setItem(modelRow, modelCol, created);
    return created;
}

QString TQvStringGrid::Cell(int col, int row) const
{
    if (IsInside(col, row) && col < HeaderCols() && row < HeaderRows())
        return cornerText_;
    const QTableWidgetItem* cell = ItemAt(col, row);
    return cell ? cell->text() : QString();
}

void TQvStringGrid::SetCell(int col, int row, const QString& text)
{
    if (!IsInside(col, row))
        return;
    if (col < HeaderCols() && row < HeaderRows()) {
        cornerText_ = text;
        if (corner_)
            corner_->update();
        return;
    }
    QTableWidgetItem* cell = ItemAt(col, row);
    if (cell && !IsHeader(col, row)) {
        cell->setText(text);
        return;
    }
    if (cell ? cell->text() == text : text.isEmpty())
        return;
    // Qt looks for a header item whose text changed through the whole header,
    // which made filling a long grid quadratic: a header item is replaced by
    // a copy that takes its text before it joins the header.
    QTableWidgetItem* replacement = cell ? cell->clone() : new QTableWidgetItem;
    replacement->setText(text);
    InsertItem(col, row, replacement);
}

TObject* TQvStringGrid::Object(int col, int row) const
{
    if (IsInside(col, row) && col < HeaderCols() && row < HeaderRows())
        return cornerObject_;
    const QTableWidgetItem* cell = ItemAt(col, row);
    if (!cell)
        return nullptr;
    return reinterpret_cast<TObject*>(cell->data(kObjectRole).value<quintptr>());
}

void TQvStringGrid::SetObject(int col, int row, TObject* object)
{
    if (!IsInside(col, row))
        return;
    if (col < HeaderCols() && row < HeaderRows()) {
        cornerObject_ = object;
        return;
    }
    QTableWidgetItem* cell = ItemAt(col, row);
    if (!cell && !object)
        return;
    if (!cell)
        cell = EnsureItem(col, row);
    cell->setData(kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
}

// Without an item of their own the headers would show section numbers.
// The headers hear of all new items at once: told of each one, they would lay
// themselves out again for every row of a long grid.
void TQvStringGrid::FillHeaderItems()
{
    bool newCols = false;
    bool newRows = false;
    {
        const QSignalBlocker quiet(model());
        for (int col = 0; col < columnCount(); ++col) {
            if (!horizontalHeaderItem(col)) {
                setHorizontalHeaderItem(col, new QTableWidgetItem);
                newCols = true;
            }
        }
        for (int row = 0; row < rowCount(); ++row) {
            if (!verticalHeaderItem(row)) {
                setVerticalHeaderItem(row, new QTableWidgetItem);
                newRows = true;
            }
        }
    }
    if (newCols)
        emit model()->headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (newRows)
        emit model()->headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void TQvStringGrid::UpdateHeaders()
{
    horizontalHeader()->setVisible(fixedRows_ > 0);
    verticalHeader()->setVisible(fixedCols_ > 0);
    verticalHeader()->setFixedWidth(titleColWidth_);
    verticalHeader()->setSectionsMovable((options_ & goRowMoving) && fixedCols_ > 0);
    horizontalHeader()->setSectionResizeMode((options_ & goColSizing) ? QHeaderView::Interactive
                                                                      : QHeaderView::Fixed);
    ApplyFitColToWidth();
}

void TQvStringGrid::SetOptions(TGridOptions options)
{
    options_ = options;
    setEditTriggers((options & goEditing)
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior((options & goRowSelect) ? QAbstractItemView::SelectRows
                                                 : QAbstractItemView::SelectItems);
    setSelectionMode((options & goRangeSelect) ? QAbstractItemView::ContiguousSelection
                                               : QAbstractItemView::SingleSelection);
    setShowGrid(options & (goVertLine | goHorzLine));
    UpdateHeaders();
}

bool TQvStringGrid::CanPaste() const
{
    return (options_ & goEditing) || pasteNonEditable_;
}

void TQvStringGrid::SetColor(const QColor& color)
{
    color_ = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
    UpdateHeaderColours();
}

void TQvStringGrid::SetFixedColor(const QColor& color)
{
    fixedColor_ = color;
    UpdateHeaderColours();
}

// Title cells take the fixed colour; the headers' space beyond the last row or
// column shows the grid's colour, as the cell area does.
void TQvStringGrid::UpdateHeaderColours()
{
    for (QWidget* fixed : {static_cast<QWidget*>(horizontalHeader()),
                           static_cast<QWidget*>(verticalHeader()), corner_}) {
        if (!fixed)
            continue;
        QPalette colours = fixed->palette();
        colours.setColor(QPalette::Button, fixedColor_);
        colours.setColor(QPalette::Window, color_);
        fixed->setPalette(colours);
    }
    viewport()->update();
}

void TQvStringGrid::SetSelectedCellColor(const QColor& color)
{
    selectedCellColor_ = color;
    viewport()->update();
}

void TQvStringGrid::SetSelectedFontColor(const QColor& color)
{
    selectedFontColor_ = color;
    viewport()->update();
}

int TQvStringGrid::ColWidth(int col) const
{
    if (col < HeaderCols())
        return titleColWidth_;
    return horizontalHeader()->sectionSize(col - HeaderCols());
}

void TQvStringGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= ColCount())
        return;
    if (col < HeaderCols()) {
        titleColWidth_ = width;
        verticalHeader()->setFixedWidth(width);
        ApplyFitColToWidth();
        return;
    }
    horizontalHeader()->resizeSection(col - HeaderCols(), width);
}

void TQvStringGrid::SetDefaultColWidth(int width)
{
    horizontalHeader()->setMinimumSectionSize(
        std::min(horizontalHeader()->minimumSectionSize(), width));
    horizontalHeader()->setDefaultSectionSize(width);
    for (int col = 0; col < ColCount(); ++col)
        SetColWidth(col, width);
}

int TQvStringGrid::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void TQvStringGrid::SetDefaultRowHeight(int height)
{
    verticalHeader()->setMinimumSectionSize(
        std::min(verticalHeader()->minimumSectionSize(), height));
    verticalHeader()->setDefaultSectionSize(height);
}

void TQvStringGrid::SetFitColToWidth(int col)
{
    fitColToWidth_ = col;
    ApplyFitColToWidth();
}

// Qt draws the grid lines inside the cells, so no line widths are taken off.
void TQvStringGrid::ApplyFitColToWidth()
{
    if (fitting_ || fitColToWidth_ < 0 || fitColToWidth_ >= ColCount())
        return;
    int clientWidth = width() - 2 * frameWidth();
    if (verticalScrollBar()->isVisible())
        clientWidth -= verticalScrollBar()->width();
    int total = 0;
    for (int col = 0; col < ColCount(); ++col)
        total += ColWidth(col);
    fitting_ = true;
    SetColWidth(fitColToWidth_, std::max(30, ColWidth(fitColToWidth_) + clientWidth - total));
    fitting_ = false;
}

void TQvStringGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    ApplyFitColToWidth();
}

TGridRect TQvStringGrid::Selection() const
{
    if (allSelected_)
        return {0, 0, ColCount() - 1, RowCount() - 1};
    const QItemSelection ranges = selectionModel()->selection();
    if (ranges.isEmpty()) {
        const QPoint current = CurrentCell();
        if (current.x() < 0)
            return {fixedCols_, fixedRows_, fixedCols_, fixedRows_};
        return {current.x(), current.y(), current.x(), current.y()};
    }
    TGridRect bounds{ColCount(), RowCount(), -1, -1};
    for (const QItemSelectionRange& range : ranges) {
        bounds.Left = std::min(bounds.Left, range.left() + HeaderCols());
        bounds.Top = std::min(bounds.Top, range.top() + HeaderRows());
        bounds.Right = std::max(bounds.Right, range.right() + HeaderCols());
        bounds.Bottom = std::max(bounds.Bottom, range.bottom() + HeaderRows());
    }
    bounds.Left = std::max(bounds.Left, fixedCols_);
    bounds.Top = std::max(bounds.Top, fixedRows_);
    return bounds;
}

void TQvStringGrid::SetSelection(const TGridRect& rect)
{
    const QModelIndex topLeft = model()->index(std::max(rect.Top, fixedRows_) - HeaderRows(),
                                               std::max(rect.Left, fixedCols_) - HeaderCols());
    const QModelIndex bottomRight =
        model()->index(rect.Bottom - HeaderRows(), rect.Right - HeaderCols());
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, bottomRight),
                             QItemSelectionModel::ClearAndSelect);
}

void TQvStringGrid::selectAll()
{
    QTableWidget::selectAll();
    allSelected_ = true;
}

QPoint TQvStringGrid::MouseToCell(const QPoint& viewportPos) const
{
    const int col = columnAt(viewportPos.x());
    const int row = rowAt(viewportPos.y());
    return {col < 0 ? -1 : col + HeaderCols(), row < 0 ? -1 : row + HeaderRows()};
}

QPoint TQvStringGrid::CurrentCell() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return {-1, -1};
    return {current.column() + HeaderCols(), current.row() + HeaderRows()};
}

int TQvStringGrid::LeftCol() const
{
    return std::max(columnAt(0) + HeaderCols(), fixedCols_);
}

void TQvStringGrid::SetLeftCol(int col)
{
    const int firstScrolling = std::max(0, fixedCols_ - HeaderCols());
    const int target = col - HeaderCols();
    if (target <= firstScrolling || target >= columnCount()) {
        horizontalScrollBar()->setValue(0);
        return;
    }
    horizontalScrollBar()->setValue(horizontalHeader()->sectionPosition(target) -
                                    horizontalHeader()->sectionPosition(firstScrolling));
}

void TQvStringGrid::CopyToClipboard(int left, int right, int bottom, int top) const
{
    CopyGridToClipboard(*this, left, right, bottom, top);
}

void TQvStringGrid::PasteFromClipboard(int col, int row)
{
    if (CanPaste())
        PasteClipboardToGrid(*this, col, row, true);
}

void TQvStringGrid::MoveRow(int from, int to)
{
    const int modelFrom = from - HeaderRows();
    const int modelTo = to - HeaderRows();
    if (modelFrom < 0 || modelTo < 0 || modelFrom >= rowCount() || modelTo >= rowCount() ||
        from == to)
        return;
    std::vector<QTableWidgetItem*> cells;
    for (int col = 0; col < columnCount(); ++col)
        cells.push_back(takeItem(modelFrom, col));
    QTableWidgetItem* title = takeVerticalHeaderItem(modelFrom);
    removeRow(modelFrom);
    insertRow(modelTo);
    for (int col = 0; col < columnCount(); ++col)
        setItem(modelTo, col, cells[static_cast<std::size_t>(col)]);
    setVerticalHeaderItem(modelTo, title);
    emit RowMoved(from, to);
}

void TQvStringGrid::ArrangeRows(const std::vector<int>& sourceRows)
{
    const int first = fixedRows_ - HeaderRows();
    std::vector<std::vector<QTableWidgetItem*>> cells(sourceRows.size());
    std::vector<QTableWidgetItem*> titles(sourceRows.size());
    for (std::size_t i = 0; i < sourceRows.size(); ++i) {
        const int source = sourceRows[i] - HeaderRows();
        for (int col = 0; col < columnCount(); ++col)
            cells[i].push_back(takeItem(source, col));
        titles[i] = takeVerticalHeaderItem(source);
    }
    for (std::size_t i = 0; i < sourceRows.size(); ++i) {
        const int target = first + static_cast<int>(i);
        for (int col = 0; col < columnCount(); ++col)
            setItem(target, col, cells[i][static_cast<std::size_t>(col)]);
        setVerticalHeaderItem(target, titles[i] ? titles[i] : new QTableWidgetItem);
    }
}

// The header moved the section on screen only; the rows themselves move
// instead, so that cell coordinates keep following the display order.
void TQvStringGrid::OnHeaderRowMoved(int, int oldVisual, int newVisual)
{
    {
        const QSignalBlocker blocker(verticalHeader());
        verticalHeader()->moveSection(newVisual, oldVisual);
    }
    MoveRow(oldVisual + HeaderRows(), newVisual + HeaderRows());
}

void TQvStringGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                             TGridDrawState state)
{
    const bool fixed = state & gdFixed;
    if ((state & gdSelected) && !fixed) {
        canvas.setBrush(selectedCellColor_);
        canvas.setPen(selectedFontColor_);
    } else {
        canvas.setBrush(fixed ? fixedColor_ : color_);
        canvas.setPen(palette().color(QPalette::Text));
    }
    canvas.fillRect(rect, canvas.brush());
    canvas.setClipRect(rect);
    canvas.drawText(rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    Cell(col, row));
    if (OnDrawCell)
        OnDrawCell(canvas, col, row, rect, state);
    if ((state & gdFocused) && !fixed)
        DrawFocusMark(canvas, rect, state);
}

// A dotted frame inside the current cell of the focused grid, drawn over what
// the form painted, in the colour of the cell's text.
void TQvStringGrid::DrawFocusMark(QPainter& canvas, const QRect& rect, TGridDrawState state) const
{
    canvas.setPen(QPen((state & gdSelected) ? selectedFontColor_ : palette().color(QPalette::Text),
                       1, Qt::DotLine));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(rect.adjusted(1, 1, -2, -2));
}

void TQvStringGrid::PopupItemClick(QAction* item)
{
    const QString name = item->objectName();
    if (name == QLatin1String("mnItemSelectAll")) {
        selectAll();
    } else if (name == QLatin1String("mnItemCopy")) {
        if ((options_ & goRangeSelect) && !(options_ & goEditing)) {
            const TGridRect selection = Selection();
            CopyToClipboard(selection.Left, selection.Right, selection.Bottom, selection.Top);
        } else {
            CopyToClipboard(0, ColCount() - 1, RowCount() - 1, 0);
        }
    } else if (name == QLatin1String("mnItemPaste")) {
        const TGridRect selection = Selection();
        PasteFromClipboard(std::max(selection.Left, fixedCols_),
                           std::max(selection.Top, fixedRows_));
    } else if (name == QLatin1String("mnSaveCSV")) {
        TFileDialogRequest request;
        request.Filter = "comma-separated values (*.csv)|*.CSV";
        request.DefaultExt = "csv";
        if (const auto fileName = Dialogs().SaveFile(request))
            SaveToCSV(QString::fromStdString(*fileName));
    }
}

// The frame of the focused grid is drawn in the highlight colour, as a
// focused box's is.
bool TQvStringGrid::event(QEvent* event)
{
    const bool handled = QTableWidget::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter canvas(this);
        canvas.setPen(palette().color(QPalette::Highlight));
        canvas.drawRect(frameRect().adjusted(0, 0, -1, -1));
    }
    return handled;
}

// Entered from the keyboard, the grid shows where typing goes: its current
// cell, or the first cell that takes input when it has none. A click makes
// its own cell current, and a return to the window or from the context menu
// leaves the view where the user put it.
void TQvStringGrid::focusInEvent(QFocusEvent* event)
{
    const bool hadCurrent = currentIndex().isValid();
    QTableWidget::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    update();
    if (reason == Qt::MouseFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::ActiveWindowFocusReason)
        return;
    if (!hadCurrent) {
        const QModelIndex first =
            model()->index(fixedRows_ - HeaderRows(), fixedCols_ - HeaderCols());
        if (!first.isValid())
            return;
        selectionModel()->setCurrentIndex(first, selectionCommand(first));
    }
    scrollTo(currentIndex());
}

void TQvStringGrid::focusOutEvent(QFocusEvent* event)
{
    QTableWidget::focusOutEvent(event);
    update();
}

void TQvStringGrid::contextMenuEvent(QContextMenuEvent* event)
{
    popup_->Popup(event->globalPos());
}

QPoint TQvStringGrid::CellOfEvent(QObject* watched, const QPoint& pos) const
{
    if (watched == viewport())
        return MouseToCell(pos);
    if (watched == horizontalHeader()->viewport()) {
        const int col = horizontalHeader()->logicalIndexAt(pos);
        return {col < 0 ? -1 : col + HeaderCols(), 0};
    }
    if (watched == verticalHeader()->viewport()) {
        const int row = verticalHeader()->logicalIndexAt(pos);
        return {0, row < 0 ? -1 : row + HeaderRows()};
    }
    return {0, 0};
}

bool TQvStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const QPoint cell =
                CellOfEvent(watched, static_cast<QMouseEvent*>(event)->position().toPoint());
            emit MouseDown(cell.x(), cell.y());
            break;
        }
        case QEvent::MouseButtonRelease: {
            const QPoint cell =
                CellOfEvent(watched, static_cast<QMouseEvent*>(event)->position().toPoint());
            emit MouseUp(cell.x(), cell.y());
            break;
        }
        case QEvent::MouseButtonDblClick: emit DblClick(); break;
        case QEvent::Paint:
            if (watched == corner_) {
                PaintCorner(corner_);
                return true;
            }
            break;
        default: break;
    }
    return QTableWidget::eventFilter(watched, event);
}

// The corner shows cell (0, 0), which the table's own corner button cannot.
void TQvStringGrid::PaintCorner(QWidget* corner) const
{
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.text = cornerText_;
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
    QStylePainter painter(corner);
    painter.drawControl(QStyle::CE_Header, option);
}
