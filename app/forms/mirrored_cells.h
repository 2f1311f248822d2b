#pragma once

// Two grid columns that show the same quantity: whatever changes a cell of one
// (typing, each change of the in-place editor's text included, pasting,
// clearing, loading) writes the same text into the other at once, from row 1
// down. Nothing is copied while painting, so hidden grids stay current too.

#include <vector>

#include <QObject>

class QModelIndex;
class QString;
class TQvStringGrid;

class TMirroredCells : public QObject {
    Q_OBJECT
public:
    explicit TMirroredCells(QObject* parent = nullptr);

    // From now on column colA of gridA and column colB of gridB stay equal.
    void Pair(TQvStringGrid& gridA, int colA, TQvStringGrid& gridB, int colB);

private:
    struct TColumn {
        TQvStringGrid* Grid;
        int Col;
    };
    struct TPairing {
        TColumn A;
        TColumn B;
    };

    void Watch(TQvStringGrid& grid);
    // Copies the text of a cell that changed into its mirror, if it has one.
    void CellChanged(TQvStringGrid& grid, const QModelIndex& index, const QString& text);

    std::vector<TPairing> pairs_;
    std::vector<TQvStringGrid*> watched_;
    bool copying_ = false;
};
