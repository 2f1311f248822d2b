// Reading the directory of an existing archive, and rebuilding it from the
// local headers when the directory is damaged.

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/codepages.h"
#include "zip/archiver/ZipArchiver.h"
#include "zip/directory/ZADirectory.h"
#include "zip/format/ZACrc32.h"
#include "zip/format/ZAExcept.h"

namespace {

// The damaged-archive scan and the stub search read the stream in blocks.
constexpr std::int64_t kScanBlock = 65535;
// Versions from here on belong to the alternate signature set, whose items
// keep their AES details elsewhere.
constexpr std::uint16_t kAlternateVersion = 0x4114;
// A data descriptor holds the CRC-32 and both sizes, 32 or 64 bits each.
constexpr std::size_t kDescriptorSize = 12;
constexpr std::size_t kZip64DescriptorSize = 20;
constexpr std::uint64_t kSignatureSize = 4;
// The most that the local header, name, extra fields and a signed descriptor
// add to the data of an item.
constexpr std::uint64_t kLargestItemOverhead =
    TZALocalHeader::Size + 2 * std::uint64_t{0xFFFF} + kSignatureSize + kZip64DescriptorSize;
constexpr std::int64_t kLargestPosition = std::numeric_limits<std::int64_t>::max();
// Names of other archivers: a Unicode path field carries the UTF-8 form of a
// name stored in a code page.
constexpr std::uint16_t kUnicodePathFieldId = 0x7075;
constexpr std::size_t kUnicodePathHeader = 5;

std::string_view AsText(TZAByteSpan bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

TZAByteSpan AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string DecodeName(std::uint16_t flags, std::string_view bytes, bool oemFileNames)
{
    if ((flags & ZAFlagUtf8Name) != 0 && IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return DecodeStoredName(bytes, oemFileNames);
}

// The UTF-8 name of a Unicode path field that belongs to these name bytes.
std::optional<std::string> ReadUnicodePathField(TZAByteSpan data, TZAByteSpan name)
{
    if (data.size() < kUnicodePathHeader || data[0] != 1 ||
        za::GetU32(&data[1]) != Crc32Of(name.data(), name.size())) {
        return std::nullopt;
    }
    const std::string_view path = AsText(data.subspan(kUnicodePathHeader));
    if (!IsValidUtf8(path)) {
        return std::nullopt;
    }
    return std::string(path);
}

std::uint32_t Saturated32(std::uint64_t value, std::uint64_t& wide)
{
    if (value >= ZAZip64Marker) {
        wide = value;
        return ZAZip64Marker;
    }
    return static_cast<std::uint32_t>(value);
}

// start + length, or the largest position where that does not fit.
std::int64_t SaturatedEnd(std::int64_t start, std::uint64_t length)
{
    return length > static_cast<std::uint64_t>(kLargestPosition - start)
               ? kLargestPosition
               : start + static_cast<std::int64_t>(length);
}

bool HasZip64Field(TZAByteSpan extraArea)
{
    for (const TZAExtraFieldView field : TZAExtraFieldRange(extraArea)) {
        if (field.HeaderID == ZAZip64FieldId) {
            return true;
        }
    }
    return false;
}

}  // namespace

za::Bytes BytesAt(TStream& stream, std::int64_t position, std::size_t count)
{
    za::Bytes bytes;
    const std::int64_t size = stream.Size();
    if (position < 0 || position >= size) {
        return bytes;
    }
    bytes.resize(std::min<std::size_t>(count, static_cast<std::size_t>(size - position)));
    stream.Seek(position);
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

std::int64_t ItemStretchLength(TStream& stream, std::int64_t position, const TZALocalHeader& local,
                               const TDirItem& item)
{
    const std::int64_t extraAt =
        SaturatedEnd(position, TZALocalHeader::Size + std::uint64_t{local.FileNameLength});
    const std::int64_t dataEnd =
        SaturatedEnd(SaturatedEnd(extraAt, local.ExtraFieldLength), item.CompressedSize());
    if ((local.Flags & ZAFlagDataDescriptor) == 0 || dataEnd == kLargestPosition) {
        return dataEnd - position;
    }
    const za::Bytes signature = BytesAt(stream, dataEnd, kSignatureSize);
    const bool hasSignature = signature.size() == kSignatureSize &&
                              za::GetU32(signature.data()) == ZADataDescriptorSignature;
    // Readers of the stream size the descriptor by the local header alone: a
    // Zip64 field there gives it 64-bit sizes, even where the central record
    // needs none.
    const bool zip64 = HasZip64Field(BytesAt(stream, extraAt, local.ExtraFieldLength));
    const std::uint64_t descriptor =
        (zip64 ? kZip64DescriptorSize : kDescriptorSize) + (hasSignature ? kSignatureSize : 0);
    return SaturatedEnd(dataEnd, descriptor) - position;
}

bool TZADirManager::ReadDirectory()
{
    Reset();
    const auto match = FindArchiveEndRecord();
    const bool tolerant = archiver_.TolerateDamage();
    if (!match.Found) {
        if (tolerant) {
            RebuildFromLocalHeaders();
        }
        return tolerant;
    }
    endRecord_ = match.Record;
    archiveComment_ = match.Comment;
    ReadZip64Records(match.Position);
    // Without Zip64 records a saturated count is not to be trusted, and a
    // directory on another volume is out of reach of a single file.
    if ((!zip64Present_ && endRecord_.TotalEntries == ZAZip64Marker16) ||
        (archiver_.SpanningMode() == smNone && DirectoryDisk() != 0)) {
        if (tolerant) {
            RebuildFromLocalHeaders();
        }
        return tolerant;
    }
    const std::int64_t endPosition =
        zip64Present_ ? match.Position - static_cast<std::int64_t>(TZAZip64Locator::Size +
                                                                   TZAZip64EndRecord::Size)
                      : match.Position;
    try {
        ReadItems(endPosition);
    } catch (const Exception&) {
        if (!tolerant) {
            throw;
        }
        RebuildFromLocalHeaders();
        return true;
    }
    // The items of a split or spanned archive lie on other volumes, so only
    // a single file can be measured against its items.
    if (!tolerant && archiver_.SpanningMode() == smNone) {
        CheckSizesFitStream();
    }
    DetectStub(endPosition);
    return true;
}

void TZADirManager::ReadZip64Records(std::int64_t endPosition)
{
    if (endPosition < static_cast<std::int64_t>(TZAZip64Locator::Size) + 1) {
        return;
    }
    const auto locator =
        TZAZip64Locator::Read(ReadAt(endPosition - TZAZip64Locator::Size, TZAZip64Locator::Size));
    if (!locator || locator->Signature != ZAStandardSignatures.Zip64Locator) {
        return;
    }
    zip64Present_ = true;
    zip64Locator_ = *locator;
    const std::uint64_t offset = locator->Zip64EndOffset;
    std::optional<TZAZip64EndRecord> record =
        offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
            ? std::nullopt
            : ReadZip64EndRecordAt(static_cast<std::int64_t>(offset));
    // A stub that no offset counts moves the record from where its locator
    // says; in a single file other readers find it right in front of the
    // locator. It is taken there when the locator and the record agree on
    // the record's place behind the directory: then the whole archive moved,
    // and no offset of the locator was spoiled alone.
    const std::int64_t inFront =
        endPosition - static_cast<std::int64_t>(TZAZip64Locator::Size + TZAZip64EndRecord::Size);
    if (!record && archiver_.SpanningMode() == smNone && inFront >= 0) {
        record = ReadZip64EndRecordAt(inFront);
        if (record && (record->DirectoryOffset > offset ||
                       offset - record->DirectoryOffset != record->DirectorySize)) {
            record.reset();
        }
    }
    if (!record) {
        Fail(40);
    }
    zip64EndRecord_ = *record;
}

std::optional<TZAZip64EndRecord> TZADirManager::ReadZip64EndRecordAt(std::int64_t position) const
{
    auto record = TZAZip64EndRecord::Read(ReadAt(position, TZAZip64EndRecord::Size));
    if (!record || record->Signature != ZAStandardSignatures.Zip64EndRecord) {
        return std::nullopt;
    }
    return record;
}

void TZADirManager::ReadItems(std::int64_t endPosition)
{
    const std::uint64_t size =
        zip64Present_ ? zip64EndRecord_.DirectorySize : endRecord_.DirectorySize;
    const std::uint64_t count =
        zip64Present_ ? zip64EndRecord_.TotalEntries : endRecord_.TotalEntries;
    const std::uint64_t offset =
        zip64Present_ ? zip64EndRecord_.DirectoryOffset : endRecord_.DirectoryOffset;
    // A single file finds its directory in front of the end records, whatever
    // lies before the first entry; volumes go by the recorded offset.
    const bool singleFile = archiver_.SpanningMode() == smNone;
    if (endPosition < 0 || (singleFile && size > static_cast<std::uint64_t>(endPosition)) ||
        count > size / TZACentralHeader::Size || count > std::numeric_limits<int>::max()) {
        Fail(48);
    }
    const std::int64_t start = singleFile ? endPosition - static_cast<std::int64_t>(size)
                                          : static_cast<std::int64_t>(offset);
    za::Bytes directory =
        singleFile ? ReadAt(start, static_cast<std::size_t>(size)) : ReadFromVolumes(offset, size);
    if (directory.size() != size) {
        Fail(48);
    }
    directoryStart_ = start;
    items_.SetCount(static_cast<int>(count));
    // The directory's bytes decide how many items there are: a 16-bit count
    // wraps at 65536 items in archives written without Zip64 records. The
    // items keep their texts in these bytes.
    const auto bytes = std::make_shared<const TZATextBlock>(std::move(directory));
    std::size_t at = 0;
    int index = 0;
    for (; at < bytes->size(); ++index) {
        at = ReadCentralItem(bytes, at, index);
    }
    const auto read = static_cast<std::uint64_t>(index);
    if (read != count && (zip64Present_ || (read & ZAZip64Marker16) != count)) {
        Fail(48);
    }
}

std::int64_t TZADirManager::DirectoryDisk() const
{
    if (zip64Present_ && endRecord_.DirectoryDisk == ZAZip64Marker16) {
        return zip64EndRecord_.DirectoryDisk;
    }
    return endRecord_.DirectoryDisk;
}

std::int64_t TZADirManager::LastDisk() const
{
    if (zip64Present_ && endRecord_.DiskNumber == ZAZip64Marker16) {
        return std::int64_t{zip64Locator_.TotalDisks} - 1;
    }
    return endRecord_.DiskNumber;
}

za::Bytes TZADirManager::ReadFromVolumes(std::uint64_t offset, std::uint64_t size)
{
    const std::int64_t first = DirectoryDisk();
    const std::int64_t last = LastDisk();
    if (last > std::numeric_limits<std::int32_t>::max()) {
        Fail(48);
    }
    za::Bytes bytes;
    for (std::int64_t disk = first; bytes.size() < size && disk <= last; ++disk) {
        TZAVolumeNumberInfo volume;
        volume.LastNumber = static_cast<std::int32_t>(last);
        if (disk == last) {
            volume.SetLast(true);
        } else {
            volume.SetNumber(static_cast<std::int32_t>(disk));
        }
        archiver_.OpenVolume(volume);
        const auto from = disk == first ? static_cast<std::int64_t>(offset) : 0;
        const za::Bytes part = ReadAt(from, static_cast<std::size_t>(size - bytes.size()));
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

std::size_t TZADirManager::ReadCentralItem(const std::shared_ptr<const TZATextBlock>& directory,
                                           std::size_t at, int index)
{
    const TZAByteSpan bytes(*directory);
    const auto header = TZACentralHeader::Read(bytes.subspan(at));
    if (!header || header->Signature != Signatures().CentralHeader) {
        Fail(48);
    }
    const std::size_t nameAt = at + TZACentralHeader::Size;
    const std::size_t extraAt = nameAt + header->FileNameLength;
    const std::size_t commentAt = extraAt + header->ExtraFieldLength;
    const std::size_t next = commentAt + header->FileCommentLength;
    if (next > bytes.size()) {
        Fail(48);
    }
    if (index >= items_.Count()) {
        items_.SetCount(index + 1);
    }
    TDirItem& item = items_.ItemPtr(index);
    item.Header = *header;
    item.SetTexts(directory, nameAt, header->FileNameLength, header->ExtraFieldLength,
                  header->FileCommentLength);
    ReadItemFields(item, index);
    return next;
}

void TZADirManager::ReadItemFields(TDirItem& item, int index)
{
    item.Method = item.Header.Method;
    const TZAByteSpan nameBytes = AsBytes(item.NameBytes());
    // A name in plain ASCII reads the same in every code page and in UTF-8.
    std::string decoded;
    std::string_view name = item.NameBytes();
    if (!IsAscii(name)) {
        decoded = DecodeName(item.Header.Flags, name, archiver_.OEMFileNames());
        name = decoded;
    }
    std::optional<std::string> fieldName;
    for (const TZAExtraFieldView field : item.ExtraFields()) {
        if (field.HeaderID == ZAZip64FieldId) {
            ReadZip64Field(item.Header, field.Data, item.Zip64Values);
            item.Zip64 = true;
        } else if (field.HeaderID == ZAUnicodeNameFieldId) {
            if (auto unicodeName = ReadUnicodeNameField(field.Data)) {
                fieldName = std::move(unicodeName);
            }
        } else if (field.HeaderID == kUnicodePathFieldId) {
            if (auto path = ReadUnicodePathField(field.Data, nameBytes)) {
                fieldName = std::move(path);
            }
        } else if (field.HeaderID == ZAAesFieldId &&
                   item.Header.VersionMadeBy < kAlternateVersion) {
            if (const auto aes = TZAAesField::Read(field.Data)) {
                item.AESStrength = aes->KeyStrength;
                item.Method = aes->ActualMethod;
            }
        }
    }
    items_.Rename(index, fieldName ? *fieldName : name);
}

void TZADirManager::CheckSizesFitStream() const
{
    const auto streamSize = static_cast<std::uint64_t>(stream_->Size());
    std::uint64_t total = 0;
    for (int i = 0; i < items_.Count(); ++i) {
        const std::uint64_t size = items_.ItemPtr(i).CompressedSize();
        if (size > streamSize - total) {
            Fail(57);
        }
        total += size;
    }
}

std::int64_t TZADirManager::FindLocalHeaderFrom(std::int64_t start, std::int64_t end) const
{
    const std::uint32_t signature = Signatures().LocalHeader;
    // A header needs its 30 bytes before the end.
    const std::int64_t last = end - static_cast<std::int64_t>(TZALocalHeader::Size);
    for (std::int64_t block = std::max<std::int64_t>(start, 0); block <= last;
         block += kScanBlock) {
        const za::Bytes bytes = ReadAt(block, static_cast<std::size_t>(kScanBlock + 3));
        for (std::size_t i = 0; i + 4 <= bytes.size() && i < kScanBlock; ++i) {
            const std::int64_t position = block + static_cast<std::int64_t>(i);
            if (position > last) {
                return -1;
            }
            if (za::GetU32(&bytes[i]) == signature) {
                return position;
            }
        }
    }
    return -1;
}

bool TZADirManager::LocalHeaderMatches(std::int64_t position, const TZACentralHeader& central) const
{
    const auto local = TZALocalHeader::Read(ReadAt(position, TZALocalHeader::Size));
    if (!local || local->VersionNeeded != central.VersionNeeded ||
        local->Method != central.Method || local->LastModTime != central.LastModTime ||
        local->LastModDate != central.LastModDate) {
        return false;
    }
    // Streamed entries leave CRC and sizes to the data descriptor, and Zip64
    // entries to the extra field.
    if ((local->Flags & ZAFlagDataDescriptor) != 0 || local->CompressedSize == ZAZip64Marker ||
        central.CompressedSize == ZAZip64Marker) {
        return true;
    }
    return local->Crc32 == central.Crc32 && local->CompressedSize == central.CompressedSize &&
           local->UncompressedSize == central.UncompressedSize;
}

void TZADirManager::DetectStub(std::int64_t endPosition)
{
    if (archiver_.SpanningMode() != smNone) {
        return;
    }
    if (items_.Count() == 0) {
        dataOffset_ = endPosition;
        return;
    }
    // Other readers take the distance between where the directory is and
    // where its end records put it for a stub that no offset counts, and move
    // every item by it, folders and empty files too. The offsets that an
    // update writes must lead them to the same headers. Where the moved
    // offsets miss the headers and the recorded ones meet them, the bytes
    // came in behind the items, and the offsets stand as recorded.
    if (const std::int64_t stub = UnrecordedStub(); stub != 0) {
        const bool moved = LocalHeadersLineUp(stub);
        offsetsLineUp_ = moved || LocalHeadersLineUp(0);
        if (moved) {
            AddOffsetToItems(stub);
        }
        if (offsetsLineUp_) {
            dataOffset_ = static_cast<std::int64_t>(items_.ItemPtr(0).LocalHeaderOffset());
        }
        return;
    }
    const TDirItem& first = items_.ItemPtr(0);
    const auto recorded = static_cast<std::int64_t>(std::min<std::uint64_t>(
        first.LocalHeaderOffset(), std::numeric_limits<std::int64_t>::max()));
    std::int64_t position = recorded;
    while ((position = FindLocalHeaderFrom(position, directoryStart_)) >= 0) {
        if (LocalHeaderMatches(position, first.Header)) {
            break;
        }
        position += 4;
    }
    if (position < 0) {
        return;
    }
    dataOffset_ = position;
    // Offsets that count from the end of a stub move by the stub's size.
    for (int i = 0; i < items_.Count(); ++i) {
        const TDirItem& item = items_.ItemPtr(i);
        if (item.CompressedSize() > 0) {
            if (static_cast<std::int64_t>(item.LocalHeaderOffset()) < dataOffset_) {
                AddOffsetToItems(position - recorded);
            }
            break;
        }
    }
}

std::int64_t TZADirManager::UnrecordedStub() const
{
    const std::uint64_t recorded =
        zip64Present_ ? zip64EndRecord_.DirectoryOffset : endRecord_.DirectoryOffset;
    // A saturated offset without its Zip64 value says nothing.
    if (!zip64Present_ && recorded == ZAZip64Marker) {
        return 0;
    }
    return directoryStart_ - static_cast<std::int64_t>(std::min<std::uint64_t>(
                                 recorded, std::numeric_limits<std::int64_t>::max()));
}

bool TZADirManager::LocalHeadersLineUp(std::int64_t shift) const
{
    const std::int64_t lastHeader =
        directoryStart_ - static_cast<std::int64_t>(TZALocalHeader::Size);
    if (lastHeader < 0) {
        return false;
    }
    // The shift in two unsigned parts, so that no sum leaves its range.
    const std::uint64_t down = shift < 0 ? static_cast<std::uint64_t>(-shift) : 0;
    const std::uint64_t up = shift > 0 ? static_cast<std::uint64_t>(shift) : 0;
    for (int i = 0; i < items_.Count(); ++i) {
        const std::uint64_t recorded = items_.ItemPtr(i).LocalHeaderOffset();
        if (recorded < down || recorded - down > static_cast<std::uint64_t>(lastHeader)) {
            return false;
        }
        const std::uint64_t position = recorded - down + up;
        if (position > static_cast<std::uint64_t>(lastHeader)) {
            return false;
        }
        const za::Bytes signature = ReadAt(static_cast<std::int64_t>(position), 4);
        if (signature.size() != 4 || za::GetU32(signature.data()) != Signatures().LocalHeader) {
            return false;
        }
    }
    return true;
}

std::int64_t TZADirManager::ClaimedEndBeyond(const TDirItem& item, std::int64_t from) const
{
    const std::uint64_t offset = item.LocalHeaderOffset();
    const std::uint64_t data = item.CompressedSize();
    const auto before = static_cast<std::uint64_t>(from);
    // Items far enough in front need no header read.
    if (offset <= before && data <= before - offset &&
        before - offset - data >= kLargestItemOverhead) {
        return from;
    }
    if (offset > static_cast<std::uint64_t>(kLargestPosition)) {
        return kLargestPosition;
    }
    const auto position = static_cast<std::int64_t>(offset);
    const auto local = TZALocalHeader::Read(ReadAt(position, TZALocalHeader::Size));
    // Without a header to measure by, the item claims its data at least.
    const std::int64_t end = local && local->Signature == Signatures().LocalHeader
                                 ? position + ItemStretchLength(*stream_, position, *local, item)
                                 : SaturatedEnd(SaturatedEnd(position, TZALocalHeader::Size), data);
    return std::max(from, end);
}

void TZADirManager::AddOffsetToItems(std::int64_t shift)
{
    for (int i = 0; i < items_.Count(); ++i) {
        TDirItem& item = items_.ItemPtr(i);
        const std::uint64_t moved = item.LocalHeaderOffset() + static_cast<std::uint64_t>(shift);
        item.Header.LocalHeaderOffset = Saturated32(moved, item.Zip64Values.LocalHeaderOffset);
    }
}

// What the rebuild has found: the items in the order of their local headers,
// and the data descriptors met for those that announce one.
struct TZARebuild {
    struct Awaiting {
        std::int64_t DataStart = 0;
        std::int32_t Index = 0;
        // A Zip64 field makes the descriptor's sizes 64 bits wide.
        bool Zip64 = false;
        bool Met = false;
    };
    struct Descriptor {
        std::int32_t Index = 0;
        std::uint32_t Crc32 = 0;
        std::uint64_t CompressedSize = 0;
        std::uint64_t UncompressedSize = 0;
    };

    // Stored or encrypted data may hold the descriptor's signature by chance.
    // A descriptor is taken only where it fits: its compressed size ends the
    // data of an item that awaits one right where it stands, and it ends
    // within the file (fields holds what follows the signature, up to the end
    // of the file). The first that fits an item is its own.
    void TakeDescriptor(std::int64_t position, TZAByteSpan fields)
    {
        for (const bool zip64 : {false, true}) {
            const std::size_t sizeField = zip64 ? 8 : 4;
            if (awaiting.empty() || fields.size() < 4 + 2 * sizeField) {
                return;
            }
            const auto sizeAt = [&](std::size_t at) {
                return zip64 ? za::GetU64(&fields[at]) : std::uint64_t{za::GetU32(&fields[at])};
            };
            const std::uint64_t compressed = sizeAt(4);
            if (compressed > static_cast<std::uint64_t>(position)) {
                continue;
            }
            const std::int64_t dataStart = position - static_cast<std::int64_t>(compressed);
            const auto item =
                std::ranges::lower_bound(awaiting, dataStart, {}, &Awaiting::DataStart);
            if (item == awaiting.end() || item->DataStart != dataStart || item->Zip64 != zip64 ||
                item->Met) {
                continue;
            }
            item->Met = true;
            descriptors.push_back(
                {item->Index, za::GetU32(&fields[0]), compressed, sizeAt(4 + sizeField)});
        }
    }

    // Handed over to the directory whole, without a copy.
    std::vector<TDirItem> items;
    // In the order of their data, as their headers come.
    std::vector<Awaiting> awaiting;
    std::vector<Descriptor> descriptors;
    TZATextRoom texts;
};

// The rebuild walks the file once and finds both signatures on the way. The
// name and extra fields of a header are read once and passed over, not
// searched for headers again, so there is at most one item per 30 bytes of
// the file and their texts hold no more than its bytes; and a descriptor is
// matched to the item it ends when the walk meets it. Work and memory thus
// stay a fixed multiple of the file's size. The items are counted in an int,
// as in a directory read: a file with more headers than that is damaged past
// a rebuild (48).
void TZADirManager::RebuildFromLocalHeaders()
{
    items_.Clear();
    rebuilt_ = true;
    if (archiver_.SpanningMode() != smNone) {
        Fail(44);
    }
    const std::int64_t size = stream_->Size();
    const std::uint32_t headerSignature = Signatures().LocalHeader;
    TZARebuild rebuild;
    std::int64_t nextHeader = 0;
    // Each block reads on by a header's size, so that a header or descriptor
    // that starts in it is read whole.
    const std::size_t overlap = TZALocalHeader::Size;
    for (std::int64_t block = 0; block < size; block += kScanBlock) {
        const za::Bytes bytes = ReadAt(block, static_cast<std::size_t>(kScanBlock) + overlap);
        const TZAByteSpan span(bytes);
        for (std::size_t i = 0; i + 4 <= bytes.size() && i < kScanBlock; ++i) {
            const std::int64_t position = block + static_cast<std::int64_t>(i);
            const std::uint32_t signature = za::GetU32(&bytes[i]);
            // A header needs its 30 bytes before the end.
            if (signature == headerSignature && position >= nextHeader &&
                i + TZALocalHeader::Size <= bytes.size()) {
                nextHeader = ReadLocalItem(position, span.subspan(i), rebuild);
            } else if (signature == ZADataDescriptorSignature) {
                rebuild.TakeDescriptor(position, span.subspan(i + 4));
            }
        }
    }
    if (rebuild.items.empty()) {
        Fail(35);
    }
    EnterRebuiltItems(rebuild);
    directoryStart_ = size;
}

std::int64_t TZADirManager::ReadLocalItem(std::int64_t position, TZAByteSpan head,
                                          TZARebuild& rebuild) const
{
    const auto local = TZALocalHeader::Read(head);
    if (!local) {
        return position;
    }
    const std::size_t variable = std::size_t{local->FileNameLength} + local->ExtraFieldLength;
    const std::int64_t dataStart =
        position + static_cast<std::int64_t>(TZALocalHeader::Size + variable);
    // Fields that run past the end make no item, and are not read.
    if (dataStart > stream_->Size()) {
        return position;
    }
    // The fields are mostly in the block read already.
    za::Bytes read;
    TZAByteSpan fields = head.subspan(TZALocalHeader::Size);
    if (fields.size() >= variable) {
        fields = fields.first(variable);
    } else {
        read = ReadAt(position + static_cast<std::int64_t>(TZALocalHeader::Size), variable);
        if (read.size() != variable) {
            return position;
        }
        fields = read;
    }
    if (rebuild.items.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        Fail(48);
    }
    TDirItem item;
    item.Header.Signature = Signatures().CentralHeader;
    item.Header.VersionMadeBy = local->VersionNeeded;
    item.Header.VersionNeeded = local->VersionNeeded;
    item.Header.Flags = local->Flags;
    item.Header.Method = local->Method;
    item.Header.LastModTime = local->LastModTime;
    item.Header.LastModDate = local->LastModDate;
    item.Header.Crc32 = local->Crc32;
    item.Header.CompressedSize = local->CompressedSize;
    item.Header.UncompressedSize = local->UncompressedSize;
    item.Header.FileNameLength = local->FileNameLength;
    item.Header.ExtraFieldLength = local->ExtraFieldLength;
    item.Header.LocalHeaderOffset =
        Saturated32(static_cast<std::uint64_t>(position), item.Zip64Values.LocalHeaderOffset);
    const std::shared_ptr<TZATextBlock> block = rebuild.texts.For(variable);
    const std::size_t at = block->size();
    block->insert(block->end(), fields.begin(), fields.end());
    item.SetTexts(block, at, local->FileNameLength, local->ExtraFieldLength, 0);
    if ((local->Flags & ZAFlagDataDescriptor) != 0) {
        rebuild.awaiting.push_back({dataStart, static_cast<std::int32_t>(rebuild.items.size()),
                                    HasZip64Field(item.ExtraArea())});
    }
    rebuild.items.push_back(std::move(item));
    return dataStart;
}

// The name and extra fields are read as in a directory, then the descriptor
// gives the CRC-32 and sizes: the Zip64 field read with the name may have set
// the sizes it replaces.
void TZADirManager::EnterRebuiltItems(TZARebuild& rebuild)
{
    items_.Adopt(std::move(rebuild.items));
    for (int index = 0; index < items_.Count(); ++index) {
        ReadItemFields(items_.ItemPtr(index), index);
    }
    for (const TZARebuild::Descriptor& descriptor : rebuild.descriptors) {
        TDirItem& item = items_.ItemPtr(descriptor.Index);
        item.Header.Crc32 = descriptor.Crc32;
        item.Header.CompressedSize =
            Saturated32(descriptor.CompressedSize, item.Zip64Values.CompressedSize);
        item.Header.UncompressedSize =
            Saturated32(descriptor.UncompressedSize, item.Zip64Values.UncompressedSize);
    }
}
