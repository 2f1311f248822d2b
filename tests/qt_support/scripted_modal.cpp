#include "tests/qt_support/scripted_modal.h"

#include <QDialog>
#include <QPlainTextEdit>

#include "components/frmMsgDlg.h"
#include "platform/exception.h"

QStringList TScriptedModal::TakeMessageLines()
{
    return std::exchange(messageLines_, {});
}

int TScriptedModal::Run(QDialog& window)
{
    if (auto* list = qobject_cast<TFrmMessageDlg*>(&window)) {
        messageLines_ << list->MemoMessages()->toPlainText().split(QLatin1Char('\n'));
        return QDialog::Accepted;
    }
    const std::string name = window.objectName().toStdString();
    if (scripts_.empty())
        throw Exception("No script for the modal window " + name);
    TScript script = std::move(scripts_.front());
    scripts_.pop_front();
    shown_ << window.objectName();

    bool closed = false;
    const QMetaObject::Connection watch =
        QObject::connect(&window, &QDialog::finished, [&closed] { closed = true; });
    window.setResult(0);
    script(window);
    QObject::disconnect(watch);
    if (!closed)
        throw Exception("The script left the modal window " + name + " open");
    return window.result();
}
