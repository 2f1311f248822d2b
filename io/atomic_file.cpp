#include "io/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/temporary_files.h"

namespace {

// Written data is handed to the disk in pieces of this size while the rest is
// still produced, so the flush at the end waits for the last piece only.
constexpr std::uint64_t kWriteBackBytes = 8u << 20;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable. The new content is complete and in place
// already, so a folder that cannot be flushed does not fail the save.
void FlushFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

// File systems that keep no modes of their own, such as FAT on a memory
// stick, refuse the change in these ways; their files then have the mode the
// mount gives every file, which is no reason to fail the save.
bool ModesNotKept(int error)
{
    return error == EPERM || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

}  // namespace

TChangeMode*& InstalledChangeMode()
{
    static TChangeMode* changeMode = fchmod;
    return changeMode;
}

TAtomicFile::TAtomicFile(const std::string& Path) : target_(Path), folder_(FolderOf(Path))
{
    RemoveStaleTemporaryFiles(folder_);
    fd_ = CreateTemporaryFile(folder_, temporaryPath_);
    if (fd_ < 0)
        RaiseWriteError(errno);
    contentName_ = temporaryPath_.empty() ? ReopenName(fd_) : temporaryPath_;
}

// The name goes while the file is still locked, so no sweep mistakes it.
TAtomicFile::~TAtomicFile()
{
    if (!committed_ && !temporaryPath_.empty())
        unlink(temporaryPath_.c_str());
    if (fd_ >= 0)
        close(fd_);
}

void TAtomicFile::Write(std::string_view Bytes)
{
    if (fd_ < 0)
        throw EFileWriteError("The file \"" + target_ + "\" is already closed");
    while (!Bytes.empty()) {
        const ssize_t written = write(fd_, Bytes.data(), Bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            RaiseWriteError(errno);
        Bytes.remove_prefix(static_cast<std::size_t>(written));
        written_ += static_cast<std::uint64_t>(written);
    }
    StartWriteBack();
}

void TAtomicFile::Commit()
{
    if (fd_ < 0)
        throw EFileWriteError("The file \"" + target_ + "\" is already closed");
    SetMode();
    if (fsync(fd_) != 0)
        RaiseWriteError(errno);
    if (temporaryPath_.empty() && !NameTemporaryFile(fd_, folder_, temporaryPath_))
        RaiseWriteError(errno);
    if (rename(temporaryPath_.c_str(), target_.c_str()) != 0)
        RaiseWriteError(errno);
    committed_ = true;
    // The content is on the disk already; the lock had to last until the
    // rename, and closing cannot lose what the flush wrote.
    close(fd_);
    fd_ = -1;
    FlushFolder(folder_);
}

void TAtomicFile::RaiseWriteError(int Error) const
{
    throw EFileWriteError("Cannot write the file \"" + target_ + "\": " + std::strerror(Error));
}

// Only a hint to the system: where it is not supported, Commit's flush does all.
void TAtomicFile::StartWriteBack()
{
    if (written_ - writeBackStart_ < kWriteBackBytes)
        return;
    sync_file_range(fd_, static_cast<off_t>(writeBackStart_),
                    static_cast<off_t>(written_ - writeBackStart_), SYNC_FILE_RANGE_WRITE);
    writeBackStart_ = written_;
}

// Temporary files are created for the owner only; the saved file gets the
// mode of the file it replaces, or the mode a new file would get, where the
// file system keeps modes.
void TAtomicFile::SetMode()
{
    struct stat existing {};
    mode_t mode = 0;
    if (stat(target_.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (InstalledChangeMode()(fd_, mode) != 0 && !ModesNotKept(errno))
        RaiseWriteError(errno);
}

void WriteFileAtomically(const std::string& Path, std::string_view Bytes)
{
    TAtomicFile file(Path);
    file.Write(Bytes);
    file.Commit();
}
