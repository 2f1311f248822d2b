// The questions the archiver asks: each fires its published event when a
// handler is assigned. Without one the caller's preset answer stands.

#include <algorithm>

#include "zip/ZipArchiver.h"

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
    }
}

void TZABaseArchiver::DoRequestBlankVolume(int volumeNumber, std::string& volumeFileName,
                                           bool& cancel)
{
    cancel = false;
    if (OnRequestBlankVolume) {
        OnRequestBlankVolume(this, std::max(volumeNumber, 0) + 1, volumeFileName, cancel);
    }
}

void TZABaseArchiver::DoRequestFirstVolume(std::string& volumeFileName, bool& cancel)
{
    if (OnRequestFirstVolume) {
        OnRequestFirstVolume(this, volumeFileName, cancel);
    }
}

void TZABaseArchiver::DoRequestLastVolume(std::string& volumeFileName, bool& cancel)
{
    if (OnRequestLastVolume) {
        OnRequestLastVolume(this, volumeFileName, cancel);
    }
}

void TZABaseArchiver::DoRequestMiddleVolume(int volumeNumber, std::string& volumeFileName,
                                            bool& cancel)
{
    cancel = false;
    if (OnRequestMiddleVolume) {
        OnRequestMiddleVolume(this, volumeNumber + 1, volumeFileName, cancel);
    }
}

void TZABaseArchiver::DoDiskFull(int volumeNumber, const std::string& volumeFileName, bool& cancel)
{
    cancel = false;
    if (OnDiskFull) {
        OnDiskFull(this, volumeNumber + 1, volumeFileName, cancel);
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
