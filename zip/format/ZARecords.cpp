#include "zip/format/ZARecords.h"

#include <algorithm>
#include <limits>

#include "platform/codepages.h"
#include "platform/exception.h"

using za::GetU16;
using za::GetU32;
using za::GetU64;
using za::PutU16;
using za::PutU32;
using za::PutU64;

namespace {

constexpr std::uint32_t kUnicodeNameTag = 0x5843554E;  // "NUCX"
constexpr std::size_t kExtraFieldHeaderSize = 4;

std::uint16_t Clamp16(std::uint64_t value)
{
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(value, ZAZip64Marker16));
}

std::uint32_t Clamp32(std::uint64_t value)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, ZAZip64Marker));
}

std::uint64_t NotBelowZero(std::int64_t volume)
{
    return volume < 0 ? 0 : static_cast<std::uint64_t>(volume);
}

}  // namespace

const TZASignatureSet& SignatureSetFor(bool zipFormat)
{
    return zipFormat ? ZAStandardSignatures : ZAAlternateSignatures;
}

bool IsAlternateSignatureSet(std::uint32_t endRecordSignature)
{
    return endRecordSignature == ZAAlternateSignatures.EndRecord;
}

std::uint16_t VersionValue(bool needsZip64, bool oemFileNames, bool alternateSet)
{
    if (needsZip64)
        return alternateSet ? 0x412D : 0x002D;
    if (alternateSet)
        return 0x4114;
    return oemFileNames ? 0x0014 : 0x0B14;
}

void TZALocalHeader::Write(za::Bytes& out) const
{
    PutU32(out, Signature);
    PutU16(out, VersionNeeded);
    PutU16(out, Flags);
    PutU16(out, Method);
    PutU16(out, LastModTime);
    PutU16(out, LastModDate);
    PutU32(out, Crc32);
    PutU32(out, CompressedSize);
    PutU32(out, UncompressedSize);
    PutU16(out, FileNameLength);
    PutU16(out, ExtraFieldLength);
}

std::optional<TZALocalHeader> TZALocalHeader::Read(TZAByteSpan data)
{
    if (data.size() < Size)
        return std::nullopt;
    const std::uint8_t* p = data.data();
    TZALocalHeader h;
    h.Signature = GetU32(p);
    h.VersionNeeded = GetU16(p + 4);
    h.Flags = GetU16(p + 6);
    h.Method = GetU16(p + 8);
    h.LastModTime = GetU16(p + 10);
    h.LastModDate = GetU16(p + 12);
    h.Crc32 = GetU32(p + 14);
    h.CompressedSize = GetU32(p + 18);
    h.UncompressedSize = GetU32(p + 22);
    h.FileNameLength = GetU16(p + 26);
    h.ExtraFieldLength = GetU16(p + 28);
    return h;
}

void TZACentralHeader::Write(za::Bytes& out) const
{
    PutU32(out, Signature);
    PutU16(out, VersionMadeBy);
    PutU16(out, VersionNeeded);
    PutU16(out, Flags);
    PutU16(out, Method);
    PutU16(out, LastModTime);
    PutU16(out, LastModDate);
    PutU32(out, Crc32);
    PutU32(out, CompressedSize);
    PutU32(out, UncompressedSize);
    PutU16(out, FileNameLength);
    PutU16(out, ExtraFieldLength);
    PutU16(out, FileCommentLength);
    PutU16(out, DiskNumberStart);
    PutU16(out, InternalAttributes);
    PutU32(out, ExternalAttributes);
    PutU32(out, LocalHeaderOffset);
}

std::optional<TZACentralHeader> TZACentralHeader::Read(TZAByteSpan data)
{
    if (data.size() < Size)
        return std::nullopt;
    const std::uint8_t* p = data.data();
    TZACentralHeader h;
    h.Signature = GetU32(p);
    h.VersionMadeBy = GetU16(p + 4);
    h.VersionNeeded = GetU16(p + 6);
    h.Flags = GetU16(p + 8);
    h.Method = GetU16(p + 10);
    h.LastModTime = GetU16(p + 12);
    h.LastModDate = GetU16(p + 14);
    h.Crc32 = GetU32(p + 16);
    h.CompressedSize = GetU32(p + 20);
    h.UncompressedSize = GetU32(p + 24);
    h.FileNameLength = GetU16(p + 28);
    h.ExtraFieldLength = GetU16(p + 30);
    h.FileCommentLength = GetU16(p + 32);
    h.DiskNumberStart = GetU16(p + 34);
    h.InternalAttributes = GetU16(p + 36);
    h.ExternalAttributes = GetU32(p + 38);
    h.LocalHeaderOffset = GetU32(p + 42);
    return h;
}

