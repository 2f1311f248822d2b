#pragma once

// A list box whose choice is taken only when the user means it. Qt reports a
// choice for every arrow key and every letter typed in the closed box, so a
// box whose choice cannot be taken back would take the first item the user
// passes on the way; so would the mouse wheel turned over it while the user
// scrolls the window. Here keys and wheel only move through the items; the
// item is taken by Enter, by a choice in the open list, or when the focus
// leaves the box on an item other than the last one taken.

#include <QComboBox>

class TChoiceBox : public QComboBox {
    Q_OBJECT
public:
    explicit TChoiceBox(QWidget* parent = nullptr);

signals:
    // The user took the item at this index.
    void Chosen(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Takes the item the keys moved to, when it is not the one taken last;
    // true when it took it.
    bool TakeMovedItem();

    bool movingOnly_ = false;
    // The item taken last, or set by the program; -1 for none.
    int taken_ = -1;
};
