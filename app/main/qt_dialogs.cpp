#include "app/main/qt_dialogs.h"

#include <utility>
#include <vector>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

// The archiver's password box takes no more characters than this; the edit
// stops the typing there rather than cutting the text afterwards.
constexpr int kMaxMaskedInputLength = 255;

QString ToQt(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Caption(TMsgDlgType type)
{
    switch (type) {
        case TMsgDlgType::mtWarning: return QStringLiteral("Warning");
        case TMsgDlgType::mtError: return QStringLiteral("Error");
        case TMsgDlgType::mtInformation: return QStringLiteral("Information");
        case TMsgDlgType::mtConfirmation: return QStringLiteral("Confirm");
    }
    return {};
}

QMessageBox::Icon Icon(TMsgDlgType type)
{
    switch (type) {
        case TMsgDlgType::mtWarning: return QMessageBox::Warning;
        case TMsgDlgType::mtError: return QMessageBox::Critical;
        case TMsgDlgType::mtInformation: return QMessageBox::Information;
        case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice {
    TMsgDlgBtn button;
    const char* text;
    QMessageBox::ButtonRole role;
};

// In the order the toolkit lays them out.
constexpr ButtonChoice kButtons[] = {
    {mbYes, "&Yes", QMessageBox::YesRole},
    {mbNo, "&No", QMessageBox::NoRole},
    {mbOK, "OK", QMessageBox::AcceptRole},
    {mbCancel, "Cancel", QMessageBox::RejectRole},
    {mbAbort, "&Abort", QMessageBox::RejectRole},
    {mbRetry, "&Retry", QMessageBox::AcceptRole},
    {mbIgnore, "&Ignore", QMessageBox::AcceptRole},
    {mbNoToAll, "N&o to All", QMessageBox::NoRole},
    {mbYesToAll, "Yes to &All", QMessageBox::YesRole},
};

// "Data file (*.wqd)|*.wqd|All (*.*)|*.*" -> "Data file (*.wqd);;All (*.*)"
QString QtFilter(const std::string& filter)
{
    const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") +
                           QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                           QLatin1Char(')');
        entries << description;
    }
    return entries.join(QStringLiteral(";;"));
}

QString StartPath(const TFileDialogRequest& request)
{
    if (request.InitialDir.empty())
        return ToQt(request.FileName);
    return ToQt(request.InitialDir) + QLatin1Char('/') + ToQt(request.FileName);
}

std::optional<std::string> Chosen(const QString& fileName)
{
    if (fileName.isEmpty())
        return std::nullopt;
    return fileName.toStdString();
}

}  // namespace

TModalResult TQtDialogs::MessageDlg(const std::string& text, TMsgDlgType type,
                                    TMsgDlgButtons buttons)
{
    QMessageBox box(Icon(type), Caption(type), ToQt(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> added;
    for (const ButtonChoice& choice : kButtons)
        if (buttons & choice.button)
            added.emplace_back(box.addButton(QString::fromLatin1(choice.text), choice.role),
                               choice.button);
    box.exec();
    for (const auto& [widget, flag] : added)
        if (box.clickedButton() == widget)
            return ModalResultOf(flag);
    return (buttons & mbCancel) ? mrCancel : mrNone;
}

std::optional<std::string> TQtDialogs::ChooseFileToOpen(const TFileDialogRequest& request)
{
    return Chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), ToQt(request.Title),
                                               StartPath(request), QtFilter(request.Filter)));
}

std::optional<std::string> TQtDialogs::ChooseFileToSave(const TFileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), ToQt(request.Title), StartPath(request),
                       QtFilter(request.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(ToQt(request.DefaultExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Chosen(dialog.selectedFiles().constFirst());
}

std::optional<std::string> TQtDialogs::InputText(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial, bool masked)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(ToQt(caption));
    dialog.setLabelText(ToQt(prompt));
    dialog.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setTextValue(ToQt(initial));
    if (masked)
        // The dialog makes its one edit on the echo mode's setting.
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMaxLength(kMaxMaskedInputLength);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}
