#pragma once

// Replacing a file without ever destroying what was there: the bytes go to a
// temporary file beside the target (see temporary_files.h), which is flushed
// to the disk and then renamed over the target in one step.

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "platform/exception.h"
#include "platform/scoped_service.h"

// A file that could not be written; the message names it and the system's reason.
class EFileWriteError : public Exception {
public:
    using Exception::Exception;
};

// The new content of Path, written piece by piece. Until Commit the target
// stays as it was; destroyed without a successful Commit (a failure, an
// exception while the content is produced), the temporary file is removed.
// Creating one first removes what crashed saves left in the folder. Every
// failure raises EFileWriteError.
class TAtomicFile {
public:
    explicit TAtomicFile(const std::string& Path);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    void Write(std::string_view Bytes);
    // A path by which another writer may open the temporary file and produce
    // the content itself; it is valid until Commit.
    const std::string& ContentName() const { return contentName_; }
    // Flushes the content to the disk, gives it the mode of the file it
    // replaces (or of a new file) and renames it over the target.
    void Commit();

private:
    [[noreturn]] void RaiseWriteError(int Error) const;
    void StartWriteBack();
    void SetMode();

    std::string target_;
    std::string folder_;
    // The temporary file's name; "" while it has none.
    std::string temporaryPath_;
    std::string contentName_;
    int fd_ = -1;
    bool committed_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t writeBackStart_ = 0;
};

// The call by which Commit gives the content its mode (fchmod by default);
// ScopedChangeMode puts another one in place for a scope, as tests do to play
// file systems that refuse it.
using TChangeMode = int(int Handle, mode_t Mode);
TChangeMode*& InstalledChangeMode();
using ScopedChangeMode = TScopedService<TChangeMode, InstalledChangeMode>;

// Writes Bytes as the whole content of Path. On failure the old file stays as
// it was, no temporary file is left, and EFileWriteError is raised.
void WriteFileAtomically(const std::string& Path, std::string_view Bytes);
