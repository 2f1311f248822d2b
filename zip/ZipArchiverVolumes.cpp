// Temporary files, volume names, opening volumes and writing across them.

#include <cstdlib>
#include <unistd.h>

#include "platform/drives.h"
#include "zip/ZAPaths.h"
#include "zip/ZipArchiver.h"

std::string TZABaseArchiver::MakeTempFileName() const
{
    std::string folder = TempDir();
    if (folder.empty()) {
        const char* fromEnvironment = std::getenv("TMPDIR");
        folder = fromEnvironment != nullptr && *fromEnvironment != 0 ? fromEnvironment : "/tmp";
    }
    std::string name = IncludeTrailingDelimiter(folder) + "FCXXXXXX.tmp";
    const int handle = mkstemps(name.data(), 4);
    if (handle < 0) {
        throw EFOpenError("Cannot create a temporary file in " + folder);
    }
    close(handle);
    return name;
}

std::string TZABaseArchiver::VolumeName(const std::string& name, std::uint32_t, bool) const
{
    return name;
}

void TZABaseArchiver::OpenVolume(const TZAVolumeNumberInfo& volume)
{
    if (archiveStream_ == nullptr) {
        OpenVolumeStream(fileName_);
    }
    volumeInfo_ = volume;
}

std::size_t TZABaseArchiver::WriteToVolumes(TStream& stream, const void* buffer, std::size_t count,
                                            std::uint32_t)
{
    return stream.Write(buffer, count);
}

void TZABaseArchiver::WriteChecked(TStream& stream, const void* buffer, std::size_t count)
{
    if (WriteToVolumes(stream, buffer, count) != count) {
        Fail(46);
    }
}

TZAVolumePosition TZABaseArchiver::CopyToVolumes(TStream& source, std::size_t)
{
    TZAVolumePosition position{volumeInfo_.Number, archiveStream_->Position()};
    source.Seek(0);
    archiveStream_->CopyFrom(source, source.Size());
    return position;
}

bool TZABaseArchiver::WriteWithRetry(TStream& stream, const void* buffer, std::size_t count)
{
    const std::int64_t start = stream.Position();
    while (stream.Write(buffer, count) != count) {
        bool cancel = true;
        DoDiskFull(-1, fileName_, cancel);
        if (cancel) {
            cancelled_ = true;
            return false;
        }
        stream.Seek(start);
    }
    return true;
}

void TZABaseArchiver::StartVolumeGathering() {}

void TZABaseArchiver::FinishVolumeGathering(bool) {}

void TZABaseArchiver::NameLastVolume() {}

std::int64_t TZABaseArchiver::DiskFreeSpace(const std::string& path)
{
    return Drives().FreeSpace(path);
}
