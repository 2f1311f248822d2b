#include "zip/files/ZASpillStream.h"

#include "zip/files/ZAFileSystem.h"

TZASpillStream::TZASpillStream(std::int64_t memoryLimit, std::function<std::string()> makeFileName)
    : memoryLimit_(memoryLimit), makeFileName_(std::move(makeFileName))
{
}

TZASpillStream::~TZASpillStream()
{
    file_.reset();
    if (!fileName_.empty()) {
        DeleteFile(fileName_);
    }
}

TStream& TZASpillStream::Target() const
{
    return file_ ? static_cast<TStream&>(*file_) : *memory_;
}

bool TZASpillStream::HasRoomFor(std::int64_t end)
{
    return file_ || end <= memoryLimit_ || MoveToFile();
}

// A file that cannot take the bytes held is dropped again, and the stream
// stays in memory: the write that needed the room comes back short, as on a
// full disk.
bool TZASpillStream::MoveToFile()
{
    const std::string name = makeFileName_();
    try {
        auto file = std::make_unique<TFileStream>(name, fmCreate);
        const std::vector<std::uint8_t>& held = memory_->Memory();
        if (file->Write(held.data(), held.size()) != held.size()) {
            file.reset();
            DeleteFile(name);
            return false;
        }
        file->Seek(memory_->Position());
        file_ = std::move(file);
    } catch (...) {
        DeleteFile(name);
        throw;
    }
    fileName_ = name;
    memory_.reset();
    return true;
}

void TZASpillStream::SetSize(std::int64_t size)
{
    if (!HasRoomFor(size)) {
        throw EStreamError("Stream write error");
    }
    Target().SetSize(size);
}

std::size_t TZASpillStream::Read(void* buffer, std::size_t count)
{
    return Target().Read(buffer, count);
}

std::size_t TZASpillStream::Write(const void* buffer, std::size_t count)
{
    if (!HasRoomFor(Position() + static_cast<std::int64_t>(count))) {
        return 0;
    }
    return Target().Write(buffer, count);
}
