#pragma once

// The file-system calls of the archiver over POSIX. Attributes are reported in
// the bits the archive records carry: a folder 0x10, a file 0x20, read-only
// 0x01 when the owner may not write, hidden 0x02 for a name that starts with
// ".".

#include <cstdint>
#include <memory>
#include <string>

inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faHidden = 0x02;
inline constexpr std::uint32_t faSysFile = 0x04;
inline constexpr std::uint32_t faVolumeID = 0x08;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;
// What FileGetAttr reports for an entry that exists but cannot be examined.
inline constexpr std::uint32_t faUnreadable = faSysFile;
inline constexpr std::int64_t faInvalid = -1;

bool DirectoryExists(const std::string& path);
// True for anything but a folder whose name is present, a dangling link too.
bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);
// Fails when newName exists already, as the platform's move does.
bool RenameFile(const std::string& oldName, const std::string& newName);
// The attributes of a file or folder; faInvalid when the name is missing.
std::int64_t FileGetAttr(const std::string& path);
// Only the read-only bit maps to a permission: set, nobody may write; clear,
// the owner may.
bool FileSetAttr(const std::string& path, std::uint32_t attr);
// Last write time of a file as a packed MS-DOS date and time in local time;
// -1 for a folder or a missing file.
std::int64_t FileAge(const std::string& path);
// The current folder, without a trailing separator.
std::string GetCurrentDir();

struct TZASearchState;

// One entry found by FindFirst/FindNext.
struct TSearchRec {
    std::string Name;
    std::uint32_t Attr = 0;
    std::int64_t Size = 0;
    std::int64_t Time = -1;  // packed MS-DOS date and time
    std::shared_ptr<TZASearchState> State;
};

// Lists the folder of pathMask for names that match its name part (the
// archiver's wildcard match, case-sensitive), in name order, "." and ".."
// included. Entries that are hidden, system or folders are left out unless attr
// holds that bit. Returns 0 when an entry was found.
int FindFirst(const std::string& pathMask, std::uint32_t attr, TSearchRec& rec);
// The one file or folder of exactly that name, "*" and "?" included, when it
// passes the filter of FindFirst.
bool FindFile(const std::string& path, std::uint32_t attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// Beyond what the file system takes: a path of 4,096 bytes or more (its
// closing zero counted), or a name in it longer than 255 bytes.
bool ExceedsPathLimits(const std::string& path);

// Removes an empty folder tree; files inside are not deleted, so a tree that
// still holds one gives False. Folder ends with a separator.
bool RemoveFolderTree(const std::string& folder);
