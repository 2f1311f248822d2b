#pragma once

// The byte streams the archiver reads and writes archives through: a file
// stream with the open modes the archiver uses, and a memory stream for
// archives kept in memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/exception.h"

// A read or write that did not move the bytes asked for.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be created or opened.
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Open modes: the access in the low two bits, the sharing in bits 4-6, or
// fmCreate alone. POSIX does not enforce the sharing bits; they are kept so
// that callers state what they expect of other processes.
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyNone = 0x0040;
constexpr std::uint16_t fmCreate = 0xFFFF;

class TStream;

// The text of a failed write: what failed, and after it the system's reason
// when the stream knows it ("Cannot write file "x.zip". No space left on device").
std::string WriteFailureText(const std::string& what, const TStream& stream);

class TStream {
public:
    virtual ~TStream() = default;

    virtual std::int64_t Size() const = 0;
    // Cuts the stream or extends it with zero bytes; the position stays
    // unless it lies beyond the new end.
    virtual void SetSize(std::int64_t size) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void Seek(std::int64_t position) = 0;
    // Both return the number of bytes moved, fewer than asked at the end of
    // the data or when the medium takes no more.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // The system's error number of the last write that moved fewer bytes than
    // asked; 0 when the stream cannot tell.
    virtual int WriteError() const { return 0; }
    // Makes written data durable; a no-op where there is no medium.
    virtual void Flush() {}

    // Raise EStreamError unless exactly count bytes were moved.
    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
    // Copies count bytes from the source's position; count 0 copies the whole
    // source from its start. Returns the bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

class TFileStream : public TStream {
public:
    // Raises EFOpenError when the file cannot be created or opened.
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Size() const override;
    void SetSize(std::int64_t size) override;
    std::int64_t Position() const override { return position_; }
    void Seek(std::int64_t position) override;
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    int WriteError() const override { return writeError_; }
    void Flush() override;

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    int handle_ = -1;
    std::int64_t position_ = 0;
    // Read from the file once on opening and kept up to date by this
    // stream's own writes; a change by another writer is not seen.
    std::int64_t size_ = 0;
    int writeError_ = 0;
};

class TMemoryStream : public TStream {
public:
    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;
    std::int64_t Position() const override { return position_; }
    void Seek(std::int64_t position) override;
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;

    const std::vector<std::uint8_t>& Memory() const { return data_; }
    // Replaces the content; the position returns to 0.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);

private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};
