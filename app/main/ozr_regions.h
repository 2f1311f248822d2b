#pragma once

// The overview of the data reported so far: one row for every region that
// holds national table data or stations. The form itself is never shown: its
// panel moves into the main window's pnlData when the form is created.

#include <memory>

#include <QDialog>
#include <QPoint>

#include "components/StrGrdQv.h"

namespace Ui {
class TFormRegions;
}
class TPropertiesDialog;

class TFormRegions : public QDialog {
    Q_OBJECT
public:
    explicit TFormRegions(QWidget* parent = nullptr);
    ~TFormRegions() override;

    // The titles and one empty row.
    void InitRegionsGrid();
    // Rebuilds the whole table from the session.
    void FillRegionsGrid();

    TQvStringGrid* gridRegions() const;
    // The cell (column, row) of the last mouse press on the grid.
    QPoint LastPressCell() const { return lastPressCell_; }
    // The list of the station columns; made on first use, as the main window's.
    TPropertiesDialog& PropDlg();

public slots:
    // Opens the table form or the station list that the last pressed cell
    // stands for, then refills the table.
    void gridRegionsDblClick();

protected:
    // Enter on the grid opens what its current cell stands for.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void SetUpGrid();
    void gridRegionsMouseDown(int col, int row);
    // Opens what the cell (column, row) stands for, then refills the table.
    void OpenCell(QPoint cell);
    void gridRegionsDrawCell(QPainter& canvas, int col, int row, const QRect& rect);

    std::unique_ptr<Ui::TFormRegions> ui_;
    QPoint lastPressCell_;
    TPropertiesDialog* propDlg_ = nullptr;
};

extern TFormRegions* FormRegions;
