// Adding files: the search for files and folders that match a mask, and the
// entry of each one found into the in-memory directory of the transaction.

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>

#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAPaths.h"

namespace {

// One lock for the whole process around every search: the search works with
// the component's base folder and the process's current folder. Recursive, so
// that a handler called during a search may search with another component.
std::recursive_mutex& SearchLock()
{
    static std::recursive_mutex lock;
    return lock;
}

constexpr std::int32_t kFolderSearchAttr = faDirectory | faHidden | faSysFile;
constexpr std::uint32_t kAllFileBits = faArchive | faReadOnly | faHidden | faSysFile;
constexpr std::int64_t kNoFileTime = -1;

bool HoldsSeparator(std::string_view text)
{
    return text.find_first_of(PathDelimiters(text)) != std::string_view::npos;
}

bool HoldsWildcard(std::string_view text)
{
    return text.find_first_of("*?") != std::string_view::npos;
}

bool IsDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

// Files whose attributes share a bit with the filter are taken, and files
// without attributes when the filter takes every kind of file.
bool PassesFilter(std::uint32_t attr, std::uint32_t filter)
{
    return (attr & filter) != 0 || (attr == 0 && (filter & kAllFileBits) == kAllFileBits);
}

// The archive under another spelling of its path (a link, a linked folder);
// only a file of the archive's own name is worth asking the file system about.
bool IsSameFile(const std::string& path, const std::string& archive)
{
    std::error_code ignored;
    return !archive.empty() && ExtractFileName(path) == ExtractFileName(archive) &&
           std::filesystem::equivalent(path, archive, ignored);
}

// The folder's own name: the part before its trailing separator.
std::string NamePartOf(const std::string& path)
{
    return ExtractFileName(ExcludeTrailingDelimiters(path));
}

// A folder's identity on the file system: a link back to a folder being
// searched shares it with that folder.
struct FolderId {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FolderId&, const FolderId&) = default;
};

// Folders carry the moment they are entered, as do files whose time cannot
// be read.
TZADosDateTime EntryTime(const TSearchRec& found)
{
    if ((found.Attr & faDirectory) != 0 || found.Time == kNoFileTime) {
        return DosDateTimeNow();
    }
    return {static_cast<std::uint16_t>(found.Time & 0xFFFF),
            static_cast<std::uint16_t>(found.Time >> 16)};
}

FolderId FolderIdOf(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {info.st_dev, info.st_ino};
}

}  // namespace

struct TZABaseArchiver::SearchRequest {
    std::vector<std::string> masks;
    std::vector<std::string> exclusions;
    std::int32_t attr = 0;
    // The folders being listed, from the first down to the current one.
    std::vector<FolderId> descent;
    // The masks are names of files, "*" and "?" included, not patterns.
    bool exactNames = false;

    // A folder linked back to one being listed would be searched for ever.
    bool LeadsBack(const std::string& folder) const
    {
        return std::find(descent.begin(), descent.end(), FolderIdOf(folder)) != descent.end();
    }
};

void TZABaseArchiver::AddFiles(const std::string& fileMask, std::int32_t searchAttr,
                               const std::string& exclusionMask)
{
    AddInTransaction(fileMask, searchAttr, exclusionMask, false);
}

void TZABaseArchiver::AddFile(const std::string& fileName, std::int32_t searchAttr)
{
    AddInTransaction(fileName, searchAttr, "", true);
}

void TZABaseArchiver::AddInTransaction(const std::string& fileMask, std::int32_t searchAttr,
                                       const std::string& exclusionMask, bool exactName)
{
    CheckActive();
    CheckModifiable();
    SearchRequest request;
    request.masks.push_back(fileMask);
    request.attr = searchAttr;
    request.exactNames = exactName;
    if (!exclusionMask.empty()) {
        request.exclusions.push_back(exclusionMask);
    }
    request.exclusions.push_back(ResolvePath(searchBaseDir_, fileName_, ""));
    if (!volumeFileName_.empty() && volumeFileName_ != fileName_) {
        request.exclusions.push_back(ResolvePath(searchBaseDir_, volumeFileName_, ""));
    }
    BeginUpdate();
    try {
        SearchFiles(request);
        EndUpdate();
    } catch (...) {
        ResetUpdateCount();
        throw;
    }
}

void TZABaseArchiver::SearchFiles(SearchRequest& request)
{
    const std::lock_guard<std::recursive_mutex> guard(SearchLock());
    const std::string previousBase = searchBaseDir_;
    try {
        searchBaseDir_ = IncludeTrailingDelimiter(ResolvePath(previousBase, baseDir_, ""));
        for (const std::string& mask : request.masks) {
            if (request.exactNames) {
                AddNamedEntry(request, ResolvePath(searchBaseDir_, mask, searchBaseDir_));
            } else {
                SearchMask(request, searchBaseDir_, mask, options_.Recurse);
            }
        }
    } catch (...) {
        searchBaseDir_ = previousBase;
        throw;
    }
    searchBaseDir_ = previousBase;
}

