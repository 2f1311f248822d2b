#include "app/diagram_form.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/form_support.h"

TDiagramForm::TDiagramForm(QWidget* parent, const QString& objectName, const QString& caption,
                           QSize clientSize, const QPixmap& picture)
    : QDialog(parent, Qt::Tool), image1_(new QLabel(this))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    SetFormFont(*this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_->setPixmap(picture);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(image1_);
    setFixedSize(clientSize);
}
