#pragma once

// A small window that shows one fixed explanatory picture, unscaled, filling
// its client area; it has no behaviour of its own.

#include <QDialog>
#include <QSize>

#include "app/diagrams/box_diagram.h"

class QLabel;

class TDiagramForm : public QDialog {
    Q_OBJECT
public:
    TDiagramForm(QWidget* parent, const QString& objectName, const QString& caption,
                 QSize clientSize, const TBoxDiagram& picture);

    QLabel* Image1() const { return image1_; }

protected:
    // The window opens in the middle of the screen, not over its caller.
    void showEvent(QShowEvent* event) override;

private:
    QLabel* image1_;
    TBoxDiagram picture_;
};