// The mask as a path: relative masks are taken from the base folder. On this
// platform a mask that starts with "/" is already an absolute path, as one
// with a drive is on the desktop platform the rules come from; "\" keeps its
// meaning of the base folder's top.
std::string TZABaseArchiver::ExpandMask(const std::string& base, const std::string& mask) const
{
    // The base folder stands in for the current folder, which is then not asked for.
    const std::string folder =
        IncludeTrailingDelimiter(ResolvePath(searchBaseDir_, base, searchBaseDir_));
    const auto delimiterAt = [&mask](std::size_t i) {
        return i < mask.size() && IsPathDelimiter(mask, mask[i]);
    };
    if (mask.size() >= 2 && mask[0] == '.' && delimiterAt(1)) {
        return folder + mask.substr(2);
    }
    if (!delimiterAt(0)) {
        const bool climbs = !ExtractFileDrive(mask).empty() ||
                            mask.find("../") != std::string::npos ||
                            (IsPathDelimiter(mask, '\\') && mask.find("..\\") != std::string::npos);
        return climbs ? mask : folder + mask;
    }
    if (mask.size() == 1) {
        return folder;
    }
    if (delimiterAt(1) || mask[0] == '/') {
        return mask;
    }
    return folder + mask.substr(1);
}

void TZABaseArchiver::SearchMask(SearchRequest& request, const std::string& base,
                                 const std::string& mask, bool recurse)
{
    const std::string asGiven = ExpandMask(base, mask);
    // One spelling for every path found, so that the exclusions compare alike.
    const std::string expanded =
        IncludeTrailingDelimiter(ExpandFileName(ExtractFilePath(asGiven))) +
        ExtractFileName(asGiven);
    if (asGiven == mask && !HoldsWildcard(mask)) {
        AddNamedEntry(request, expanded);
        return;
    }
    TSearchRec found;
    const std::string folder = ExtractFilePath(expanded);
    const auto filter = static_cast<std::uint32_t>(request.attr) & ~faDirectory;
    for (int result = FindFirst(expanded, filter, found); result == 0; result = FindNext(found)) {
        if (PassesFilter(found.Attr, filter)) {
            AddFoundEntry(request, folder + found.Name, found);
        }
    }
    FindClose(found);
    if ((request.attr & faDirectory) != 0 || recurse) {
        SearchFolders(request, mask, expanded, recurse);
    }
}

void TZABaseArchiver::SearchFolders(SearchRequest& request, const std::string& mask,
                                    const std::string& expanded, bool recurse)
{
    const std::string folder = ExtractFilePath(expanded);
    const std::string namePart = ExtractFileName(expanded);
    request.descent.push_back(FolderIdOf(folder));
    TSearchRec found;
    for (int result = FindFirst(folder + "*", kFolderSearchAttr, found); result == 0;
         result = FindNext(found)) {
        if ((found.Attr & faDirectory) == 0 || IsDotEntry(found.Name)) {
            continue;
        }
        const std::string path = folder + found.Name;
        if (MatchesAnyMask(path + "/", request.exclusions)) {
            continue;
        }
        const bool wanted =
            (request.attr & faDirectory) != 0 &&
            (MatchesMask(path, expanded, false) || MatchesMask(path + ".", expanded, false));
        const bool added = wanted && AddFoundEntry(request, path + "/", found);
        // A matching folder that was not added is not entered.
        const bool enter = added || (!wanted && recurse);
        if (!enter || request.LeadsBack(path)) {
            continue;
        }
        if (added) {
            SearchMask(request, path, namePart, true);
        } else if (!HoldsSeparator(mask)) {
            SearchMask(request, path, mask, recurse);
        } else if (HoldsWildcard(mask)) {
            SearchMask(request, path, namePart, recurse);
        }
    }
    FindClose(found);
    request.descent.pop_back();
}

// A folder of that name is added as itself, without what it holds.
void TZABaseArchiver::AddNamedEntry(const SearchRequest& request, const std::string& path)
{
    TSearchRec found;
    if (FindFile(path, static_cast<std::uint32_t>(request.attr), found)) {
        const bool folder = (found.Attr & faDirectory) != 0;
        AddFoundEntry(request, folder ? IncludeTrailingDelimiter(path) : path, found);
    }
}

bool TZABaseArchiver::MatchesPathMask(const std::string& path, const std::string& mask) const
{
    if (mask == "*.*") {
        return true;
    }
    if (!HoldsSeparator(mask)) {
        return MatchesMask(NamePartOf(path), mask, false);
    }
    const std::string expanded = ExpandMask(searchBaseDir_, mask);
    return MatchesMask(ExcludeTrailingDelimiters(path), expanded, false);
}

bool TZABaseArchiver::MatchesAnyMask(const std::string& path,
                                     const std::vector<std::string>& masks) const
{
    for (const std::string& mask : masks) {
        if (MatchesPathMask(path, mask)) {
            return true;
        }
    }
    return false;
}

