#include "platform/ZAStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemMessage(int error)
{
    return std::strerror(error);
}

void CheckSeekTarget(std::int64_t position)
{
    if (position < 0) {
        throw EStreamError("Stream seek error: negative position " + std::to_string(position));
    }
}

// Copies go through a bounded buffer so that huge counts cost no huge memory.
constexpr std::size_t kCopyBlock = 1 << 20;

}  // namespace

void TStream::ReadBuffer(void* buffer, std::size_t count)
{
    if (Read(buffer, count) != count) {
        throw EStreamError("Stream read error");
    }
}

std::string WriteFailureText(const std::string& what, const TStream& stream)
{
    const int error = stream.WriteError();
    return error == 0 ? what : what + ". " + SystemMessage(error);
}

void TStream::WriteBuffer(const void* buffer, std::size_t count)
{
    if (Write(buffer, count) != count) {
        throw EStreamError(WriteFailureText("Stream write error", *this));
    }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.Seek(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min<std::int64_t>(count, kCopyBlock)));
    std::int64_t left = count;
    while (left > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(left, kCopyBlock));
        source.ReadBuffer(block.data(), chunk);
        WriteBuffer(block.data(), chunk);
        left -= static_cast<std::int64_t>(chunk);
    }
    return count;
}

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : fileName_(fileName)
{
    int flags = O_CLOEXEC;
    if (mode == fmCreate) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
            case fmOpenWrite: flags |= O_WRONLY; break;
            case fmOpenReadWrite: flags |= O_RDWR; break;
            default: flags |= O_RDONLY; break;
        }
    }
    handle_ = ::open(fileName.c_str(), flags, 0666);
    int error = errno;
    struct stat info {};
    if (handle_ >= 0 && ::fstat(handle_, &info) != 0) {
        error = errno;
        ::close(handle_);
        handle_ = -1;
    } else if (handle_ >= 0 && S_ISDIR(info.st_mode)) {
        ::close(handle_);
        handle_ = -1;
        error = EISDIR;
    }
    if (handle_ < 0) {
        const char* what = mode == fmCreate ? "Cannot create file \"" : "Cannot open file \"";
        throw EFOpenError(what + fileName + "\". " + SystemMessage(error));
    }
    size_ = info.st_size;
}

TFileStream::~TFileStream()
{
    if (handle_ >= 0) {
        ::close(handle_);
    }
}

std::int64_t TFileStream::Size() const
{
    return size_;
}

void TFileStream::SetSize(std::int64_t size)
{
    CheckSeekTarget(size);
    if (::ftruncate(handle_, size) != 0) {
        throw EStreamError("Cannot change the size of \"" + fileName_ + "\". " +
                           SystemMessage(errno));
    }
    size_ = size;
    position_ = std::min(position_, size);
}

void TFileStream::Seek(std::int64_t position)
{
    CheckSeekTarget(position);
    position_ = position;
}

std::size_t TFileStream::Read(void* buffer, std::size_t count)
{
    std::size_t done = 0;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    while (done < count) {
        const ssize_t got = ::pread(handle_, bytes + done, count - done, position_);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
        position_ += got;
    }
    return done;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count)
{
    std::size_t done = 0;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    writeError_ = 0;
    while (done < count) {
        const ssize_t put = ::pwrite(handle_, bytes + done, count - done, position_);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            writeError_ = put < 0 ? errno : 0;
            break;
        }
        done += static_cast<std::size_t>(put);
        position_ += put;
    }
    if (done > 0) {
        size_ = std::max(size_, position_);
    }
    return done;
}

void TFileStream::Flush()
{
    if (::fsync(handle_) != 0) {
        throw EStreamError("Cannot flush \"" + fileName_ + "\". " + SystemMessage(errno));
    }
}

void TMemoryStream::SetSize(std::int64_t size)
{
    CheckSeekTarget(size);
    data_.resize(static_cast<std::size_t>(size));
    position_ = std::min(position_, size);
}

void TMemoryStream::Seek(std::int64_t position)
{
    CheckSeekTarget(position);
    position_ = position;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    if (count == 0 || position_ >= Size()) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(position_);
    const std::size_t n = std::min(count, data_.size() - start);
    std::memcpy(buffer, data_.data() + start, n);
    position_ += static_cast<std::int64_t>(n);
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(position_);
    if (start + count > data_.size()) {
        data_.resize(start + count);
    }
    std::memcpy(data_.data() + start, buffer, count);
    position_ += static_cast<std::int64_t>(count);
    return count;
}

void TMemoryStream::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    data_.assign(data, data + size);
    position_ = 0;
}