void TZAEndRecord::Write(za::Bytes& out) const
{
    PutU32(out, Signature);
    PutU16(out, DiskNumber);
    PutU16(out, DirectoryDisk);
    PutU16(out, EntriesOnDisk);
    PutU16(out, TotalEntries);
    PutU32(out, DirectorySize);
    PutU32(out, DirectoryOffset);
    PutU16(out, CommentLength);
}

std::optional<TZAEndRecord> TZAEndRecord::Read(TZAByteSpan data)
{
    if (data.size() < Size)
        return std::nullopt;
    const std::uint8_t* p = data.data();
    TZAEndRecord r;
    r.Signature = GetU32(p);
    r.DiskNumber = GetU16(p + 4);
    r.DirectoryDisk = GetU16(p + 6);
    r.EntriesOnDisk = GetU16(p + 8);
    r.TotalEntries = GetU16(p + 10);
    r.DirectorySize = GetU32(p + 12);
    r.DirectoryOffset = GetU32(p + 16);
    r.CommentLength = GetU16(p + 20);
    return r;
}

void TZAZip64EndRecord::Write(za::Bytes& out) const
{
    PutU32(out, Signature);
    PutU64(out, RecordSize);
    PutU16(out, VersionMadeBy);
    PutU16(out, VersionNeeded);
    PutU32(out, DiskNumber);
    PutU32(out, DirectoryDisk);
    PutU64(out, EntriesOnDisk);
    PutU64(out, TotalEntries);
    PutU64(out, DirectorySize);
    PutU64(out, DirectoryOffset);
}

std::optional<TZAZip64EndRecord> TZAZip64EndRecord::Read(TZAByteSpan data)
{
    if (data.size() < Size)
        return std::nullopt;
    const std::uint8_t* p = data.data();
    TZAZip64EndRecord r;
    r.Signature = GetU32(p);
    r.RecordSize = GetU64(p + 4);
    r.VersionMadeBy = GetU16(p + 12);
    r.VersionNeeded = GetU16(p + 14);
    r.DiskNumber = GetU32(p + 16);
    r.DirectoryDisk = GetU32(p + 20);
    r.EntriesOnDisk = GetU64(p + 24);
    r.TotalEntries = GetU64(p + 32);
    r.DirectorySize = GetU64(p + 40);
    r.DirectoryOffset = GetU64(p + 48);
    return r;
}

void TZAZip64Locator::Write(za::Bytes& out) const
{
    PutU32(out, Signature);
    PutU32(out, Zip64EndDisk);
    PutU64(out, Zip64EndOffset);
    PutU32(out, TotalDisks);
}

std::optional<TZAZip64Locator> TZAZip64Locator::Read(TZAByteSpan data)
{
    if (data.size() < Size)
        return std::nullopt;
    const std::uint8_t* p = data.data();
    TZAZip64Locator r;
    r.Signature = GetU32(p);
    r.Zip64EndDisk = GetU32(p + 4);
    r.Zip64EndOffset = GetU64(p + 8);
    r.TotalDisks = GetU32(p + 16);
    return r;
}

TZAEndRecord MakeEndRecord(const TZASignatureSet& set, const TZADirectoryInfo& info,
                           std::uint16_t commentLength)
{
    TZAEndRecord r;
    r.Signature = set.EndRecord;
    r.DiskNumber = Clamp16(NotBelowZero(info.DiskNumber));
    r.DirectoryDisk = Clamp16(NotBelowZero(info.DirectoryDisk));
    r.EntriesOnDisk = Clamp16(info.Count);
    r.TotalEntries = r.EntriesOnDisk;
    r.DirectorySize = Clamp32(info.DirectorySize);
    r.DirectoryOffset = Clamp32(info.DirectoryOffset);
    r.CommentLength = commentLength;
    return r;
}

bool NeedsZip64EndRecord(std::uint64_t positionAfterDirectory, std::uint64_t count)
{
    return positionAfterDirectory >= ZAZip64Marker || count >= ZAZip64Marker16;
}

