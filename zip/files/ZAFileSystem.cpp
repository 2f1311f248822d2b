#include "zip/files/ZAFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "zip/files/ZAPaths.h"
#include "zip/format/ZARecords.h"

struct TZASearchState {
    std::string folder;
    std::vector<std::string> names;
    std::size_t next = 0;
    std::uint32_t excluded = 0;
};

namespace {

constexpr int kNoMoreFiles = 18;

// The entry itself, not what it points to, is a link.
bool IsLink(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::uint32_t AttributesOf(const std::string& path, const struct stat& st)
{
    std::uint32_t attr = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
    if ((st.st_mode & S_IWUSR) == 0)
        attr |= faReadOnly;
    const std::string name = ExtractFileName(ExcludeTrailingDelimiters(path));
    if (name.size() > 1 && name[0] == '.' && name != "..")
        attr |= faHidden;
    return attr;
}

std::int64_t DosTimeOf(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    const TDateTime moment{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                           local.tm_hour,        local.tm_min,     local.tm_sec};
    return DateTimeToDos(moment).Packed();
}

std::vector<std::string> ListFolder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// Entries that are hidden, system or folders are left out unless attr holds that bit.
std::uint32_t ExcludedAttributes(std::uint32_t attr)
{
    return ~attr & (faHidden | faSysFile | faDirectory);
}

// Fills rec with the entry name of the folder when it exists and passes the filter.
bool Examine(const std::string& folder, const std::string& name, std::uint32_t excluded,
             TSearchRec& rec)
{
    struct stat st {};
    if (stat((folder + name).c_str(), &st) != 0)
        return false;
    const std::uint32_t attr = AttributesOf(name, st);
    if ((attr & excluded) != 0)
        return false;
    rec.Name = name;
    rec.Attr = attr;
    rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
    rec.Time = DosTimeOf(st.st_mtime);
    return true;
}

// Fills rec with the next listed name that exists and passes the filter.
int NextMatch(TSearchRec& rec)
{
    TZASearchState& state = *rec.State;
    while (state.next < state.names.size()) {
        if (Examine(state.folder, state.names[state.next++], state.excluded, rec))
            return 0;
    }
    return kNoMoreFiles;
}

}  // namespace

bool DirectoryExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return !S_ISDIR(st.st_mode);
    return lstat(path.c_str(), &st) == 0;
}

bool DeleteFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName)
{
    if (renameat2(AT_FDCWD, oldName.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems without the no-replace flag: check first, then move.
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat st {};
    return lstat(newName.c_str(), &st) != 0 && std::rename(oldName.c_str(), newName.c_str()) == 0;
}

std::int64_t FileGetAttr(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return AttributesOf(path, st);
    return FileExists(path) ? faUnreadable : faInvalid;
}

bool FileSetAttr(const std::string& path, std::uint32_t attr)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    if ((attr & faReadOnly) != 0)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    return chmod(path.c_str(), mode) == 0;
}

std::int64_t FileAge(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return -1;
    return DosTimeOf(st.st_mtime);
}

std::string GetCurrentDir()
{
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return "";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

int FindFirst(const std::string& pathMask, std::uint32_t attr, TSearchRec& rec)
{
    auto state = std::make_shared<TZASearchState>();
    state->folder = ExtractFilePath(pathMask);
    const std::string mask = ExtractFileName(pathMask);
    for (std::string& name : ListFolder(state->folder))
        if (MatchesMask(name, mask, false))
            state->names.push_back(std::move(name));
    state->excluded = ExcludedAttributes(attr);
    rec.State = std::move(state);
    return NextMatch(rec);
}

bool FindFile(const std::string& path, std::uint32_t attr, TSearchRec& rec)
{
    rec.State.reset();
    const std::string name = ExtractFileName(path);
    return !name.empty() && Examine(ExtractFilePath(path), name, ExcludedAttributes(attr), rec);
}

int FindNext(TSearchRec& rec)
{
    return rec.State ? NextMatch(rec) : kNoMoreFiles;
}

void FindClose(TSearchRec& rec)
{
    rec.State.reset();
}

bool ExceedsPathLimits(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return true;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end - start > NAME_MAX)
            return true;
        start = end + 1;
    }
    return false;
}

bool RemoveFolderTree(const std::string& folder)
{
    // A link to a folder goes as the link: the folder it points to, which
    // may lie outside the tree, is never entered.
    const std::string entry = ExcludeTrailingDelimiters(folder);
    if (IsLink(entry))
        return unlink(entry.c_str()) == 0;
    TSearchRec rec;
    for (int found = FindFirst(folder + "*", 503, rec); found == 0; found = FindNext(rec)) {
        if (rec.Name == "." || rec.Name == ".." || (rec.Attr & faDirectory) == 0)
            continue;
        if (!RemoveFolderTree(folder + rec.Name + "/")) {
            FindClose(rec);
            return false;
        }
    }
    FindClose(rec);
    if (rmdir(folder.c_str()) == 0)
        return true;
    return !DirectoryExists(folder);
}
