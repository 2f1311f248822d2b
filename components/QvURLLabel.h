#pragma once

#include <QLabel>
#include <QString>

// A label that opens its web address with the desktop's default handler when
// clicked. It shows the address unless given a caption of its own.
class TQvURLLabel : public QLabel {
    Q_OBJECT
public:
    explicit TQvURLLabel(QWidget* parent = nullptr);

    QString URL() const { return url_; }
    void SetURL(const QString& url);
    // Opens the address, then reports the click.
    virtual void Click();

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString url_;
};