TZAZip64EndRecord MakeZip64EndRecord(const TZADirectoryInfo& info)
{
    TZAZip64EndRecord r;
    r.DiskNumber = Clamp32(NotBelowZero(info.DiskNumber));
    r.DirectoryDisk = Clamp32(NotBelowZero(info.DirectoryDisk));
    r.EntriesOnDisk = info.Count;
    r.TotalEntries = info.Count;
    r.DirectorySize = info.DirectorySize;
    r.DirectoryOffset = info.DirectoryOffset;
    return r;
}

TZAZip64Locator MakeZip64Locator(std::int64_t diskNumber, std::uint64_t zip64EndOffset)
{
    TZAZip64Locator r;
    r.Zip64EndDisk = Clamp32(NotBelowZero(diskNumber));
    r.Zip64EndOffset = zip64EndOffset;
    r.TotalDisks = r.Zip64EndDisk + 1;
    return r;
}

void TZAExtraFieldView::Write(za::Bytes& out) const
{
    if (Data.size() > std::numeric_limits<std::uint16_t>::max())
        throw Exception("Extra field of " + std::to_string(Data.size()) +
                        " bytes does not fit a zip record");
    PutU16(out, HeaderID);
    PutU16(out, static_cast<std::uint16_t>(Data.size()));
    out.insert(out.end(), Data.begin(), Data.end());
}

void TZAExtraField::Write(za::Bytes& out) const
{
    TZAExtraFieldView{HeaderID, Data}.Write(out);
}

TZAExtraFieldRange::Iterator::Iterator(TZAByteSpan area, std::size_t position)
    : area_(area),
      // A tail too short for a field header ends the fields.
      position_(area.size() - std::min(position, area.size()) < kExtraFieldHeaderSize ? area.size()
                                                                                      : position)
{
}

TZAExtraFieldView TZAExtraFieldRange::Iterator::operator*() const
{
    const std::size_t size = std::min<std::size_t>(
        GetU16(area_.data() + position_ + 2), area_.size() - position_ - kExtraFieldHeaderSize);
    return {GetU16(area_.data() + position_),
            area_.subspan(position_ + kExtraFieldHeaderSize, size)};
}

TZAExtraFieldRange::Iterator& TZAExtraFieldRange::Iterator::operator++()
{
    *this = Iterator(area_, position_ + kExtraFieldHeaderSize + (**this).Data.size());
    return *this;
}

std::vector<TZAExtraField> ReadExtraFields(TZAByteSpan area)
{
    std::vector<TZAExtraField> fields;
    for (const TZAExtraFieldView field : TZAExtraFieldRange(area)) {
        fields.push_back({field.HeaderID, za::Bytes(field.Data.begin(), field.Data.end())});
    }
    return fields;
}

TZAExtraField MakeLocalZip64Field(std::uint64_t uncompressedSize, std::uint64_t compressedSize)
{
    TZAExtraField field{ZAZip64FieldId, {}};
    PutU64(field.Data, uncompressedSize);
    PutU64(field.Data, compressedSize);
    return field;
}

std::optional<TZAExtraField> MakeCentralZip64Field(const TZACentralHeader& header,
                                                   const TZAZip64Values& values)
{
    TZAExtraField field{ZAZip64FieldId, {}};
    if (header.UncompressedSize == ZAZip64Marker)
        PutU64(field.Data, values.UncompressedSize);
    if (header.CompressedSize == ZAZip64Marker)
        PutU64(field.Data, values.CompressedSize);
    if (header.LocalHeaderOffset == ZAZip64Marker)
        PutU64(field.Data, values.LocalHeaderOffset);
    if (header.DiskNumberStart == ZAZip64Marker16)
        PutU32(field.Data, values.DiskNumber);
    if (field.Data.empty())
        return std::nullopt;
    return field;
}

void ReadZip64Field(const TZACentralHeader& header, TZAByteSpan data, TZAZip64Values& values)
{
    // The values stand in a fixed order: once one is cut short, none follows.
    std::size_t pos = 0;
    bool complete = true;
    const auto take = [&](bool present, std::size_t size, auto& value) {
        if (!present || !complete)
            return;
        complete = data.size() - pos >= size;
        if (!complete)
            return;
        value = size == 8 ? GetU64(data.data() + pos) : GetU32(data.data() + pos);
        pos += size;
    };
    take(header.UncompressedSize == ZAZip64Marker, 8, values.UncompressedSize);
    take(header.CompressedSize == ZAZip64Marker, 8, values.CompressedSize);
    take(header.LocalHeaderOffset == ZAZip64Marker, 8, values.LocalHeaderOffset);
    take(header.DiskNumberStart == ZAZip64Marker16, 4, values.DiskNumber);
}

