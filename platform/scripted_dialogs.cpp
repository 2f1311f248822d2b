#include "platform/scripted_dialogs.h"

#include "platform/exception.h"

std::vector<std::string> TScriptedDialogs::Texts() const
{
    std::vector<std::string> texts;
    for (const Shown& shown : messages_)
        texts.push_back(shown.Text);
    return texts;
}

void TScriptedDialogs::Clear()
{
    messages_.clear();
    fileRequests_.clear();
    answers_.clear();
    files_.clear();
    texts_.clear();
}

TModalResult TScriptedDialogs::MessageDlg(const std::string& text, TMsgDlgType type,
                                          TMsgDlgButtons buttons)
{
    messages_.push_back({text, type, buttons});
    // A box with nothing to choose needs no script.
    if (buttons == mbOK)
        return mrOk;
    if (answers_.empty())
        throw Exception("Unscripted question: " + text);
    const TModalResult result = answers_.front();
    answers_.pop_front();
    return result;
}

std::optional<std::string> TScriptedDialogs::NextFile(const TFileDialogRequest& request)
{
    fileRequests_.push_back(request);
    if (files_.empty())
        throw Exception("Unscripted file dialog: " + request.Title);
    auto result = files_.front();
    files_.pop_front();
    return result;
}

std::optional<std::string> TScriptedDialogs::ChooseFileToOpen(const TFileDialogRequest& request)
{
    return NextFile(request);
}

std::optional<std::string> TScriptedDialogs::ChooseFileToSave(const TFileDialogRequest& request)
{
    return NextFile(request);
}

std::optional<std::string> TScriptedDialogs::InputText(const std::string& caption,
                                                       const std::string& prompt,
                                                       const std::string&, bool)
{
    messages_.push_back({prompt, TMsgDlgType::mtConfirmation, mbOKCancel});
    if (texts_.empty())
        throw Exception("Unscripted prompt: " + caption);
    auto result = texts_.front();
    texts_.pop_front();
    return result;
}
