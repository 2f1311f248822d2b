#pragma once

// A small window that shows one fixed explanatory picture, unscaled, filling
// its client area; it has no behaviour of its own.

#include <QDialog>
#include <QPixmap>
#include <QSize>

class QLabel;

class TDiagramForm : public QDialog {
    Q_OBJECT
public:
    TDiagramForm(QWidget* parent, const QString& objectName, const QString& caption,
                 QSize clientSize, const QPixmap& picture);

    QLabel* Image1() const { return image1_; }

private:
    QLabel* image1_;
};
