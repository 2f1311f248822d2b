#include "components/QvAboutInfo.h"

#include <QApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QWidget>

#include "components/QvAboutWindow.h"
#include "components/modal_run.h"
#include "platform/exception.h"

void TMyLabel::Assign(const TMyLabel& other)
{
    resize(other.size());
    setText(other.text());
}

void TMyLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

TQvAboutInfo::TQvAboutInfo(QObject* owner)
    : QObject(owner),
      applicationName_(tr("Enter application name here")),
      appDescription_(tr("Application Description")),
      easternEggString_(tr("Eastern egg text")),
      partners_{{tr("Partner name"), tr("Copyright notice"), QStringLiteral("https://example.org/"),
                 true},
                {tr("Partner name"), tr("Copyright notice"), QStringLiteral("https://example.org/"),
                 true},
                {tr("Partner name"), tr("Copyright notice"), QStringLiteral("https://example.org/"),
                 false}}
{
    const QIcon applicationIcon = QApplication::windowIcon();
    if (!applicationIcon.isNull())
        icon_ = applicationIcon.pixmap(32, 32);
}

int TQvAboutInfo::PartnerIndex(int number)
{
    if (number < 1 || number > 3)
        throw Exception("Partner number must be 1 to 3, not " + std::to_string(number));
    return number - 1;
}

Tpartner& TQvAboutInfo::Partner(int number)
{
    return partners_[PartnerIndex(number)];
}

const Tpartner& TQvAboutInfo::Partner(int number) const
{
    return partners_[PartnerIndex(number)];
}

bool TQvAboutInfo::Execute()
{
    QWidget* owner = qobject_cast<QWidget*>(parent());
    TQvAboutWindow window(*this, owner ? owner : QApplication::activeWindow());
    ShowModal(window);
    return true;
}
