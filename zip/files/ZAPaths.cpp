#include "zip/files/ZAPaths.h"

#include <vector>

#include "platform/drives.h"
#include "platform/sysutils.h"
#include "zip/files/ZAFileSystem.h"

namespace {

constexpr std::string_view kDesktopDelimiters = "\\/";
constexpr std::string_view kPlatformDelimiters = "/";

bool IsEitherDelimiter(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetterPath(std::string_view path)
{
    const char c = path.size() >= 2 ? path[0] : '\0';
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

bool StartsWithTwoDelimiters(std::string_view path)
{
    return path.size() >= 2 && IsEitherDelimiter(path[0]) && IsEitherDelimiter(path[1]);
}

bool IsDesktopForm(std::string_view path)
{
    return IsDriveLetterPath(path) || (!path.empty() && path[0] == '\\') ||
           StartsWithTwoDelimiters(path);
}

// A drive ends at a ":" in the desktop form only.
bool HoldsDrive(std::string_view path)
{
    return IsDesktopForm(path) && path.find(':') != std::string_view::npos;
}

// Where the name part of a path begins: after its last separator, or after
// the ":" of a drive.
std::string_view NameBoundaries(std::string_view path)
{
    return IsDesktopForm(path) ? "\\/:" : "/";
}

// The segments between separators, empty ones left out.
std::vector<std::string_view> SplitSegments(std::string_view path, std::string_view delimiters)
{
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || delimiters.find(path[i]) != std::string_view::npos) {
            if (i > start)
                segments.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return segments;
}

// The root that ".." never climbs above, the separator the path is written
// with, the separators of its form and the rest after the root.
struct PathRoot {
    std::string root;
    char delimiter = '/';
    std::string_view delimiters;
    std::string_view rest;
};

PathRoot SplitRoot(std::string_view name)
{
    if (IsDriveLetterPath(name)) {
        const std::size_t skip = name.size() > 2 && IsEitherDelimiter(name[2]) ? 3 : 2;
        return {std::string(name.substr(0, 2)) + "\\", '\\', kDesktopDelimiters, name.substr(skip)};
    }
    if (StartsWithTwoDelimiters(name)) {
        const std::string drive = ExtractFileDrive(name);
        const std::size_t skip = std::min(name.size(), drive.size() + 1);
        return {drive + "\\", '\\', kDesktopDelimiters, name.substr(skip)};
    }
    // The root of this platform; a desktop "\" names the top of the current
    // drive, which here is that root too.
    return {"/", '/', PathDelimiters(name), name.substr(1)};
}

// The position after which a stored name starts: in the desktop form after
// the drive, or after a server name; else at the start.
std::size_t StoredNameStart(std::string_view full, bool desktop)
{
    if (!desktop)
        return 0;
    const std::size_t colon = full.find(':');
    if (colon != std::string_view::npos)
        return colon + 1;
    for (std::size_t i = 0; i + 1 < full.size(); ++i) {
        if (IsEitherDelimiter(full[i]) && IsEitherDelimiter(full[i + 1])) {
            const std::size_t next = full.find_first_of(kDesktopDelimiters, i + 2);
            return next == std::string_view::npos ? i + 2 : next + 1;
        }
    }
    return 0;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

enum class MaskResult { Match, NoMatch, Exhausted };

// A star whose every position failed means no earlier star can do better: an
// earlier star that takes more characters only reaches this one further on,
// with fewer positions to try. Stopping there keeps the match polynomial.
MaskResult MatchFrom(std::string_view name, std::string_view mask, bool ignoreCase)
{
    if (mask == "*.*")
        return MaskResult::Match;
    std::size_t n = 0;
    std::size_t m = 0;
    while (true) {
        if (mask.substr(m) == "*")
            return MaskResult::Match;
        if (n == name.size())
            return m == mask.size() ? MaskResult::Match : MaskResult::NoMatch;
        if (m == mask.size())
            return MaskResult::NoMatch;
        if (mask[m] == '*')
            break;
        if (mask[m] != '?') {
            const char a = ignoreCase ? LowerAscii(name[n]) : name[n];
            const char b = ignoreCase ? LowerAscii(mask[m]) : mask[m];
            if (a != b)
                return MaskResult::NoMatch;
        }
        ++n;
        ++m;
    }
    const std::string_view restOfMask = mask.substr(m + 1);
    for (std::size_t i = n; i < name.size(); ++i) {
        const MaskResult result = MatchFrom(name.substr(i), restOfMask, ignoreCase);
        if (result != MaskResult::NoMatch)
            return result;
    }
    return MaskResult::Exhausted;
}

}  // namespace

std::string_view PathDelimiters(std::string_view path)
{
    return IsDesktopForm(path) ? kDesktopDelimiters : kPlatformDelimiters;
}

bool IsPathDelimiter(std::string_view path, char c)
{
    return PathDelimiters(path).find(c) != std::string_view::npos;
}

std::string ExcludeTrailingDelimiters(std::string_view path)
{
    std::string result(path);
    while (result.size() > 1 && IsPathDelimiter(path, result.back()))
        result.pop_back();
    return result;
}

std::string IncludeTrailingDelimiter(std::string_view path)
{
    std::string result(path);
    if (!result.empty() && !IsPathDelimiter(path, result.back()))
        result += '/';
    return result;
}

std::string IncludeTrailingDelimiterOf(std::string_view a, std::string_view b)
{
    return IncludeTrailingDelimiter(a.empty() ? b : a);
}

std::string ExtractFileDrive(std::string_view path)
{
    if (IsDriveLetterPath(path))
        return std::string(path.substr(0, 2));
    if (!StartsWithTwoDelimiters(path))
        return "";
    // "\\server\share": the server, one separator and the share.
    const std::size_t serverEnd = path.find_first_of(kDesktopDelimiters, 2);
    if (serverEnd == std::string_view::npos)
        return std::string(path);
    const std::size_t shareEnd = path.find_first_of(kDesktopDelimiters, serverEnd + 1);
    return std::string(path.substr(0, shareEnd));
}

std::string ExtractFileName(std::string_view path)
{
    const std::size_t last = path.find_last_of(NameBoundaries(path));
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string ExtractFilePath(std::string_view path)
{
    const std::size_t last = path.find_last_of(NameBoundaries(path));
    return last == std::string_view::npos ? "" : std::string(path.substr(0, last + 1));
}

std::string ExtractFileExt(std::string_view path)
{
    const std::size_t nameStart = path.size() - ExtractFileName(path).size();
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart)
        return "";
    return std::string(path.substr(dot));
}

std::string ExtractRelativePath(std::string_view baseName, std::string_view destName)
{
    const std::string basePath = ExtractFilePath(baseName);
    const std::string destPath = ExtractFilePath(destName);
    const std::string drive = ExtractFileDrive(basePath);
    if (drive != ExtractFileDrive(destPath))
        return std::string(destName);
    const auto baseFolders =
        SplitSegments(std::string_view(basePath).substr(drive.size()), PathDelimiters(basePath));
    const auto destFolders =
        SplitSegments(std::string_view(destPath).substr(drive.size()), PathDelimiters(destPath));
    std::size_t common = 0;
    while (common < baseFolders.size() && common < destFolders.size() &&
           baseFolders[common] == destFolders[common])
        ++common;
    std::string result;
    for (std::size_t i = common; i < baseFolders.size(); ++i)
        result += "../";
    for (std::size_t i = common; i < destFolders.size(); ++i)
        result += std::string(destFolders[i]) + "/";
    return result + ExtractFileName(destName);
}

std::string ExpandFileName(std::string_view name)
{
    if (name.empty())
        return "";
    if (!IsDesktopForm(name) && name[0] != '/')
        return ExpandFileName(IncludeTrailingDelimiter(GetCurrentDir()) + std::string(name));
    const PathRoot root = SplitRoot(name);
    std::vector<std::string_view> kept;
    for (std::string_view segment : SplitSegments(root.rest, root.delimiters)) {
        if (segment == "..") {
            if (!kept.empty())
                kept.pop_back();
        } else if (segment != ".") {
            kept.push_back(segment);
        }
    }
    std::string result = root.root;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            result += root.delimiter;
        result += kept[i];
    }
    if (!kept.empty() && IsPathDelimiter(name, name.back()))
        result += root.delimiter;
    return result;
}

std::string ResolvePath(std::string_view dir, std::string_view name, std::string_view defaultDir)
{
    const std::string defaultFolder =
        defaultDir.empty() ? GetCurrentDir() : std::string(defaultDir);
    const std::string base = IncludeTrailingDelimiter(dir.empty() ? defaultFolder : dir);
    if (HoldsDrive(name) || StartsWithTwoDelimiters(name))
        return std::string(name);
    if (name.empty()) {
        if (HoldsDrive(dir))
            return std::string(dir);
        // "\" alone names the current folder; "/" is this platform's root.
        if (base == "\\")
            return IncludeTrailingDelimiter(GetCurrentDir());
        if (!dir.empty() && !DirectoryExists(base))
            return std::string(dir);
        return ExpandFileName(base);
    }
    if (IsEitherDelimiter(name[0]))
        return ExpandFileName(name);
    return ExpandFileName(base + std::string(name));
}

std::string StoredName(std::string_view fileName, std::string_view baseDir,
                       TZAStorePathMode storePath, std::string_view defaultDir)
{
    const std::string base = ResolvePath(baseDir, "", defaultDir);
    std::string full = ResolvePath(base, fileName, defaultDir);
    // The relative name of a path stays in the form of that path.
    const bool desktop = IsDesktopForm(full);
    if (!full.empty() && IsPathDelimiter(full, full.back()))
        full.pop_back();
    if (!full.empty() && full.back() == '.')
        full.pop_back();

    std::size_t start = 0;
    switch (storePath) {
        case spNoPath: full = ExtractFileName(full); break;
        case spRelativePath: {
            std::string rel =
                ExtractRelativePath(IncludeTrailingDelimiterOf(base, defaultDir), full);
            if (rel.find("..\\") == std::string::npos && rel.find("../") == std::string::npos)
                full = std::move(rel);
            break;
        }
        case spFullPath: break;
        case spFullPathWithDrive: full = ExpandFileName(full); break;
    }
    if (storePath != spFullPathWithDrive) {
        start = StoredNameStart(full, desktop);
        if (start >= full.size())
            return "";
        const std::string_view delimiters = desktop ? kDesktopDelimiters : kPlatformDelimiters;
        if (delimiters.find(full[start]) != std::string_view::npos)
            ++start;
    }
    std::string stored = full.substr(start);
    for (char& c : stored)
        if (c == '\\')
            c = '/';
    return stored;
}

bool MatchesMask(std::string_view name, std::string_view mask, bool ignoreCase)
{
    return MatchFrom(name, mask, ignoreCase) == MaskResult::Match;
}

bool IsFloppyDrive(std::string_view path)
{
    const std::string drive = AsciiUpperCase(ExtractFileDrive(path));
    return drive == "A:" || drive == "B:";
}

bool IsRemovableDrive(const std::string& path)
{
    return IsFloppyDrive(path) || Drives().DriveType(path) == TDriveType::dtRemovable;
}
