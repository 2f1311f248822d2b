#include "zip/directory/ZADirectory.h"

#include <algorithm>

#include "zip/archiver/ZipArchiver.h"
#include "zip/format/ZAExcept.h"

namespace {

// The end record and a comment of at most 65535 bytes fit in this tail.
constexpr std::int64_t kEndRecordSearchSize = 65600;
constexpr std::size_t kMaxFieldLength = 0xFFFF;

// The recorded offset and size put the directory right in front of the end
// record, or of its Zip64 records; saturated fields say nothing either way.
bool EndsItsDirectory(const TZAEndRecord& record, std::int64_t position)
{
    if (record.DirectoryOffset == ZAZip64Marker || record.DirectorySize == ZAZip64Marker) {
        return true;
    }
    const std::int64_t end = std::int64_t{record.DirectoryOffset} + record.DirectorySize;
    const auto zip64Records =
        static_cast<std::int64_t>(TZAZip64EndRecord::Size + TZAZip64Locator::Size);
    return end == position || end + zip64Records == position;
}

// The comment fills the bytes after the end record, or is followed by zeros
// alone: writers that fill the last block of a pipe pad an archive so.
bool OnlyCommentAndPaddingFollow(const za::Bytes& tail, std::size_t commentAt,
                                 std::uint16_t commentLength)
{
    const std::size_t paddingAt = commentAt + commentLength;
    return paddingAt <= tail.size() &&
           std::all_of(tail.begin() + static_cast<std::ptrdiff_t>(paddingAt), tail.end(),
                       [](std::uint8_t byte) { return byte == 0; });
}

std::uint16_t Clamp16(std::uint64_t value)
{
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(value, ZAZip64Marker16));
}

std::size_t ZipFieldLength(std::size_t length, int errorCode, std::string_view what,
                           const std::string& component)
{
    if (length > kMaxFieldLength) {
        throw EZAException(errorCode, component, {std::string(what)});
    }
    return length;
}

}  // namespace

TZADirManager::TZADirManager(TZABaseArchiver& archiver, TStream* stream, bool isNew)
    : stream_(stream),
      isNew_(isNew),
      externalStream_(archiver.ExternalStream()),
      archiver_(archiver)
{
    Reset();
    if (isNew) {
        archiver_.VolumeInfo().Reset(true);
        if (!archiver_.SFXStub().empty()) {
            WriteStub();
        }
    }
}

[[noreturn]] void TZADirManager::Fail(int errorCode) const
{
    throw EZAException(errorCode, archiver_.Name());
}

const TZASignatureSet& TZADirManager::Signatures() const
{
    return IsAlternateSignatureSet(endRecord_.Signature) ? ZAAlternateSignatures
                                                         : ZAStandardSignatures;
}

void TZADirManager::Reset()
{
    items_.Clear();
    endRecord_ = TZAEndRecord{};
    endRecord_.Signature = SignatureSetFor(archiver_.ZipFormat()).EndRecord;
    zip64EndRecord_ = TZAZip64EndRecord{};
    zip64Locator_ = TZAZip64Locator{};
    zip64Present_ = false;
    rebuilt_ = false;
    offsetsLineUp_ = true;
}

za::Bytes TZADirManager::ReadAt(std::int64_t position, std::size_t count) const
{
    return BytesAt(*stream_, position, count);
}

TZAEndRecordMatch TZADirManager::FindEndRecord(std::uint32_t signature) const
{
    TZAEndRecordMatch match;
    const std::int64_t size = stream_->Size();
    const std::int64_t base = size - std::min(size, kEndRecordSearchSize);
    const za::Bytes tail = ReadAt(base, static_cast<std::size_t>(size - base));
    const auto tailSize = static_cast<std::int64_t>(tail.size());
    for (std::int64_t i = tailSize - 4; i >= 0; --i) {
        const auto at = static_cast<std::size_t>(i);
        if (za::GetU32(&tail[at]) != signature ||
            i + static_cast<std::int64_t>(TZAEndRecord::Size) > tailSize) {
            continue;
        }
        const auto record = TZAEndRecord::Read(TZAByteSpan(tail).subspan(at));
        const std::size_t commentAt = at + TZAEndRecord::Size;
        if (!record || !OnlyCommentAndPaddingFollow(tail, commentAt, record->CommentLength)) {
            continue;
        }
        // An archive stored in the comment of another brings an end record
        // that fits as well; the one whose directory ends right before it
        // wins over the one nearest to the end.
        const bool endsItsDirectory = EndsItsDirectory(*record, base + i);
        if (!match.Found || endsItsDirectory) {
            match.Found = true;
            match.Record = *record;
            match.Position = base + i;
            const auto comment = tail.begin() + static_cast<std::ptrdiff_t>(commentAt);
            match.Comment.assign(comment, comment + record->CommentLength);
        }
        if (endsItsDirectory) {
            break;
        }
    }
    return match;
}

TZAEndRecordMatch TZADirManager::FindArchiveEndRecord() const
{
    if (!archiver_.ZipFormat()) {
        auto alternate = FindEndRecord(ZAAlternateSignatures.EndRecord);
        if (alternate.Found) {
            return alternate;
        }
    }
    return FindEndRecord(ZAStandardSignatures.EndRecord);
}

bool TZADirManager::IsArchive() const
{
    return archiver_.TolerateDamage() || FindArchiveEndRecord().Found;
}

