#include "io/temporary_files.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/random_bytes.h"

namespace {

constexpr std::string_view kPrefix = ".wq-save-";
constexpr std::size_t kUniqueLength = 6;
constexpr std::string_view kUniqueCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Fresh names collide only by chance; this many collisions in a row mean
// something else is wrong.
constexpr int kNameAttempts = 100;

bool& NamedFilesOnly()
{
    static bool namedOnly = false;
    return namedOnly;
}

bool IsTemporaryName(std::string_view name)
{
    return name.size() == kPrefix.size() + kUniqueLength && name.starts_with(kPrefix) &&
           name.find_first_not_of(kUniqueCharacters, kPrefix.size()) == std::string_view::npos;
}

std::string FreshName(const std::string& folder)
{
    unsigned char random[kUniqueLength];
    FillRandomBytes(random, sizeof random);
    std::string name = folder;
    if (!name.ends_with('/'))
        name += '/';
    name += kPrefix;
    for (const unsigned char byte : random)
        name += kUniqueCharacters[byte % kUniqueCharacters.size()];
    return name;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The name still leads to the open file.
bool StillNamed(int handle, const std::string& path)
{
    struct stat opened {};
    struct stat named {};
    return fstat(handle, &opened) == 0 && lstat(path.c_str(), &named) == 0 &&
           SameFile(opened, named);
}

int CreateUnnamed(const std::string& folder)
{
    const int handle = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (handle < 0)
        return -1;
    // Without /proc the file could never be given its name.
    if (access(ReopenName(handle).c_str(), F_OK) != 0) {
        close(handle);
        return -1;
    }
    flock(handle, LOCK_EX);
    return handle;
}

// A sweep may find a new file before it is locked and remove it: the file is
// ours only when it still has its name once the lock is held. A file system
// without locks keeps the file unlocked; its sweeps remove nothing either.
int CreateNamed(const std::string& folder, std::string& name)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = FreshName(folder);
        const int handle = open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (handle < 0 && errno != EEXIST)
            return -1;
        if (handle < 0)
            continue;
        flock(handle, LOCK_EX);
        if (StillNamed(handle, candidate)) {
            name = candidate;
            return handle;
        }
        close(handle);
    }
    errno = EEXIST;
    return -1;
}

// Locked by nobody: its save ended without removing it.
void RemoveIfAbandoned(int folder, const char* name)
{
    const int handle = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return;
    struct stat opened {};
    struct stat named {};
    const bool abandoned = fstat(handle, &opened) == 0 && S_ISREG(opened.st_mode) &&
                           opened.st_uid == geteuid() && flock(handle, LOCK_EX | LOCK_NB) == 0 &&
                           fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                           SameFile(opened, named);
    if (abandoned)
        unlinkat(folder, name, 0);
    close(handle);
}

}  // namespace

int CreateTemporaryFile(const std::string& Folder, std::string& Name)
{
    Name.clear();
    if (!NamedFilesOnly()) {
        const int handle = CreateUnnamed(Folder);
        if (handle >= 0)
            return handle;
    }
    // Any failure of an unnamed file, "not supported" in its several forms
    // included, is tried again with a name; a real fault fails that too.
    return CreateNamed(Folder, Name);
}

bool NameTemporaryFile(int Handle, const std::string& Folder, std::string& Name)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = FreshName(Folder);
        if (linkat(AT_FDCWD, ReopenName(Handle).c_str(), AT_FDCWD, candidate.c_str(),
                   AT_SYMLINK_FOLLOW) == 0) {
            Name = candidate;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

std::string ReopenName(int Handle)
{
    return "/proc/self/fd/" + std::to_string(Handle);
}

void RemoveStaleTemporaryFiles(const std::string& Folder)
{
    DIR* folder = opendir(Folder.c_str());
    if (folder == nullptr)
        return;
    while (const dirent* entry = readdir(folder))
        if (IsTemporaryName(entry->d_name))
            RemoveIfAbandoned(dirfd(folder), entry->d_name);
    closedir(folder);
}

TScopedNamedTemporaryFiles::TScopedNamedTemporaryFiles() : previous_(NamedFilesOnly())
{
    NamedFilesOnly() = true;
}

TScopedNamedTemporaryFiles::~TScopedNamedTemporaryFiles()
{
    NamedFilesOnly() = previous_;
}
