#pragma once

// The temporary files that saves write beside their targets. Each is created
// without a name where the file system allows, so that a save that dies
// leaves nothing behind, and gets a name only once it is complete. Elsewhere
// it has a name from the start: a short hidden one of this program's own
// pattern, ".wq-save-" and six letters or digits. Either way the file is
// locked for as long as its save holds it open, so a named one that nobody
// holds is what a save that died left, and the next save in the folder
// removes it.

#include <string>

// A new temporary file in Folder, open for reading and writing and locked.
// Name becomes "" for an unnamed file, else the file's path. -1, with errno
// set, when no file can be created there.
int CreateTemporaryFile(const std::string& Folder, std::string& Name);

// Gives the unnamed temporary file Handle a fresh name of the pattern in
// Folder, which Name then holds; false, with errno set, on failure.
bool NameTemporaryFile(int Handle, const std::string& Folder, std::string& Name);

// A path under which the open file Handle can be opened once more.
std::string ReopenName(int Handle);

// Removes the files of the pattern in Folder that no save holds. Other names,
// files of other users and anything but a plain file stay.
void RemoveStaleTemporaryFiles(const std::string& Folder);

// For a scope, temporary files get a name from the start even where the file
// system could do without, as on file systems that cannot.
class TScopedNamedTemporaryFiles {
public:
    TScopedNamedTemporaryFiles();
    ~TScopedNamedTemporaryFiles();
    TScopedNamedTemporaryFiles(const TScopedNamedTemporaryFiles&) = delete;
    TScopedNamedTemporaryFiles& operator=(const TScopedNamedTemporaryFiles&) = delete;

private:
    bool previous_;
};
