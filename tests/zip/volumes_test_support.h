#pragma once

// What the volume, prompt and event tests share: an archiver whose protected
// operations the tests may call, and a drive layer that plays removable disks
// of a fixed capacity, one folder per disk.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "platform/drives.h"
#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAPaths.h"

namespace zatest {

class TestArchiver : public TZipArchiver {
public:
    using TZABaseArchiver::DoConfirmOverwrite;
    using TZABaseArchiver::DoDiskFull;
    using TZABaseArchiver::DoExtractFile;
    using TZABaseArchiver::DoFileProgress;
    using TZABaseArchiver::DoPassword;
    using TZABaseArchiver::DoProcessFileFailure;
    using TZABaseArchiver::DoRequestBlankVolume;
    using TZABaseArchiver::DoRequestFirstVolume;
    using TZABaseArchiver::DoRequestLastVolume;
    using TZABaseArchiver::DoRequestMiddleVolume;
    using TZABaseArchiver::DoStoreFile;
    using TZABaseArchiver::SetItemMemoryLimit;
};

// Every folder is a disk of Capacity bytes, less what its files hold; the
// labels set are recorded by folder.
class DiskDrives final : public TDriveLayer {
public:
    bool Removable = true;
    std::int64_t Capacity = 1 << 20;
    std::map<std::string, std::string> Labels;

    TDriveType DriveType(const std::string&) override
    {
        return Removable ? TDriveType::dtRemovable : TDriveType::dtFixed;
    }

    std::int64_t FreeSpace(const std::string& path) override
    {
        std::int64_t used = 0;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(ExtractFilePath(path), error)) {
            used += static_cast<std::int64_t>(entry.file_size(error));
        }
        return Capacity - used;
    }

    bool SetVolumeLabel(const std::string& path, const std::string& label) override
    {
        Labels[path] = label;
        return true;
    }
};

}  // namespace zatest
