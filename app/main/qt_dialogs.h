#pragma once

#include "platform/dialogs.h"

// The dialog service of the running program: Qt message boxes and file dialogs
// parented to the active window.
class TQtDialogs final : public TDialogs {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial, bool masked) override;

protected:
    std::optional<std::string> ChooseFileToOpen(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const TFileDialogRequest& request) override;
};
