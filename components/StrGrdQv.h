#pragma once

// The string grid every data form and the properties dialog are built on: a
// table of texts addressed by (column, row), with fixed rows and columns
// counted in those coordinates, an object per cell, a context menu (select
// all, copy, paste, save as CSV), selection colours, one column that can take
// up the remaining width, and a row sort.
//
// Fixed row 0 is shown as the horizontal header and fixed column 0 as the
// vertical header, so both stay in view while the cells scroll; further fixed
// columns are ordinary columns drawn in the fixed colour. Header cells are
// drawn by the headers, so `OnDrawCell` is called for the other cells only.

#include <functional>
#include <vector>

#include <QColor>
#include <QFlags>
#include <QMenu>
#include <QTableWidget>

class TObject;
class TQvStringGrid;

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goColSizing = 1u << 5,
    goRowMoving = 1u << 6,
    goEditing = 1u << 7,
    goRowSelect = 1u << 8,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

// A block of cells in grid coordinates, fixed cells included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The grid's context menu; its items are told apart by object name, since the
// captions may be translated.
class TQvPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TQvPopupMenu(TQvStringGrid& grid);

    QAction* Item(const QString& name) const;
    // Enables Paste exactly when the grid accepts a paste, then shows the menu.
    void Popup(const QPoint& globalPos);

private:
    TQvStringGrid& grid_;
};

class TQvStringGrid : public QTableWidget {
    Q_OBJECT
public:
    using TDrawCellEvent = std::function<void(QPainter& canvas, int col, int row, const QRect& rect,
                                              TGridDrawState state)>;

    explicit TQvStringGrid(QWidget* parent = nullptr);

    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    TObject* Object(int col, int row) const;
    void SetObject(int col, int row, TObject* object);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    bool goPasteNonEditable() const { return pasteNonEditable_; }
    void SetGoPasteNonEditable(bool allowed) { pasteNonEditable_ = allowed; }
    // True when the options hold goEditing or goPasteNonEditable is set.
    bool CanPaste() const;

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(const QColor& color);
    QColor SelectedCellColor() const { return selectedCellColor_; }
    void SetSelectedCellColor(const QColor& color);
    QColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(const QColor& color);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // Sets the width of every column, existing ones included.
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
    // The column that takes up the remaining client width; -1 for none.
    int FitColToWidth() const { return fitColToWidth_; }
    void SetFitColToWidth(int col);

    TGridRect Selection() const;
    void SetSelection(const TGridRect& rect);
    // Column and row under a point of the viewport, -1 where there is none.
    QPoint MouseToCell(const QPoint& viewportPos) const;
    // Column and row of the current cell, -1 when there is none.
    QPoint CurrentCell() const;
    int LeftCol() const;
    void SetLeftCol(int col);

    void CopyToClipboard(int left, int right, int bottom, int top) const;
    virtual void PasteFromClipboard(int col, int row);
    void SaveToCSV(const QString& fileName) const;

    // Moves a row, as dragging it by its fixed cell does.
    void MoveRow(int from, int to);
    // Row FixedRows() + i takes the content of row sourceRows[i], objects included.
    void ArrangeRows(const std::vector<int>& sourceRows);

    TQvPopupMenu* PopupMenu() const { return popup_; }

    virtual void DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                          TGridDrawState state);
    TDrawCellEvent OnDrawCell;

public slots:
    void selectAll() override;
    virtual void PopupItemClick(QAction* item);

signals:
    // Grid coordinates; a press on the column titles reports row 0, on the row
    // titles column 0.
    void MouseDown(int col, int row);
    void MouseUp(int col, int row);
    void DblClick();
    void RowMoved(int from, int to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int HeaderRows() const { return fixedRows_ > 0 ? 1 : 0; }
    int HeaderCols() const { return fixedCols_ > 0 ? 1 : 0; }
    bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    bool IsHeader(int col, int row) const { return col < HeaderCols() || row < HeaderRows(); }
    bool IsInside(int col, int row) const;
    QTableWidgetItem* ItemAt(int col, int row) const;
    QTableWidgetItem* EnsureItem(int col, int row);
    QTableWidgetItem* InsertItem(int col, int row, QTableWidgetItem* created);
    void FillHeaderItems();
    void UpdateHeaders();
    void UpdateHeaderColours();
    void ApplyFitColToWidth();
    void ChangeFixed(int cols, int rows);
    QPoint CellOfEvent(QObject* watched, const QPoint& pos) const;
    void PaintCorner(QWidget* corner) const;
    void DrawFocusMark(QPainter& canvas, const QRect& rect, TGridDrawState state) const;
    void OnHeaderRowMoved(int logical, int oldVisual, int newVisual);

    int fixedCols_ = 1;
    int fixedRows_ = 1;
    TGridOptions options_ =
        goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    bool pasteNonEditable_ = false;
    QColor color_ = Qt::white;
    QColor fixedColor_ = QColor(0xDD, 0xDD, 0xDD);
    QColor selectedCellColor_ = QColor(0x00, 0x40, 0x80);
    QColor selectedFontColor_ = Qt::white;
    int fitColToWidth_ = -1;
    bool fitting_ = false;
    bool allSelected_ = false;
    int titleColWidth_ = 64;
    QString cornerText_;
    TObject* cornerObject_ = nullptr;
    QWidget* corner_ = nullptr;
    TQvPopupMenu* popup_ = nullptr;
};

// The block as text: cells separated by TAB, every row ended by CR LF.
QString GridBlockText(const TQvStringGrid& grid, int left, int right, int bottom, int top);
void CopyGridToClipboard(const TQvStringGrid& grid, int left, int right, int bottom, int top);
// Writes TAB/CR LF text into the grid from (col, row). With keepSize the grid
// keeps its size and what falls outside is dropped; without it the grid grows.
void PasteTextToGrid(TQvStringGrid& grid, const QString& text, int col, int row, bool keepSize);
void PasteClipboardToGrid(TQvStringGrid& grid, int col, int row, bool keepSize);
// Sorts the non-fixed rows by the text of the column (ordinal comparison), rows
// moving with their objects.
void SortGridByColumn(TQvStringGrid& grid, int col, bool ascending);
