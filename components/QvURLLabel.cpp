#include "components/QvURLLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

TQvURLLabel::TQvURLLabel(QWidget* parent) : QLabel(parent)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
    setPalette(colours);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
}

// A caption that still shows the old address follows the new one; a caption
// of its own stays.
void TQvURLLabel::SetURL(const QString& url)
{
    if (url == url_)
        return;
    if (text().isEmpty() || text() == url_)
        setText(url);
    url_ = url;
}

void TQvURLLabel::Click()
{
    QDesktopServices::openUrl(QUrl(url_));
    emit Clicked();
}

void TQvURLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}
