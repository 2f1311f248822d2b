#include "zip/files/ZAVolumeStream.h"

void TZAVolumeStream::Attach(std::unique_ptr<TStream> file)
{
    file_ = std::move(file);
    if (gathered_ && file_) {
        gathered_->SetSize(0);
        gathered_->CopyFrom(*file_, 0);
    }
}

void TZAVolumeStream::StartGathering()
{
    // The memory mirrors the whole volume, so positions stay those of the file.
    gathered_ = std::make_unique<TMemoryStream>();
    TStream& file = CheckedFile();
    const std::int64_t position = file.Position();
    gathered_->CopyFrom(file, 0);
    gathered_->Seek(position);
}

std::int64_t TZAVolumeStream::PendingBytes() const
{
    if (!gathered_) {
        return 0;
    }
    return gathered_->Size() - (file_ ? file_->Size() : 0);
}

bool TZAVolumeStream::WriteGathered()
{
    TStream& file = CheckedFile();
    const auto& bytes = gathered_->Memory();
    file.Seek(0);
    return file.Write(bytes.data(), bytes.size()) == bytes.size();
}

std::size_t TZAVolumeStream::Read(void* buffer, std::size_t count)
{
    return Target().Read(buffer, count);
}

std::size_t TZAVolumeStream::Write(const void* buffer, std::size_t count)
{
    return Target().Write(buffer, count);
}

void TZAVolumeStream::Flush()
{
    if (file_) {
        file_->Flush();
    }
}

TStream& TZAVolumeStream::Target() const
{
    if (gathered_) {
        return *gathered_;
    }
    return CheckedFile();
}

TStream& TZAVolumeStream::CheckedFile() const
{
    if (!file_) {
        throw EStreamError("No volume is open");
    }
    return *file_;
}
