#include "app/diagrams/diagram_form.h"

#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QVBoxLayout>

#include "app/diagrams/box_diagram.h"
#include "app/form_support.h"

TDiagramForm::TDiagramForm(QWidget* parent, const QString& objectName, const QString& caption,
                           QSize clientSize, const TBoxDiagram& picture)
    : QDialog(parent, Qt::Tool), image1_(new QLabel(this)), picture_(picture)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    SetFormFont(*this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The picture and the client area differ by a pixel or two; the strip
    // left over keeps the picture's white ground.
    image1_->setAutoFillBackground(true);
    QPalette palette = image1_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    image1_->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(image1_);
    setFixedSize(clientSize);
}

void TDiagramForm::showEvent(QShowEvent* event)
{
    // Painted when first shown, not with the other forms at start-up.
    if (image1_->pixmap().isNull())
        image1_->setPixmap(picture_.Paint(font(), devicePixelRatioF()));
    QDialog::showEvent(event);
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}
