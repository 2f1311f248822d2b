#pragma once

// The string rules of the archiver's paths: how a file's path is resolved and
// turned into the name stored in the archive, and the wildcard match. A path
// is read in one of two forms, told apart by how it starts. The desktop form
// of the platform the archives come from starts with a drive letter ("C:\a"),
// a "\" ("\a", the top of the current drive) or two separators
// ("\\server\share\d"); in it "\" and "/" both separate and ":" ends the
// drive. Every other path is a path of this platform, where "/" alone
// separates and "\" and ":" are characters of a name like any other. Names
// stored in the archive use "/" whatever form their path had.

#include <string>
#include <string_view>

#include "zip/format/ZAOptions.h"

// The characters that separate the parts of a path of path's form.
std::string_view PathDelimiters(std::string_view path);
// c separates the parts of a path of path's form.
bool IsPathDelimiter(std::string_view path, char c);
// The path without the separators it ends with; a root stays.
std::string ExcludeTrailingDelimiters(std::string_view path);

// The path with a "/" added when it does not end in a separator; "" stays "".
std::string IncludeTrailingDelimiter(std::string_view path);
// a with a trailing separator, or b so treated when a is empty.
std::string IncludeTrailingDelimiterOf(std::string_view a, std::string_view b);

// "C:" of "C:\a", "\\server\share" of "\\server\share\d", "" otherwise.
std::string ExtractFileDrive(std::string_view path);
// The part after, up to and including, or from the last separator, or the
// ":" of a drive.
std::string ExtractFileName(std::string_view path);
std::string ExtractFilePath(std::string_view path);
// From the last "." of the name part on; "" without one.
std::string ExtractFileExt(std::string_view path);
// The path of destName seen from the folder of baseName ("../" for each level
// up); destName unchanged when the two lie on different drives.
std::string ExtractRelativePath(std::string_view baseName, std::string_view destName);

// The absolute form of a path, worked out on the text alone: a relative path
// is joined to the current folder, "." and ".." are folded and symbolic links
// are left alone. A trailing separator is kept.
std::string ExpandFileName(std::string_view name);

std::string ResolvePath(std::string_view dir, std::string_view name, std::string_view defaultDir);
// The name stored in the archive for a file, "/" as separator; folders get
// their trailing "/" from the caller.
std::string StoredName(std::string_view fileName, std::string_view baseDir,
                       TZAStorePathMode storePath, std::string_view defaultDir);

// "*" stands for any run of characters, "?" for any one; the mask "*.*"
// matches every name, names without a dot included. ignoreCase folds A-Z only.
bool MatchesMask(std::string_view name, std::string_view mask, bool ignoreCase);

bool IsFloppyDrive(std::string_view path);
// A floppy drive, or a drive the installed drive layer reports as removable.
bool IsRemovableDrive(const std::string& path);