void TZADirManager::WriteStub()
{
    TFileStream stub(archiver_.SFXStub(), fmOpenRead | fmShareDenyNone);
    if (archiver_.SpanningMode() != smNone) {
        TZAVolumeNumberInfo first;
        first.Reset(true);
        const std::int64_t limit = archiver_.SpanningOptions().VolumeSizeFor(first);
        if (limit > 0 && limit < stub.Size()) {
            Fail(47);
        }
    }
    stream_->SetSize(0);
    stream_->Seek(0);
    stream_->CopyFrom(stub, 0);
    dataOffset_ = stub.Size();
}

void TZADirManager::WriteDirectory(bool atEnd, TStream* stream)
{
    if (stream != nullptr) {
        stream_ = stream;
    }
    std::int64_t start = stream_->Size();
    if (!atEnd) {
        const auto found = FindArchiveEndRecord();
        // The old directory and, with Zip64, its two records lie in front of
        // the end record; the new directory replaces all of them.
        const std::int64_t oldBytes =
            zip64Present_
                ? static_cast<std::int64_t>(zip64EndRecord_.DirectorySize) +
                      static_cast<std::int64_t>(TZAZip64EndRecord::Size + TZAZip64Locator::Size)
                : static_cast<std::int64_t>(endRecord_.DirectorySize);
        if (found.Found && oldBytes >= 0 && oldBytes <= found.Position) {
            start = found.Position - oldBytes;
        }
    }
    stream_->Seek(start);
    stream_->SetSize(start);
    TZAVolumePosition first;
    const std::uint64_t directorySize = WriteCentralDirectory(first);
    directoryStart_ = first.Offset;
    WriteEndRecords(first.Volume, directorySize);
    archiver_.NameLastVolume();
}

// A kept item goes back as it was read: its name bytes, flags and extra
// fields. Only the Zip64 field is made anew from the item's values, in the
// place of the one read; an item without one gets it in front.
void TZADirManager::WriteCentralRecord(TDirItem& item, za::Bytes& out) const
{
    if (item.NameBytes().empty()) {
        item.SetNameBytes(StoredNameForm(item.FileName(), archiver_.OEMFileNames()));
    }
    auto zip64 = MakeCentralZip64Field(item.Header, item.Zip64Values);
    bool hadZip64 = false;
    for (const TZAExtraFieldView field : item.ExtraFields()) {
        hadZip64 = hadZip64 || field.HeaderID == ZAZip64FieldId;
    }
    za::Bytes extra;
    if (zip64 && !hadZip64) {
        zip64->Write(extra);
    }
    for (const TZAExtraFieldView field : item.ExtraFields()) {
        if (field.HeaderID != ZAZip64FieldId) {
            field.Write(extra);
        } else if (zip64) {
            zip64->Write(extra);
            zip64.reset();
        }
    }
    const std::string_view name = item.NameBytes();
    const std::string_view comment = item.Comment();
    const std::string_view fileName = item.FileName();
    const std::string& component = archiver_.Name();
    item.Header.Signature = Signatures().CentralHeader;
    item.Header.FileNameLength =
        static_cast<std::uint16_t>(ZipFieldLength(name.size(), 61, fileName, component));
    item.Header.ExtraFieldLength =
        static_cast<std::uint16_t>(ZipFieldLength(extra.size(), 61, fileName, component));
    item.Header.FileCommentLength =
        static_cast<std::uint16_t>(ZipFieldLength(comment.size(), 61, fileName, component));
    item.Header.Write(out);
    za::PutBytes(out, name.data(), name.size());
    out.insert(out.end(), extra.begin(), extra.end());
    za::PutBytes(out, comment.data(), comment.size());
}

std::uint64_t TZADirManager::WriteCentralDirectory(TZAVolumePosition& first)
{
    za::Bytes directory;
    std::vector<std::size_t> recordSizes;
    recordSizes.reserve(static_cast<std::size_t>(items_.Count()));
    // The records written so far still go out when one fails.
    const auto write = [&] {
        first = archiver_.WriteRecordsToVolumes(*stream_, directory, recordSizes);
    };
    try {
        for (int i = 0; i < items_.Count(); ++i) {
            const std::size_t before = directory.size();
            WriteCentralRecord(items_.ItemPtr(i), directory);
            recordSizes.push_back(directory.size() - before);
        }
    } catch (...) {
        write();
        throw;
    }
    write();
    return directory.size();
}

void TZADirManager::WriteEndRecords(std::int64_t directoryDisk, std::uint64_t directorySize)
{
    TZADirectoryInfo info;
    info.DirectoryDisk = directoryDisk;
    info.DiskNumber = archiver_.VolumeInfo().Number;
    info.Count = static_cast<std::uint64_t>(items_.Count());
    const std::int64_t end = stream_->Position();
    // Counted in bytes written, as a directory may go on on the next volume.
    info.DirectorySize = directorySize;
    info.DirectoryOffset = static_cast<std::uint64_t>(directoryStart_);

    za::Bytes records;
    zip64Present_ = NeedsZip64EndRecord(static_cast<std::uint64_t>(end), info.Count);
    if (zip64Present_) {
        zip64EndRecord_ = MakeZip64EndRecord(info);
        zip64Locator_ = MakeZip64Locator(info.DiskNumber, static_cast<std::uint64_t>(end));
        zip64EndRecord_.Write(records);
        zip64Locator_.Write(records);
    }
    endRecord_ = MakeEndRecord(Signatures(), info, Clamp16(archiveComment_.size()));
    endRecord_.Write(records);
    za::PutBytes(records, archiveComment_.data(), endRecord_.CommentLength);
    stream_->WriteBuffer(records.data(), records.size());
}
