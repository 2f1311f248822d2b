// The answers the archiver gives itself when no event handler is assigned:
// confirmation boxes and the password box of the dialog service.

#include "platform/codepages.h"
#include "platform/dialogs.h"
#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/format/ZAConst.h"

namespace {

// The password box takes no more characters than this.
constexpr std::size_t kMaxPasswordLength = 255;

TModalResult Confirm(const std::string& text, TMsgDlgButtons buttons)
{
    return Dialogs().MessageDlg(text, TMsgDlgType::mtConfirmation, buttons);
}

}  // namespace

void TZABaseArchiver::PromptOverwrite(const std::string& sourceFileName,
                                      const std::string& destFileName, bool& confirm)
{
    const TModalResult answer =
        Confirm(ZAFormat(SZAConfirmOverwrite, {destFileName, sourceFileName}), mbYesNoAll);
    confirm = answer == mrYes || answer == mrYesToAll;
    if (answer == mrNoToAll) {
        options_.OverwriteMode = omNever;
    } else if (answer == mrYesToAll) {
        options_.OverwriteMode = omAlways;
    }
}

void TZABaseArchiver::PromptPassword(const std::string& fileName, std::string& newPassword,
                                     bool& skipFile)
{
    const auto text = Dialogs().InputText(ZAFormat(SZAPasswordCaption, {fileName}),
                                          std::string(SZAPasswordPrompt), "", true);
    skipFile = !text.has_value();
    if (text) {
        newPassword = Utf8ToAnsi(*text).substr(0, kMaxPasswordLength);
    }
}

TZAAction TZABaseArchiver::PromptProcessFileFailure(int nativeError,
                                                    const std::string& errorMessage)
{
    // A cancelled volume request has already had its answer from the user.
    if (nativeError == 45) {
        return fxaAbort;
    }
    const TModalResult answer =
        nativeError == 61
            ? Confirm(errorMessage, mbAbortIgnore)
            : Confirm(ZAFormat(SZAProcessFileFailure, {errorMessage}), mbAbortRetryIgnore);
    switch (answer) {
        case mrRetry: return fxaRetry;
        case mrIgnore: return fxaIgnore;
        default: return fxaAbort;
    }
}

bool TZABaseArchiver::AskForDisk(const std::string& text)
{
    return Confirm(text, mbOKCancel) == mrOk;
}

bool TZABaseArchiver::AskForLastDisk(const std::string& volumeFileName)
{
    bool confirmed = AskForDisk(std::string(SZARequestLastDisk));
    while (confirmed && !FileExists(volumeFileName)) {
        confirmed = AskForDisk(ZAFormat(SZALastDiskFileMissing, {volumeFileName}));
    }
    return confirmed;
}

bool TZABaseArchiver::PromptDiskFull(int volumeNumber, const std::string& volumeFileName)
{
    TZAVolumeNumberInfo volume;
    volume.SetNumber(volumeNumber);
    const std::int64_t required = spanningOptions_.VolumeSizeFor(volume);
    const std::int64_t available = DiskFreeSpace(volumeFileName);
    return AskForDisk(ZAFormat(SZADiskFull, {required, available}));
}
