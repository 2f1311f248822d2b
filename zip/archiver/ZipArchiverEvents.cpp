// The questions the archiver asks: each fires its published event when a
// handler is assigned; without one it answers with its default, which asks
// the user where a question needs a person (ZipArchiverPrompts.cpp).

#include <algorithm>

#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAFileSystem.h"

namespace {

void ReplaceAll(std::string& text, char from, char to)
{
    std::replace(text.begin(), text.end(), from, to);
}

}  // namespace

void TZABaseArchiver::DoOverallProgress(TZAProcessOperation operation, TZAProgressPhase phase,
                                        bool& cancel, double progress)
{
    cancel = false;
    if (OnOverallProgress) {
        OnOverallProgress(this, progress, operation, phase, cancel);
    }
}

void TZABaseArchiver::DoFileProgress(const std::string& fileName, double progress,
                                     TZAProcessOperation operation, TZAProgressPhase phase,
                                     bool& cancel)
{
    cancel = false;
    if (OnFileProgress) {
        std::string shown = fileName;
        ReplaceAll(shown, '/', '\\');
        OnFileProgress(this, shown, progress, operation, phase, cancel);
    }
}

void TZABaseArchiver::DoCopyTempFileProgress(double progress, TZAProgressPhase phase, bool& cancel)
{
    cancel = false;
    if (OnCopyTempFileProgress) {
        OnCopyTempFileProgress(this, progress, phase, cancel);
    }
}

void TZABaseArchiver::DoConfirmOverwrite(const std::string& sourceFileName,
                                         std::string& destFileName, bool& confirm)
{
    if (OnConfirmOverwrite) {
        OnConfirmOverwrite(this, sourceFileName, destFileName, confirm);
    } else {
        PromptOverwrite(sourceFileName, destFileName, confirm);
    }
}

void TZABaseArchiver::DoConfirmProcessFile(const std::string& fileName,
                                           TZAProcessOperation operation, bool& confirm)
{
    confirm = true;
    if (OnConfirmProcessFile) {
        OnConfirmProcessFile(this, fileName, operation, confirm);
    }
}

void TZABaseArchiver::DoPassword(const std::string& fileName, std::string& newPassword,
                                 bool& skipFile)
{
    if (OnPassword) {
        OnPassword(this, fileName, newPassword, skipFile);
    } else {
        PromptPassword(fileName, newPassword, skipFile);
    }
}

void TZABaseArchiver::DoProcessFileFailure(const std::string& fileName,
                                           TZAProcessOperation operation, int nativeError,
                                           int errorCode, const std::string& errorMessage,
                                           TZAAction& action)
{
    action = fxaIgnore;
    if (OnProcessFileFailure) {
        OnProcessFileFailure(this, fileName, operation, nativeError, errorCode, errorMessage,
                             action);
    } else {
        action = PromptProcessFileFailure(nativeError, errorMessage);
    }
}

void TZABaseArchiver::DoRequestBlankVolume(int volumeNumber, std::string& volumeFileName,
                                           bool& cancel)
{
    volumeNumber = std::max(volumeNumber, 0);
    volumeFileName = VolumeName(volumeFileName, static_cast<std::uint32_t>(volumeNumber), false);
    cancel = false;
    if (OnRequestBlankVolume) {
        OnRequestBlankVolume(this, volumeNumber + 1, volumeFileName, cancel);
    } else if (spanningMode_ == smSpanning) {
        cancel = !AskForDisk(ZAFormat(SZARequestBlankDisk, {std::int64_t{volumeNumber} + 1}));
    }
}

void TZABaseArchiver::DoRequestFirstVolume(std::string& volumeFileName, bool& cancel)
{
    const std::string name = volumeFileName;
    volumeFileName = VolumeName(name, 0, !OnRequestFirstVolume);
    if (OnRequestFirstVolume) {
        OnRequestFirstVolume(this, volumeFileName, cancel);
    } else if (spanningMode_ == smSpanning) {
        cancel = !AskForDisk(std::string(SZARequestFirstDisk));
        volumeFileName = VolumeName(name, 0, true);
    } else {
        cancel = !FileExists(volumeFileName) && openMode_ < ZAModeCreate;
    }
}

void TZABaseArchiver::DoRequestLastVolume(std::string& volumeFileName, bool& cancel)
{
    volumeFileName = VolumeName(volumeFileName, ZALastVolume, !OnRequestLastVolume);
    if (OnRequestLastVolume) {
        OnRequestLastVolume(this, volumeFileName, cancel);
    } else if (spanningMode_ == smSpanning) {
        cancel = !AskForLastDisk(volumeFileName);
    } else {
        cancel = !FileExists(volumeFileName);
    }
}

void TZABaseArchiver::DoRequestMiddleVolume(int volumeNumber, std::string& volumeFileName,
                                            bool& cancel)
{
    const std::string name = volumeFileName;
    const auto number = static_cast<std::uint32_t>(volumeNumber);
    volumeFileName = VolumeName(name, number, !OnRequestMiddleVolume);
    cancel = false;
    if (OnRequestMiddleVolume) {
        OnRequestMiddleVolume(this, volumeNumber + 1, volumeFileName, cancel);
        return;
    }
    if (spanningMode_ == smSpanning) {
        cancel = !AskForDisk(ZAFormat(SZARequestMiddleDisk, {std::int64_t{volumeNumber} + 1}));
    } else {
        cancel = !FileExists(volumeFileName);
    }
    volumeFileName = VolumeName(name, number, true);
}

void TZABaseArchiver::DoDiskFull(int volumeNumber, const std::string& volumeFileName, bool& cancel)
{
    cancel = false;
    if (OnDiskFull) {
        OnDiskFull(this, volumeNumber + 1, volumeFileName, cancel);
    } else if (spanningMode_ == smSpanning) {
        cancel = !PromptDiskFull(volumeNumber, volumeFileName);
    } else if (spanningMode_ == smNone && archiveStream_ != nullptr) {
        // A single archive has no other disk to go on with: the write fails,
        // and the caller learns why from the system's reason.
        throw EStreamError(
            WriteFailureText("Cannot write file \"" + volumeFileName + "\"", *archiveStream_));
    } else {
        cancel = true;
    }
}

void TZABaseArchiver::DoExtraEvent(std::uint8_t kind, std::uint32_t a, std::uint32_t b,
                                   std::uint32_t c)
{
    if (extraEvent_) {
        extraEvent_(this, kind, a, b, c);
    }
}

void TZABaseArchiver::DoStoreFile(std::string& fileName, std::uint32_t& fileAttr,
                                  std::string& comment, const std::string& originalFileName)
{
    if (OnStoreFile) {
        ReplaceAll(fileName, '/', '\\');
        OnStoreFile(this, fileName, fileAttr, comment, originalFileName);
        ReplaceAll(fileName, '\\', '/');
    }
}

void TZABaseArchiver::DoExtractFile(std::string& fileName, std::uint32_t& fileAttr,
                                    const std::string& comment)
{
    ReplaceAll(fileName, '/', '\\');
    if (OnExtractFile) {
        OnExtractFile(this, fileName, fileAttr, comment);
    }
}
