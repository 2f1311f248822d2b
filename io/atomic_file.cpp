#include "io/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void RaiseWriteError(const std::string& path, int error)
{
    throw EFileWriteError("Cannot write the file \"" + path + "\": " + std::strerror(error));
}

// The temporary file, removed again unless it was renamed into place.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const std::string& target) : target_(target)
    {
        const std::string pattern = FolderOf(target) + "/.wq-save-XXXXXX";
        path_.assign(pattern.begin(), pattern.end());
        path_.push_back('\0');
        fd_ = mkstemp(path_.data());
        if (fd_ < 0)
            RaiseWriteError(target_, errno);
    }
    ~TTemporaryFile()
    {
        if (fd_ >= 0)
            close(fd_);
        if (!renamed_)
            unlink(path_.data());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    void Write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                RaiseWriteError(target_, errno);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    // mkstemp creates the file for the owner only; the saved file gets the
    // mode of the file it replaces, or the mode a new file would get.
    void SetMode()
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
        if (fchmod(fd_, mode) != 0)
            RaiseWriteError(target_, errno);
    }

    void Commit()
    {
        if (fsync(fd_) != 0)
            RaiseWriteError(target_, errno);
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0)
            RaiseWriteError(target_, errno);
        if (rename(path_.data(), target_.c_str()) != 0)
            RaiseWriteError(target_, errno);
        renamed_ = true;
    }

private:
    std::string target_;
    std::vector<char> path_;
    int fd_ = -1;
    bool renamed_ = false;
};

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

}  // namespace

void WriteFileAtomically(const std::string& Path, std::string_view Bytes)
{
    TTemporaryFile temporary(Path);
    temporary.Write(Bytes);
    temporary.SetMode();
    temporary.Commit();
    FlushFolder(FolderOf(Path));
}