TZAExtraField MakeUnicodeNameField(std::string_view utf8Name)
{
    const std::u16string units = Utf8ToUtf16(utf8Name);
    TZAExtraField field{ZAUnicodeNameFieldId, {}};
    field.Data.reserve(8 + 2 * units.size());
    PutU32(field.Data, kUnicodeNameTag);
    PutU32(field.Data, static_cast<std::uint32_t>(units.size()));
    for (char16_t unit : units)
        PutU16(field.Data, unit);
    return field;
}

std::optional<std::string> ReadUnicodeNameField(TZAByteSpan data)
{
    if (data.size() < 8 || GetU32(data.data()) != kUnicodeNameTag)
        return std::nullopt;
    const std::uint64_t count = GetU32(data.data() + 4);
    if (count > (data.size() - 8) / 2)
        return std::nullopt;
    std::u16string units(static_cast<std::size_t>(count), u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(GetU16(data.data() + 8 + 2 * i));
    return Utf16ToUtf8(units);
}

TZAExtraField TZAAesField::ToExtraField() const
{
    TZAExtraField field{ZAAesFieldId, {}};
    PutU16(field.Data, VendorVersion);
    PutU16(field.Data, VendorId);
    za::PutU8(field.Data, KeyStrength);
    PutU16(field.Data, ActualMethod);
    return field;
}

std::optional<TZAAesField> TZAAesField::Read(TZAByteSpan data)
{
    if (data.size() < DataSize)
        return std::nullopt;
    TZAAesField field;
    field.VendorVersion = GetU16(data.data());
    field.VendorId = GetU16(data.data() + 2);
    field.KeyStrength = data[4];
    field.ActualMethod = GetU16(data.data() + 5);
    return field;
}

TZADosDateTime DateTimeToDos(const TDateTime& moment)
{
    if (moment.Year < 1980)
        return {0, (1 << 5) | 1};
    if (moment.Year > 2107)
        return DateTimeToDos({2107, 12, 31, 23, 59, 58});
    TZADosDateTime dos;
    dos.Time = static_cast<std::uint16_t>((moment.Hour << 11) | (moment.Minute << 5) |
                                          (moment.Second / 2));
    dos.Date =
        static_cast<std::uint16_t>(((moment.Year - 1980) << 9) | (moment.Month << 5) | moment.Day);
    return dos;
}

TDateTime DosToDateTime(TZADosDateTime dos)
{
    TDateTime moment;
    moment.Year = 1980 + (dos.Date >> 9);
    moment.Month = (dos.Date >> 5) & 0x0F;
    moment.Day = dos.Date & 0x1F;
    moment.Hour = dos.Time >> 11;
    moment.Minute = (dos.Time >> 5) & 0x3F;
    moment.Second = (dos.Time & 0x1F) * 2;
    return moment;
}

TZADosDateTime DosDateTimeNow()
{
    return DateTimeToDos(Now());
}

std::string EncodeStoredName(std::string_view utf8Name, bool oemFileNames)
{
    std::string ansi = Utf8ToAnsi(utf8Name);
    return oemFileNames ? CharToOem(ansi) : ansi;
}

std::string DecodeStoredName(std::string_view nameBytes, bool oemFileNames)
{
    // Straight from the OEM page: characters it has and the ANSI page lacks
    // (box drawing, the dotless i) keep their meaning instead of becoming "?".
    return oemFileNames ? OemToUtf8(nameBytes) : AnsiToUtf8(nameBytes);
}

TZAStoredNameForm StoredNameForm(std::string_view utf8Name, bool oemFileNames)
{
    TZAStoredNameForm form{EncodeStoredName(utf8Name, oemFileNames), false};
    // Bytes that are not UTF-8 to begin with have no better form to take.
    if (DecodeStoredName(form.Bytes, oemFileNames) != utf8Name && IsValidUtf8(utf8Name)) {
        form = {std::string(utf8Name), true};
    }
    return form;
}
