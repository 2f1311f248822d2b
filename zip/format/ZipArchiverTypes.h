#pragma once

// The enumerations and event signatures of the archiver component, apart from
// its class so that the directory and the option units can use them.

#include <cstdint>
#include <functional>
#include <string>

class TObject;

enum TZASpanningMode { smNone, smSpanning, smSplitting };
enum TZip64Mode { zmDisabled, zmAuto, zmAlways };
enum TZACryptoAlgorithm { caPkzipClassic, caAES_128, caAES_192, caAES_256 };

enum TZAProcessOperation : std::uint8_t {
    poAdd,
    poMove,
    poDelete,
    poUpdate,
    poExtract,
    poTest,
    poRename,
    poChangeAttr,
    poChangeComment,
    poMakeSFX,
};
enum TZAProgressPhase { ppStart, ppProcess, ppEnd };
enum TZAAction { fxaRetry, fxaIgnore, fxaAbort };

// Handlers of the published events; an empty function is an unassigned event.
using TNotifyEvent = std::function<void(TObject* sender)>;
using TZAFileProgressEvent =
    std::function<void(TObject* sender, const std::string& fileName, double progress,
                       TZAProcessOperation operation, TZAProgressPhase phase, bool& cancel)>;
using TZAProgressEvent =
    std::function<void(TObject* sender, double progress, TZAProcessOperation operation,
                       TZAProgressPhase phase, bool& cancel)>;
using TZACopyTempFileProgressEvent =
    std::function<void(TObject* sender, double progress, TZAProgressPhase phase, bool& cancel)>;
using TZAConfirmOverwriteEvent = std::function<void(
    TObject* sender, const std::string& sourceFileName, std::string& destFileName, bool& confirm)>;
using TZAConfirmProcessFileEvent = std::function<void(
    TObject* sender, const std::string& fileName, TZAProcessOperation operation, bool& confirm)>;
using TZAOnPasswordEvent = std::function<void(TObject* sender, const std::string& fileName,
                                              std::string& newPassword, bool& skipFile)>;
using TZAProcessFileFailureEvent = std::function<void(
    TObject* sender, const std::string& fileName, TZAProcessOperation operation, int nativeError,
    int errorCode, const std::string& errorMessage, TZAAction& action)>;
using TZAOnRequestBlankVolumeEvent = std::function<void(TObject* sender, int volumeNumber,
                                                        std::string& volumeFileName, bool& cancel)>;
using TZAOnRequestFirstVolumeEvent =
    std::function<void(TObject* sender, std::string& volumeFileName, bool& cancel)>;
using TZAOnRequestLastVolumeEvent = TZAOnRequestFirstVolumeEvent;
using TZAOnRequestMiddleVolumeEvent = TZAOnRequestBlankVolumeEvent;
using TZAOnDiskFullEvent = std::function<void(TObject* sender, int volumeNumber,
                                              const std::string& volumeFileName, bool& cancel)>;
using TZAExtraEvent = std::function<void(TObject* sender, std::uint8_t kind, std::uint32_t a,
                                         std::uint32_t b, std::uint32_t c)>;
using TZAOnStoreFileEvent =
    std::function<void(TObject* sender, std::string& fileName, std::uint32_t& fileAttr,
                       std::string& comment, const std::string& originalFileName)>;
using TZAOnExtractFileEvent = std::function<void(
    TObject* sender, std::string& fileName, std::uint32_t& fileAttr, const std::string& comment)>;
