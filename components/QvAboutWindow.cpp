#include "components/QvAboutWindow.h"

#include <algorithm>

#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include "components/QvAboutInfo.h"
#include "components/QvURLLabel.h"
#include "components/command_guard.h"
#include "components/genutils.h"

namespace {

constexpr int kWidth = 260;
constexpr int kHeight = 370;
constexpr int kMargin = 5;
constexpr int kLineHeight = 16;
constexpr int kPictureHeight = 60;
constexpr int kTextTop = 72;
constexpr int kButtonTop = kHeight - 33;
constexpr int kCreditsHeight = kButtonTop - kTextTop - 6;
constexpr int kCreditsGrowStep = 8;
constexpr int kCreditsShrinkStep = 2;

template <typename Widget>
Widget* Place(Widget* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QString Numbered(const char* name, int number)
{
    return QLatin1String(name) + QString::number(number);
}

}  // namespace

TQvAboutWindow::TQvAboutWindow(const TQvAboutInfo& info, QWidget* parent)
    : QDialog(parent), easternEgg_(info.EasternEggString())
{
    setObjectName(QStringLiteral("QvAboutForm"));
    setWindowTitle(tr("About") + QStringLiteral(": ") + info.ApplicationName());
    setFixedSize(kWidth, kHeight);
    AddPictures(info);
    AddTitle(info.ApplicationName(), info.IconShow() ? 52 : 14);
    int top = AddTextBlock(info, kTextTop);
    for (int number = 1; number <= 3; ++number)
        if (info.Partner(number).Show)
            top = AddPartner(info, number, top);
    AddButtons(info);

    creditsBox_ = Place(new QScrollArea(this), QStringLiteral("ScrollBoxCredits"),
                        QRect(kMargin, kTextTop, kWidth - 2 * kMargin, 0));
    creditsBox_->setWidgetResizable(true);
    memoCredits_ = new QPlainTextEdit(info.Credits().join(QLatin1Char('\n')));
    memoCredits_->setObjectName(QStringLiteral("MemoCredits"));
    memoCredits_->setReadOnly(true);
    creditsBox_->setWidget(memoCredits_);
    creditsBox_->hide();
    creditsTimer_.setInterval(3);
    connect(&creditsTimer_, &QTimer::timeout, this, &TQvAboutWindow::StepCredits);
    titleTimer_.setInterval(10);
    connect(&titleTimer_, &QTimer::timeout, this, &TQvAboutWindow::StepTitle);
}

void TQvAboutWindow::AddPictures(const TQvAboutInfo& info)
{
    auto* frame = Place(new QFrame(this), QStringLiteral("BevelPicture"),
                        QRect(kMargin, kMargin, kWidth - 2 * kMargin, kPictureHeight));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (info.ImageShow() && !info.BigImage().isNull()) {
        const QSize area = frame->contentsRect().size();
        auto* image =
            Place(new QLabel(frame), QStringLiteral("ImgBig"),
                  QRect(frame->contentsRect().topLeft(), info.BigImage().size().boundedTo(area)));
        image->setScaledContents(true);
        image->setPixmap(info.BigImage());
    }
    if (info.IconShow() && !info.Icon().isNull()) {
        auto* icon = Place(new QLabel(frame), QStringLiteral("ImgIcon"), QRect(8, 14, 32, 32));
        icon->setScaledContents(true);
        icon->setPixmap(info.Icon());
    }
}

// One label per letter; LayOutTitle places them.
void TQvAboutWindow::AddTitle(const QString& title, int left)
{
    QFont font(QStringLiteral("Arial"), 14, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    for (const QChar letter : title) {
        auto* label = new TMyLabel(QString(letter), this);
        label->setObjectName(Numbered("TitleLetter", static_cast<int>(letters_.size())));
        label->setFont(font);
        label->setPalette(colours);
        label->setAutoFillBackground(false);
        label->resize(label->sizeHint());
        connect(label, &TMyLabel::Clicked, this, &TQvAboutWindow::ToggleTitleAnimation);
        letters_.push_back(label);
    }
    LayOutTitle(title, left);
}

// The letters stand side by side; a word that would run past the picture area
// starts a new line, and the lines sit in the middle of the area.
void TQvAboutWindow::LayOutTitle(const QString& title, int left)
{
    const auto isSpace = [&title](std::size_t i) {
        return title[static_cast<qsizetype>(i)] == QLatin1Char(' ');
    };
    std::vector<QPoint> places;
    int x = left;
    int line = 0;
    for (std::size_t i = 0; i < letters_.size(); ++i) {
        if (i > 0 && isSpace(i - 1)) {
            int wordWidth = 0;
            for (std::size_t j = i; j < letters_.size() && !isSpace(j); ++j)
                wordWidth += letters_[j]->width();
            if (x + wordWidth > kWidth - 2 * kMargin) {
                x = left;
                ++line;
            }
        }
        places.emplace_back(x, line);
        x += letters_[i]->width();
    }
    const int lineHeight = letters_.empty() ? 0 : letters_.front()->height();
    const int top = kMargin + (kPictureHeight - (line + 1) * lineHeight) / 2;
    for (std::size_t i = 0; i < letters_.size(); ++i)
        letters_[i]->move(places[i].x(), top + places[i].y() * lineHeight);
}

int TQvAboutWindow::AddTextBlock(const TQvAboutInfo& info, int top)
{
    const int width = kWidth - 2 * kMargin;
    Place(new QLabel(tr("Version: ") + GetAppVersion(), this), QStringLiteral("LblVersion"),
          QRect(kMargin, top, width, kLineHeight));
    auto* description =
        Place(new QLabel(info.AppDescription(), this), QStringLiteral("LblDescription"),
              QRect(kMargin, top + kLineHeight + 2, 250, 30));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* line = Place(new QFrame(this), QStringLiteral("BevelLine"),
                       QRect((kWidth - 50) / 2, top + 54, 50, 2));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return top + 62;
}

int TQvAboutWindow::AddPartner(const TQvAboutInfo& info, int number, int top)
{
    const Tpartner& partner = info.Partner(number);
    const int width = kWidth - 2 * kMargin;
    auto* name = Place(new QLabel(partner.Name, this), Numbered("LblPartnerName", number),
                       QRect(kMargin, top, width, kLineHeight));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    Place(new QLabel(partner.Copyrights, this), Numbered("LblPartnerCopyrights", number),
          QRect(kMargin, top + kLineHeight, width, kLineHeight));
    auto* url = Place(new TQvURLLabel(this), Numbered("LblPartnerURL", number),
                      QRect(kMargin, top + 2 * kLineHeight, width, kLineHeight));
    url->SetURL(partner.URL);
    return top + 3 * kLineHeight + 6;
}

void TQvAboutWindow::AddButtons(const TQvAboutInfo& info)
{
    const int okWidth = 75;
    const bool withCredits = info.CreditsButtonShow();
    const int left = withCredits ? (kWidth - okWidth - 50 - 6) / 2 : (kWidth - okWidth) / 2;
    okButton_ = Place(new QPushButton(tr("OK"), this), QStringLiteral("BtnOK"),
                      QRect(left, kButtonTop, okWidth, 25));
    okButton_->setDefault(true);
    ConnectCommand(okButton_, &QPushButton::clicked, this, &TQvAboutWindow::OkClick);
    if (withCredits) {
        auto* credits = Place(new QPushButton(tr("Credits"), this), QStringLiteral("BtnCredits"),
                              QRect(left + okWidth + 6, kButtonTop, 50, 25));
        ConnectCommand(credits, &QPushButton::clicked, this, &TQvAboutWindow::ShowCredits);
    }
}

bool TQvAboutWindow::CreditsShown() const
{
    return !creditsBox_->isHidden();
}

void TQvAboutWindow::OkClick()
{
    if (CreditsShown())
        HideCredits();
    else
        accept();
}

void TQvAboutWindow::ShowCredits()
{
    creditsBox_->resize(creditsBox_->width(), 0);
    creditsBox_->show();
    creditsBox_->raise();
    okButton_->setText(tr("Hide"));
    creditsStep_ = kCreditsGrowStep;
    creditsTimer_.start();
}

void TQvAboutWindow::HideCredits()
{
    creditsStep_ = -kCreditsShrinkStep;
    creditsTimer_.start();
}

void TQvAboutWindow::StepCredits()
{
    const int height = creditsBox_->height() + creditsStep_;
    if (creditsStep_ > 0) {
        creditsBox_->resize(creditsBox_->width(), std::min(height, kCreditsHeight));
        if (height >= kCreditsHeight)
            creditsTimer_.stop();
        return;
    }
    creditsBox_->resize(creditsBox_->width(), std::max(height, 0));
    if (height <= 4) {
        creditsTimer_.stop();
        creditsBox_->hide();
        okButton_->setText(tr("OK"));
    }
}

void TQvAboutWindow::ToggleTitleAnimation()
{
    if (titleTimer_.isActive())
        titleTimer_.stop();
    else
        titleTimer_.start();
}

// The first letter follows the mouse; every other letter closes in on the one
// before it.
void TQvAboutWindow::StepTitle()
{
    if (letters_.empty())
        return;
    letters_.front()->move(mapFromGlobal(QCursor::pos()));
    for (std::size_t i = 1; i < letters_.size(); ++i) {
        const TMyLabel* previous = letters_[i - 1];
        TMyLabel* letter = letters_[i];
        const int dy = (previous->y() - letter->y()) / (static_cast<int>(i) + 3);
        const int dx = (previous->x() + previous->width() - letter->x()) / 4;
        letter->move(letter->x() + dx, letter->y() + dy);
    }
}

void TQvAboutWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && CreditsShown()) {
        HideCredits();
        return;
    }
    typed_ = (typed_ + event->text()).right(std::max<qsizetype>(easternEgg_.size(), 1));
    if (!easternEgg_.isEmpty() && typed_.compare(easternEgg_, Qt::CaseInsensitive) == 0)
        ToggleTitleAnimation();
    QDialog::keyPressEvent(event);
}
