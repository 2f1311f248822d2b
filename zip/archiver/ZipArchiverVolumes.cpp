// Temporary files, volume names, opening volumes and writing across them.

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <unistd.h>
#include <vector>

#include "platform/drives.h"
#include "platform/sysutils.h"
#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/files/ZAPaths.h"
#include "zip/files/ZAVolumeStream.h"

namespace {

// A volume to be created needs more than this much free space.
constexpr std::int64_t kMinVolumeFreeSpace = 65536;
constexpr std::size_t kCopyBlockSize = 1000000;
// Methods from this number on belong to the base class's own format.
constexpr std::uint16_t kOwnFormatMethods = 252;

// The number in decimal, with leading zeros up to the given digits.
std::string ZeroPadded(std::uint64_t number, std::size_t digits)
{
    const std::string text = std::to_string(number);
    return std::string(digits > text.size() ? digits - text.size() : 0, '0') + text;
}

// The name of the drive a volume lies on, as the drive layer wants it.
std::string DriveOf(const std::string& path)
{
    const std::string drive = ExtractFileDrive(path);
    return drive.empty() ? ExtractFilePath(path) : drive + "\\";
}

}  // namespace

std::string TZABaseArchiver::MakeTempFileName() const
{
    std::string folder = tempDir_;
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

bool TZABaseArchiver::HasExeExtension(const std::string& name)
{
    return AsciiLowerCase(ExtractFileExt(name)).find(".exe") != std::string::npos;
}

bool TZABaseArchiver::IsSelfExtracting(const std::string& name) const
{
    const bool hasStub = dirManager_ && dirManager_->DataOffset() > 0;
    return hasStub || !sfxStub_.empty() || HasExeExtension(name);
}

std::string TZABaseArchiver::VolumeName(const std::string& name, std::uint32_t volumeNumber,
                                        bool probeOther) const
{
    if (spanningMode_ == smNone) {
        return name;
    }
    const bool selfExtracting = IsSelfExtracting(name);
    const bool advanced = spanningOptions_.AdvancedNaming;
    std::string volume = VolumeOnDisk(FormVolumeName(name, volumeNumber, advanced, selfExtracting));
    if (probeOther && volumeNumber != ZALastVolume && !FileExists(volume)) {
        std::string other =
            VolumeOnDisk(FormVolumeName(name, volumeNumber, !advanced, selfExtracting));
        if (FileExists(other)) {
            volume = std::move(other);
        }
    }
    return volume;
}

// Sets written by other archivers, or on a system that ignores the case of
// names, may carry a volume's extension in upper case (data.Z01) or in lower
// case (data.z01): a set being read is found in either. A new set is written
// under the names as formed.
std::string TZABaseArchiver::VolumeOnDisk(const std::string& volume) const
{
    if (openMode_ == ZAModeCreate || FileExists(volume)) {
        return volume;
    }
    const std::string base = ExtractBaseName(volume);
    const std::string ext = ExtractFileExt(volume);
    for (const std::string& other : {base + AsciiLowerCase(ext), base + AsciiUpperCase(ext)}) {
        if (FileExists(other)) {
            return other;
        }
    }
    return volume;
}

std::string TZABaseArchiver::ExtractBaseName(const std::string& name)
{
    const std::string ext = ExtractFileExt(name);
    return name.substr(0, name.size() - ext.size());
}

std::string TZABaseArchiver::FormVolumeName(const std::string& name, std::uint32_t volumeNumber,
                                            bool advanced, bool selfExtracting) const
{
    const std::string base = ExtractBaseName(name);
    const bool ownFormat = compressionMethod_ >= kOwnFormatMethods;
    if (volumeNumber == ZALastVolume) {
        if (spanningMode_ == smSplitting && selfExtracting) {
            return base + (ownFormat ? ".za" : ".zip");
        }
        return name;
    }
    std::string ext = ExtractFileExt(name);
    const std::uint64_t shown = std::uint64_t{volumeNumber} + 1;
    if (spanningMode_ == smSpanning) {
        if (selfExtracting) {
            ext = ".exe";
        }
        return advanced ? base + "_" + ZeroPadded(shown, 3) + ext : base + ext;
    }
    if (volumeNumber == 0 && selfExtracting) {
        return base + ".exe";
    }
    if (advanced) {
        return base + "_" + ZeroPadded(shown, 3) + ext;
    }
    return base + (ownFormat ? ".f" : ".z") + ZeroPadded(shown, 2);
}

void TZABaseArchiver::OpenVolumeStream(const std::string& name)
{
    OpenVolumeFile(name, openMode_);
}

void TZABaseArchiver::OpenVolumeFile(const std::string& name, std::uint16_t mode)
{
    if (volumeStream_ == nullptr) {
        ReleaseArchiveStream();
        auto stream = std::make_unique<TZAVolumeStream>();
        volumeStream_ = stream.get();
        archiveStream_ = volumeStream_;
        ownedArchiveStream_ = std::move(stream);
    }
    volumeStream_->Attach(nullptr);
    try {
        volumeStream_->Attach(std::make_unique<TFileStream>(name, mode));
    } catch (...) {
        ReleaseArchiveStream();
        throw;
    }
    volumeFileName_ = name;
}

void TZABaseArchiver::OpenVolume(const TZAVolumeNumberInfo& volume)
{
    if (spanningMode_ == smNone) {
        if (archiveStream_ == nullptr) {
            OpenVolumeStream(fileName_);
        }
    } else if (openMode_ == ZAModeCreate) {
        OpenBlankVolume(volume);
    } else if (archiveStream_ == nullptr || !TZAVolumeNumberInfo::SameVolume(volume, volumeInfo_)) {
        OpenExistingVolume(volume);
    }
    volumeInfo_ = volume;
}

void TZABaseArchiver::OpenBlankVolume(const TZAVolumeNumberInfo& volume)
{
    if (volumeStream_ != nullptr) {
        volumeStream_->Attach(nullptr);
    }
    const std::int64_t limit = spanningOptions_.VolumeSizeFor(volume);
    for (;;) {
        volumeFileName_ = fileName_;
        bool cancel = false;
        DoRequestBlankVolume(volume.Number, volumeFileName_, cancel);
        if (cancel) {
            Fail(45);
        }
        const std::int64_t free = FreeSpaceOf(volumeFileName_);
        if (free > kMinVolumeFreeSpace &&
            (limit <= 0 || spanningMode_ != smSpanning || free >= limit)) {
            break;
        }
        cancel = false;
        DoDiskFull(volume.Number, volumeFileName_, cancel);
        if (cancel) {
            Fail(45);
        }
    }
    const bool existed = FileExists(volumeFileName_);
    OpenVolumeStream(volumeFileName_);
    // A name may come back, as on the disks of one drive: it is the write's
    // own only while no file of that name was there before.
    std::erase(createdVolumes_, volumeFileName_);
    if (!existed) {
        createdVolumes_.push_back(volumeFileName_);
    }
    if (spanningMode_ == smSpanning) {
        const auto shown = static_cast<std::uint64_t>(std::max(volume.Number, 0)) + 1;
        Drives().SetVolumeLabel(DriveOf(volumeFileName_), "pkback# " + ZeroPadded(shown, 3));
    }
}

void TZABaseArchiver::OpenExistingVolume(const TZAVolumeNumberInfo& volume)
{
    for (;;) {
        std::string name = fileName_;
        bool cancel = false;
        if (volume.IsFirst()) {
            DoRequestFirstVolume(name, cancel);
        } else if (volume.IsLast()) {
            DoRequestLastVolume(name, cancel);
        } else {
            DoRequestMiddleVolume(volume.Number, name, cancel);
        }
        if (cancel) {
            Fail(45);
        }
        if (archiveStream_ != nullptr && name == volumeFileName_ && spanningMode_ != smSpanning) {
            return;
        }
        if (FileExists(name)) {
            OpenVolumeStream(name);
            return;
        }
    }
}

std::int64_t TZABaseArchiver::DiskFreeSpace(const std::string& path)
{
    return Drives().FreeSpace(path);
}

std::int64_t TZABaseArchiver::FreeSpaceOf(const std::string& path)
{
    // A drive that cannot tell leaves the decision to the writes themselves.
    const std::int64_t free = DiskFreeSpace(path);
    return free < 0 ? std::numeric_limits<std::int64_t>::max() : free;
}

std::int64_t TZABaseArchiver::RoomOnVolume(const TStream& stream) const
{
    std::int64_t room = FreeSpaceOf(volumeFileName_);
    if (volumeStream_ != nullptr) {
        room -= volumeStream_->PendingBytes();
    }
    const std::int64_t limit = spanningOptions_.VolumeSizeFor(volumeInfo_);
    if (limit > 0) {
        room = std::min(room, limit - stream.Size());
    }
    return room;
}

std::size_t TZABaseArchiver::WriteToVolumes(TStream& stream, const void* buffer, std::size_t count,
                                            std::uint32_t keepTogether)
{
    // Only the archive stream is cut into volumes; an item's own buffer
    // takes the item whole.
    if (spanningMode_ == smNone || &stream != archiveStream_) {
        return stream.Write(buffer, count);
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::size_t written = 0;
    while (written < count) {
        const std::int64_t room = RoomOnVolume(stream);
        if (room < 0) {
            break;
        }
        const auto left = static_cast<std::int64_t>(count - written);
        // What must stay together goes to the next volume whole. An empty
        // volume keeps it, cut, only where the next one is no larger.
        const bool emptyVolume = stream.Size() == 0;
        const bool deferred = keepTogether != ZANoKeepTogether &&
                              std::int64_t{keepTogether} + left > room &&
                              (!emptyVolume || NextVolumeTakesMore());
        const auto chunk = static_cast<std::size_t>(deferred ? 0 : std::min(room, left));
        if (chunk == 0 && emptyVolume && !deferred) {
            break;
        }
        const std::size_t taken = stream.Write(bytes + written, chunk);
        written += taken;
        if (taken < chunk) {
            break;
        }
        if (written < count) {
            MoveToNextVolume(stream);
        }
    }
    return written;
}

// Only the first volume may have a limit of its own, smaller than the rest.
bool TZABaseArchiver::NextVolumeTakesMore() const
{
    TZAVolumeNumberInfo next = volumeInfo_;
    next.SetNumber(volumeInfo_.Number + 1);
    const std::int64_t limit = spanningOptions_.VolumeSizeFor(volumeInfo_);
    const std::int64_t nextLimit = spanningOptions_.VolumeSizeFor(next);
    return limit > 0 && (nextLimit <= 0 || nextLimit > limit);
}

void TZABaseArchiver::MoveToNextVolume(TStream& stream)
{
    if (volumeStream_ != nullptr && volumeStream_->Gathering() && !volumeStream_->WriteGathered()) {
        Fail(46);
    }
    if (spanningMode_ == smSpanning) {
        stream.Flush();
    }
    TZAVolumeNumberInfo next = volumeInfo_;
    next.SetNumber(volumeInfo_.Number + 1);
    OpenVolume(next);
}

TZAVolumePosition TZABaseArchiver::WriteRecordsToVolumes(
    TStream& stream, const za::Bytes& bytes, const std::vector<std::size_t>& recordSizes)
{
    std::optional<TZAVolumePosition> first;
    const auto writeRun = [&](std::size_t at, std::size_t count) {
        if (!first) {
            first = TZAVolumePosition{volumeInfo_.Number, stream.Position()};
        }
        WriteChecked(stream, bytes.data() + at, count);
    };
    if (spanningMode_ == smNone || &stream != archiveStream_) {
        writeRun(0, bytes.size());
        return *first;
    }
    std::size_t at = 0;
    for (std::size_t record = 0; record < recordSizes.size();) {
        const std::int64_t room = RoomOnVolume(stream);
        std::size_t run = 0;
        while (record < recordSizes.size() &&
               static_cast<std::int64_t>(run + recordSizes[record]) <= room) {
            run += recordSizes[record++];
        }
        if (run == 0 && room >= 0 && stream.Size() > 0) {
            MoveToNextVolume(stream);
            continue;
        }
        if (run == 0) {
            run = recordSizes[record++];
        }
        writeRun(at, run);
        at += run;
    }
    return first.value_or(TZAVolumePosition{volumeInfo_.Number, stream.Position()});
}

void TZABaseArchiver::WriteChecked(TStream& stream, const void* buffer, std::size_t count)
{
    if (WriteToVolumes(stream, buffer, count) != count) {
        Fail(46);
    }
}

TZAVolumePosition TZABaseArchiver::CopyToVolumes(TStream& source, std::size_t headerSize)
{
    TStream& archive = *archiveStream_;
    std::vector<std::uint8_t> block(headerSize);
    source.Seek(0);
    source.ReadBuffer(block.data(), headerSize);
    if (WriteToVolumes(archive, block.data(), headerSize, 0) != headerSize) {
        Fail(46);
    }
    const TZAVolumePosition header{volumeInfo_.Number,
                                   archive.Position() - static_cast<std::int64_t>(headerSize)};
    CopyDataToVolumes(source, source.Size() - static_cast<std::int64_t>(headerSize));
    return header;
}

void TZABaseArchiver::CopyDataToVolumes(TStream& source, std::int64_t size)
{
    DoCopyTempFileProgress(0.0, ppStart, cancelled_);
    if (cancelled_) {
        return;
    }
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min<std::int64_t>(size, kCopyBlockSize)));
    std::int64_t copied = 0;
    while (copied < size) {
        const auto chunk =
            static_cast<std::size_t>(std::min<std::int64_t>(size - copied, kCopyBlockSize));
        source.ReadBuffer(block.data(), chunk);
        WriteChecked(*archiveStream_, block.data(), chunk);
        copied += static_cast<std::int64_t>(chunk);
        DoCopyTempFileProgress(static_cast<double>(copied) / static_cast<double>(size) * 100.0,
                               ppProcess, cancelled_);
        if (cancelled_) {
            return;
        }
    }
    DoCopyTempFileProgress(100.0, ppEnd, cancelled_);
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

void TZABaseArchiver::StartVolumeGathering()
{
    if (spanningMode_ == smSpanning && IsFloppyDrive(fileName_) && volumeStream_ != nullptr &&
        archiveStream_ == volumeStream_) {
        volumeStream_->StartGathering();
    }
}

void TZABaseArchiver::FinishVolumeGathering(bool writeLastVolume)
{
    if (volumeStream_ == nullptr || !volumeStream_->Gathering()) {
        return;
    }
    const bool written = !writeLastVolume || volumeStream_->WriteGathered();
    volumeStream_->StopGathering();
    if (!written) {
        Fail(46);
    }
}

void TZABaseArchiver::NameLastVolume()
{
    if (spanningMode_ == smNone || volumeStream_ == nullptr) {
        return;
    }
    const std::string last = VolumeName(fileName_, ZALastVolume, false);
    if (last == volumeFileName_) {
        return;
    }
    FinishVolumeGathering(true);
    volumeStream_->Attach(nullptr);
    // The old archive gives way to the new set, which stays from now on even
    // when its last volume cannot take its name.
    createdVolumes_.clear();
    if (FileExists(last)) {
        DeleteFile(last);
    }
    const std::string current = volumeFileName_;
    const std::string opened = RenameFile(current, last) ? last : current;
    OpenVolumeFile(opened, fmOpenReadWrite | fmShareDenyNone);
    if (opened != last) {
        throw EFOpenError("Cannot rename " + current + " to " + last);
    }
}

void TZABaseArchiver::RemoveCreatedVolumes()
{
    if (createdVolumes_.empty()) {
        return;
    }
    // The volume open now is one of them.
    if (volumeStream_ != nullptr) {
        volumeStream_->Attach(nullptr);
    }
    for (const std::string& volume : createdVolumes_) {
        DeleteFile(volume);
    }
    createdVolumes_.clear();
}

bool TZABaseArchiver::HasVolumeFile() const
{
    return volumeStream_ == nullptr || volumeStream_->File() != nullptr;
}
