#include "platform/dialogs.h"

#include <iostream>

namespace {

const char* KindName(TMsgDlgType type)
{
    switch (type) {
        case TMsgDlgType::mtWarning: return "Warning";
        case TMsgDlgType::mtError: return "Error";
        case TMsgDlgType::mtInformation: return "Information";
        case TMsgDlgType::mtConfirmation: return "Confirmation";
    }
    return "";
}

class ConsoleDialogs final : public TDialogs {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) override
    {
        std::cerr << KindName(type) << ": " << text << '\n';
        for (TMsgDlgBtn cautious : {mbCancel, mbAbort, mbNo, mbOK})
            if (buttons & cautious)
                return ModalResultOf(cautious);
        return mrCancel;
    }
    std::optional<std::string> OpenFile(const TFileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFile(const TFileDialogRequest&) override { return {}; }
    std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&,
                                         bool) override
    {
        return {};
    }
};

}  // namespace

TDialogs*& InstalledDialogs()
{
    static ConsoleDialogs console;
    static TDialogs* installed = &console;
    return installed;
}

TModalResult ModalResultOf(TMsgDlgBtn button)
{
    switch (button) {
        case mbYes: return mrYes;
        case mbNo: return mrNo;
        case mbOK: return mrOk;
        case mbCancel: return mrCancel;
        case mbAbort: return mrAbort;
        case mbRetry: return mrRetry;
        case mbIgnore: return mrIgnore;
        case mbNoToAll: return mrNoToAll;
        case mbYesToAll: return mrYesToAll;
    }
    return mrNone;
}

TDialogs& Dialogs()
{
    return *InstalledDialogs();
}

void ShowMessage(const std::string& text, TMsgDlgType type)
{
    Dialogs().MessageDlg(text, type, mbOK);
}
