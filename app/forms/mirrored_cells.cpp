#include "app/forms/mirrored_cells.h"

#include <algorithm>

#include <QAbstractItemDelegate>
#include <QLineEdit>
#include <QTableWidgetItem>

#include "components/StrGrdQv.h"

namespace {

// Stands in for a grid's own delegate, which still does all the work, and
// reports each change of an in-place editor's text and the end of each edit,
// which the grid itself tells only once the text is committed.
class TEditWatchDelegate final : public QAbstractItemDelegate {
    Q_OBJECT
public:
    TEditWatchDelegate(QAbstractItemDelegate& inner, QObject* parent)
        : QAbstractItemDelegate(parent), inner_(inner)
    {
        connect(&inner, &QAbstractItemDelegate::commitData, this,
                &QAbstractItemDelegate::commitData);
        connect(&inner, &QAbstractItemDelegate::closeEditor, this,
                &QAbstractItemDelegate::closeEditor);
        connect(&inner, &QAbstractItemDelegate::sizeHintChanged, this,
                &QAbstractItemDelegate::sizeHintChanged);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        inner_.paint(painter, option, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return inner_.sizeHint(option, index);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = inner_.createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const QPersistentModelIndex cell(index);
            connect(line, &QLineEdit::textChanged, this,
                    [this, cell](const QString& text) { emit EditTextChanged(cell, text); });
        }
        return editor;
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        inner_.destroyEditor(editor, index);
        emit EditEnded(index);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        inner_.setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        inner_.setModelData(editor, model, index);
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override
    {
        inner_.updateEditorGeometry(editor, option, index);
    }
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        return inner_.editorEvent(event, model, option, index);
    }
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        return inner_.helpEvent(event, view, option, index);
    }

signals:
    void EditTextChanged(const QModelIndex& index, const QString& text) const;
    void EditEnded(const QModelIndex& index) const;

protected:
    // The view filters its editors' events through the delegate it knows;
    // the keys that commit or cancel an edit are the inner delegate's to handle.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return static_cast<QObject&>(inner_).eventFilter(watched, event);
    }

private:
    QAbstractItemDelegate& inner_;
};

// The grid's cells below its header row and right of its header column are
// the model's; see StrGrdQv.h.
int GridCol(const TQvStringGrid& grid, const QModelIndex& index)
{
    return index.column() + (grid.FixedCols() > 0 ? 1 : 0);
}

int GridRow(const TQvStringGrid& grid, const QModelIndex& index)
{
    return index.row() + (grid.FixedRows() > 0 ? 1 : 0);
}

}  // namespace

TMirroredCells::TMirroredCells(QObject* parent) : QObject(parent) {}

void TMirroredCells::Pair(TQvStringGrid& gridA, int colA, TQvStringGrid& gridB, int colB)
{
    pairs_.push_back({{&gridA, colA}, {&gridB, colB}});
    Watch(gridA);
    Watch(gridB);
}

void TMirroredCells::Watch(TQvStringGrid& grid)
{
    if (std::ranges::find(watched_, &grid) != watched_.end())
        return;
    watched_.push_back(&grid);
    connect(&grid, &QTableWidget::itemChanged, this, [this, &grid](QTableWidgetItem* item) {
        CellChanged(grid, grid.indexFromItem(item), item->text());
    });
    auto* delegate = new TEditWatchDelegate(*grid.itemDelegate(), &grid);
    connect(delegate, &TEditWatchDelegate::EditTextChanged, this,
            [this, &grid](const QModelIndex& index, const QString& text) {
                CellChanged(grid, index, text);
            });
    // An edit left with Escape keeps the cell's old text, which the mirror
    // then takes back.
    connect(delegate, &TEditWatchDelegate::EditEnded, this,
            [this, &grid](const QModelIndex& index) {
                CellChanged(grid, index, grid.Cell(GridCol(grid, index), GridRow(grid, index)));
            });
    grid.setItemDelegate(delegate);
}

void TMirroredCells::CellChanged(TQvStringGrid& grid, const QModelIndex& index, const QString& text)
{
    const int row = GridRow(grid, index);
    if (copying_ || !index.isValid() || row < 1)
        return;
    const int col = GridCol(grid, index);
    copying_ = true;
    for (const TPairing& pair : pairs_) {
        if (pair.A.Grid == &grid && pair.A.Col == col)
            pair.B.Grid->SetCell(pair.B.Col, row, text);
        else if (pair.B.Grid == &grid && pair.B.Col == col)
            pair.A.Grid->SetCell(pair.A.Col, row, text);
    }
    copying_ = false;
}

#include "mirrored_cells.moc"
