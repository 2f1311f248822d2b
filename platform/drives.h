#pragma once

// What the archiver needs to know of the drive a volume is written to: its
// kind, its free space and its label. The system answers by default; tests
// install a layer of their own to play removable disks and full disks.

#include <cstdint>
#include <string>

#include "platform/scoped_service.h"

// The platform's drive kinds, with its numbers.
enum class TDriveType : int {
    dtUnknown = 0,
    dtNoRootDir = 1,
    dtRemovable = 2,
    dtFixed = 3,
    dtRemote = 4,
    dtCDRom = 5,
    dtRamDisk = 6,
};

class TDriveLayer {
public:
    virtual ~TDriveLayer() = default;
    virtual TDriveType DriveType(const std::string& path) = 0;
    // Bytes available to the caller on the drive that holds path; -1 when unknown.
    virtual std::int64_t FreeSpace(const std::string& path) = 0;
    // False when the drive takes no label.
    virtual bool SetVolumeLabel(const std::string& path, const std::string& label) = 0;
};

// The installed layer. By default every drive is fixed, the free space comes
// from the file system and labels are not supported.
TDriveLayer& Drives();

// The slot behind Drives(); ScopedDriveLayer installs a layer for a scope.
TDriveLayer*& InstalledDrives();
using ScopedDriveLayer = TScopedService<TDriveLayer, InstalledDrives>;
