#include "components/choice_box.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWheelEvent>

TChoiceBox::TChoiceBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!movingOnly_)
            taken_ = index;
    });
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (movingOnly_)
            return;
        taken_ = index;
        emit Chosen(index);
    });
}

void TChoiceBox::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && TakeMovedItem()) {
        event->accept();
        return;
    }
    const QScopedValueRollback moving(movingOnly_, true);
    QComboBox::keyPressEvent(event);
}

void TChoiceBox::wheelEvent(QWheelEvent* event)
{
    const QScopedValueRollback moving(movingOnly_, true);
    QComboBox::wheelEvent(event);
}

// Opening the list takes the focus to it; that is no leaving.
void TChoiceBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && !view()->isVisible())
        TakeMovedItem();
}

bool TChoiceBox::TakeMovedItem()
{
    const int index = currentIndex();
    if (index < 0 || index == taken_)
        return false;
    taken_ = index;
    emit Chosen(index);
    return true;
}