// A found file or folder (a folder's path ends with "/"); True when it went
// into the directory.
bool TZABaseArchiver::AddFoundEntry(const SearchRequest& request, const std::string& path,
                                    const TSearchRec& found)
{
    if (MatchesAnyMask(path, request.exclusions) || IsSameFile(path, volumeFileName_)) {
        return false;
    }
    bool confirm = true;
    DoConfirmProcessFile(path, poAdd, confirm);
    if (!confirm) {
        return false;
    }
    const int index = EnterItem(path, found);
    if (index < 0) {
        return false;
    }
    TDirItem& item = dirManager_->Items().ItemPtr(index);
    if (!item.IsDirectory() && MatchesAnyMask(path, noCompressionMasks_)) {
        item.CompressionMode = 0;
        const std::uint16_t method =
            compressionMethod_ == ZAMethodStored || compressionMethod_ == ZAMethodDeflate ? 0 : 255;
        item.Method = method;
        item.Header.Method = method;
        item.RequestedMethod = method;
    }
    const auto size = static_cast<std::uint64_t>(found.Size);
    if (size < ZAZip64Marker && zip64Mode_ != zmAlways) {
        item.Header.UncompressedSize = static_cast<std::uint32_t>(size);
    } else {
        item.Zip64 = true;
        item.Header.UncompressedSize = ZAZip64Marker;
        item.Zip64Values.UncompressedSize = size;
    }
    return true;
}

// Puts the entry into the directory and fills its record; the index, or -1
// when an item of that name stays as it was.
int TZABaseArchiver::EnterItem(const std::string& path, const TSearchRec& found)
{
    const bool folder = (found.Attr & faDirectory) != 0;
    std::string storedName = StoredName(path, searchBaseDir_, options_.StorePath, searchBaseDir_);
    if (folder) {
        storedName = IncludeTrailingDelimiter(storedName);
    }
    // The search has just read the attributes.
    std::uint32_t attributes = found.Attr;
    std::string comment;
    DoStoreFile(storedName, attributes, comment, path);

    const TZADosDateTime when = EntryTime(found);
    TZADirArray& items = dirManager_->Items();
    int index = -1;
    TZAProcessOperation operation = poAdd;
    if (items.FindName(storedName, index)) {
        if (KeepsExistingItem(index, path, storedName, when)) {
            return -1;
        }
        const TDirItem& existing = items.ItemPtr(index);
        // An item entered earlier in this transaction has no old data to
        // fall back on: it stays an addition.
        operation = existing.Pending && existing.Operation == poAdd ? poAdd : poUpdate;
    } else {
        index = items.Count();
        items.SetCount(index + 1);
    }
    TDirItem item;
    item.SetFileName(storedName);
    item.Header.FileNameLength = static_cast<std::uint16_t>(std::min<std::size_t>(
        StoredNameForm(storedName, options_.OEMFileNames).Bytes.size(), ZAZip64Marker16));
    item.Pending = true;
    item.Operation = operation;
    TDirItemSource& source = item.EditSource();
    source.Password = Password();
    source.SourceFileName = path;
    if (!folder) {
        item.CompressionMode = compressionMode_;
    }
    item.Method = compressionMethod_;
    item.RequestedMethod = compressionMethod_;
    item.Header.Method = compressionMethod_;
    const std::uint16_t version = VersionValue(false, options_.OEMFileNames, !zipFormat_);
    item.Header.VersionMadeBy = version;
    item.Header.VersionNeeded = version;
    item.Header.Flags = Password().empty() ? 0 : ZAFlagEncrypted;
    item.Header.LastModTime = when.Time;
    item.Header.LastModDate = when.Date;
    item.Header.Crc32 = ZAZip64Marker;
    item.Header.ExternalAttributes = attributes;
    if (folder) {
        item.Method = ZAMethodStored;
        item.Header.Method = ZAMethodStored;
        item.Header.Crc32 = 0;
        item.Header.Flags = ZAFlagsOfDirectory;
    }
    item.SetComment(comment);
    item.Header.FileCommentLength =
        static_cast<std::uint16_t>(std::min<std::size_t>(comment.size(), ZAZip64Marker16));
    items.SetItem(index, item);
    return index;
}

bool TZABaseArchiver::KeepsExistingItem(int index, const std::string& path,
                                        const std::string& storedName, TZADosDateTime entryTime)
{
    const TDirItem& existing = dirManager_->Items().ItemPtr(index);
    const std::uint32_t itemTime =
        TZADosDateTime{existing.Header.LastModTime, existing.Header.LastModDate}.Packed();
    const std::uint32_t fileTime = entryTime.Packed();
    bool confirm = true;
    switch (options_.OverwriteMode) {
        case omPrompt: {
            // The answer decides; a name the handler changes is not taken over.
            std::string shownName = storedName;
            DoConfirmOverwrite(path, shownName, confirm);
            return !confirm;
        }
        case omAlways: return false;
        case omNever: return true;
        case omIfNewer: return !(fileTime > itemTime);
        case omIfOlder: return !(fileTime < itemTime);
    }
    return true;
}
