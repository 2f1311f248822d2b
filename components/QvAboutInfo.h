#pragma once

// The "About" box: built at run time from these settings and shown modally.

#include <QLabel>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>

// One block of the box: who, their rights notice and their web address.
struct Tpartner {
    QString Name;
    QString Copyrights;
    QString URL;
    bool Show = true;
};

// One letter of the box's title.
class TMyLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Takes over the other letter's size and caption.
    void Assign(const TMyLabel& other);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class TQvAboutInfo : public QObject {
    Q_OBJECT
public:
    explicit TQvAboutInfo(QObject* owner = nullptr);

    QString ApplicationName() const { return applicationName_; }
    void SetApplicationName(const QString& name) { applicationName_ = name; }
    QString AppDescription() const { return appDescription_; }
    void SetAppDescription(const QString& text) { appDescription_ = text; }
    QString EasternEggString() const { return easternEggString_; }
    void SetEasternEggString(const QString& text) { easternEggString_ = text; }
    // Partners 1 to 3.
    Tpartner& Partner(int number);
    const Tpartner& Partner(int number) const;
    QPixmap BigImage() const { return bigImage_; }
    void SetBigImage(const QPixmap& picture) { bigImage_ = picture; }
    QPixmap Icon() const { return icon_; }
    void SetIcon(const QPixmap& picture) { icon_ = picture; }
    bool ImageShow() const { return imageShow_; }
    void SetImageShow(bool show) { imageShow_ = show; }
    bool IconShow() const { return iconShow_; }
    void SetIconShow(bool show) { iconShow_ = show; }
    QStringList Credits() const { return credits_; }
    void SetCredits(const QStringList& lines) { credits_ = lines; }
    bool CreditsButtonShow() const { return creditsButtonShow_; }
    void SetCreditsButtonShow(bool show) { creditsButtonShow_ = show; }

    // Builds the window, shows it modally and frees it; always true.
    bool Execute();

private:
    static int PartnerIndex(int number);

    QString applicationName_;
    QString appDescription_;
    QString easternEggString_;
    Tpartner partners_[3];
    QPixmap bigImage_;
    QPixmap icon_;
    bool imageShow_ = false;
    bool iconShow_ = false;
    QStringList credits_;
    bool creditsButtonShow_ = false;
};
