#pragma once

// A dialog service for tests: it records every box it is shown and answers
// from queues that the test fills beforehand. A question that nobody scripted
// raises an exception, so a test cannot pass by accident on a default answer.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

class TScriptedDialogs final : public TDialogs {
public:
    struct Shown {
        std::string Text;
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
    };

    // Queue answers; each is used by the next box that needs one.
    void Answer(TModalResult result) { answers_.push_back(result); }
    void AnswerFile(std::optional<std::string> fileName) { files_.push_back(std::move(fileName)); }
    void AnswerText(std::optional<std::string> text) { texts_.push_back(std::move(text)); }

    const std::vector<Shown>& Messages() const { return messages_; }
    // As the dialogs were asked, with the folder they start in.
    const std::vector<TFileDialogRequest>& FileRequests() const { return fileRequests_; }
    std::vector<std::string> Texts() const;
    bool AllAnswersUsed() const { return answers_.empty() && files_.empty() && texts_.empty(); }
    void Clear();

    TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial, bool masked) override;

protected:
    std::optional<std::string> ChooseFileToOpen(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const TFileDialogRequest& request) override;

private:
    std::optional<std::string> NextFile(const TFileDialogRequest& request);

    std::vector<Shown> messages_;
    std::vector<TFileDialogRequest> fileRequests_;
    std::deque<TModalResult> answers_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::string>> texts_;
};
