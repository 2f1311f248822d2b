#pragma once

// Collects the findings of one validation run (information, warnings, errors)
// and shows them all at once in a small modal window.

#include <cstdint>
#include <memory>
#include <vector>

#include <QDialog>
#include <QObject>
#include <QString>

#include "appcore/check_messages.h"

class QPlainTextEdit;
class QPushButton;
class TMessageDialog;

struct TMsg {
    QString Text;
    TMsgKind Kind = mkInformation;
};

// The window: a read-only list of lines and an OK button.
class TFrmMessageDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrmMessageDlg(TMessageDialog& dialog);

    TMessageDialog& Dialog() const { return dialog_; }
    QPlainTextEdit* MemoMessages() const { return memoMessages_; }

public slots:
    void OKBtnClick();

private:
    TMessageDialog& dialog_;
    QPlainTextEdit* memoMessages_;
    QPushButton* okBtn_;
};

class TMessageDialog : public QObject {
    Q_OBJECT
public:
    explicit TMessageDialog(QObject* owner = nullptr);
    ~TMessageDialog() override;

    void Clear() { messages_.clear(); }
    int Count() const { return static_cast<int>(messages_.size()); }
    int ErrorCount() const;
    void AddMessage(const QString& text, TMsgKind kind);
    const std::vector<TMsg>& Messages() const { return messages_; }

    // The memo lines: a tag 13 characters wide, one space, the text.
    static QString MessageLine(const TMsg& message);
    // Fills the window and shows it modally; the messages stay.
    void ShowMessages();
    TFrmMessageDlg* Form() const { return form_.get(); }

private:
    std::vector<TMsg> messages_;
    std::unique_ptr<TFrmMessageDlg> form_;
};
