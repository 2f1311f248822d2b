#include "platform/drives.h"

#include <filesystem>
#include <sys/statvfs.h>

namespace {

// statvfs needs an existing path; a volume about to be created is not there yet.
std::string ExistingAncestor(const std::string& path)
{
    std::filesystem::path candidate = path.empty() ? "." : path;
    std::error_code error;
    while (!std::filesystem::exists(candidate, error) && candidate.has_parent_path() &&
           candidate.parent_path() != candidate)
        candidate = candidate.parent_path();
    return candidate.string();
}

class SystemDrives final : public TDriveLayer {
public:
    TDriveType DriveType(const std::string&) override { return TDriveType::dtFixed; }

    std::int64_t FreeSpace(const std::string& path) override
    {
        struct statvfs info {};
        if (statvfs(ExistingAncestor(path).c_str(), &info) != 0)
            return -1;
        return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
    }

    bool SetVolumeLabel(const std::string&, const std::string&) override { return false; }
};

}  // namespace

TDriveLayer*& InstalledDrives()
{
    static SystemDrives system;
    static TDriveLayer* installed = &system;
    return installed;
}

TDriveLayer& Drives()
{
    return *InstalledDrives();
}
