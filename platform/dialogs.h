#pragma once

// Everything the program asks or tells the user in a box goes through one
// service: message boxes, the open and save file dialogs and the text prompt.
// `main` installs the Qt implementation; tests install a scripted one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/scoped_service.h"

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Buttons of a message box, combinable as a set.
enum TMsgDlgBtn : std::uint32_t {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbNoToAll = 1u << 7,
    mbYesToAll = 1u << 8,
};
using TMsgDlgButtons = std::uint32_t;

inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbYesNoAll = mbYes | mbNo | mbNoToAll | mbYesToAll;
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;
inline constexpr TMsgDlgButtons mbAbortIgnore = mbAbort | mbIgnore;

// The button that closed a box (the toolkit's modal results).
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

TModalResult ModalResultOf(TMsgDlgBtn button);

struct TFileDialogRequest {
    std::string Title;
    std::string Filter;      // "Description (*.ext)|*.ext|..."
    std::string DefaultExt;  // without the dot
    std::string FileName;    // proposed name
    std::string InitialDir;
    bool OverwritePrompt = false;
};

class TDialogs {
public:
    virtual ~TDialogs() = default;

    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                                    TMsgDlgButtons buttons) = 0;
    // The chosen file, or nothing when the user cancelled. A dialog that is
    // given no folder starts in the folder of the file last chosen in any of
    // them, as the desktop's file dialogs do.
    std::optional<std::string> OpenFile(const TFileDialogRequest& request);
    std::optional<std::string> SaveFile(const TFileDialogRequest& request);
    // A one-line text prompt (masked for passwords); nothing when cancelled.
    virtual std::optional<std::string> InputText(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial, bool masked) = 0;

protected:
    // The dialogs themselves, given the folder to start in.
    virtual std::optional<std::string> ChooseFileToOpen(const TFileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const TFileDialogRequest& request) = 0;

private:
    using TChooser = std::optional<std::string> (TDialogs::*)(const TFileDialogRequest&);
    std::optional<std::string> ChooseInLastFolder(TFileDialogRequest request, TChooser choose);

    std::string lastFolder_;
};

// The installed service. Without one, messages go to the standard error stream
// and questions get their cautious answer (Cancel, Abort, No), so the core runs
// alone in tools and tests.
TDialogs& Dialogs();

// The slot behind Dialogs(); ScopedDialogs installs a service for a scope.
TDialogs*& InstalledDialogs();
using ScopedDialogs = TScopedService<TDialogs, InstalledDialogs>;

// Shorthand for the common message box with one OK button.
void ShowMessage(const std::string& text, TMsgDlgType type = TMsgDlgType::mtInformation);
