#include "components/frmMsgDlg.h"

#include <algorithm>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "components/command_guard.h"
#include "components/modal_run.h"
namespace {

QString KindText(TMsgKind kind)
{
    switch (kind) {
        case mkInformation: return TMessageDialog::tr("Information");
        case mkWarning: return TMessageDialog::tr("Warning");
        case mkError: return TMessageDialog::tr("Error");
    }
    return {};
}

// The spaces after the bracket follow the untranslated words, so a
// translation changes the words but not the spacing.
int TagPadding(TMsgKind kind)
{
    switch (kind) {
        case mkInformation: return 0;
        case mkWarning: return 4;
        case mkError: return 6;
    }
    return 0;
}

}  // namespace

TFrmMessageDlg::TFrmMessageDlg(TMessageDialog& dialog) : dialog_(dialog)
{
    setObjectName(QStringLiteral("FrmMessageDlg"));
    setWindowTitle(tr("Messages"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(500, 180);

    memoMessages_ = new QPlainTextEdit(this);
    memoMessages_->setObjectName(QStringLiteral("MemoMessages"));
    memoMessages_->setReadOnly(true);
    // The tags are padded to one width so that the texts line up.
    memoMessages_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memoMessages_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memoMessages_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(36);
    okBtn_ = new QPushButton(tr("OK"), panel1);
    okBtn_->setObjectName(QStringLiteral("OKBtn"));
    okBtn_->setGeometry(220, 7, 60, 23);
    okBtn_->setDefault(true);
    ConnectCommand(okBtn_, &QPushButton::clicked, this, &TFrmMessageDlg::OKBtnClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(memoMessages_);
    layout->addWidget(panel1);
}

void TFrmMessageDlg::OKBtnClick()
{
    close();
}

TMessageDialog::TMessageDialog(QObject* owner)
    : QObject(owner), form_(std::make_unique<TFrmMessageDlg>(*this))
{
}

TMessageDialog::~TMessageDialog() = default;

int TMessageDialog::ErrorCount() const
{
    return static_cast<int>(
        std::count_if(messages_.begin(), messages_.end(),
                      [](const TMsg& message) { return message.Kind == mkError; }));
}

void TMessageDialog::AddMessage(const QString& text, TMsgKind kind)
{
    messages_.push_back({text, kind});
}

QString TMessageDialog::MessageLine(const TMsg& message)
{
    const QString tag = QLatin1Char('[') + KindText(message.Kind) + QLatin1Char(']') +
                        QString(TagPadding(message.Kind), QLatin1Char(' '));
    return tag + QLatin1Char(' ') + message.Text;
}

void TMessageDialog::ShowMessages()
{
    QPlainTextEdit* memo = form_->MemoMessages();
    memo->clear();
    for (const TMsg& message : messages_)
        memo->appendPlainText(MessageLine(message));
    memo->moveCursor(QTextCursor::Start);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form_->move(screen->availableGeometry().center() - form_->rect().center());
    ShowModal(*form_);
}
