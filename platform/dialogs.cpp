#include "platform/dialogs.h"

#include <filesystem>
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
    std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&,
                                         bool) override
    {
        return {};
    }

protected:
    std::optional<std::string> ChooseFileToOpen(const TFileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFileToSave(const TFileDialogRequest&) override { return {}; }
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

std::optional<std::string> TDialogs::OpenFile(const TFileDialogRequest& request)
{
    return ChooseInLastFolder(request, &TDialogs::ChooseFileToOpen);
}

std::optional<std::string> TDialogs::SaveFile(const TFileDialogRequest& request)
{
    return ChooseInLastFolder(request, &TDialogs::ChooseFileToSave);
}

// A proposed name with a folder of its own (or a folder given) says where to
// start; a bare proposed name, such as Save As gives, starts beside the file
// last chosen.
std::optional<std::string> TDialogs::ChooseInLastFolder(TFileDialogRequest request, TChooser choose)
{
    if (request.InitialDir.empty() && !std::filesystem::path(request.FileName).has_parent_path())
        request.InitialDir = lastFolder_;
    std::optional<std::string> chosen = (this->*choose)(request);
    if (chosen) {
        const std::string folder = std::filesystem::path(*chosen).parent_path().string();
        if (!folder.empty())
            lastFolder_ = folder;
    }
    return chosen;
}

TDialogs& Dialogs()
{
    return *InstalledDialogs();
}

void ShowMessage(const std::string& text, TMsgDlgType type)
{
    Dialogs().MessageDlg(text, type, mbOK);
}
