#pragma once

// The records of a zip archive as this archiver lays them out: local header,
// central header, the extra fields it writes, the Zip64 end record and its
// locator, and the end record. Each record has one function that writes it
// byte by byte and one that reads it back. Readers take whatever bytes they are
// given: a span too short for the record gives no record, and no length field
// read from the data is trusted beyond the bytes that are there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ZAEndian.h"
#include "platform/datetime.h"

using TZAByteSpan = std::span<const std::uint8_t>;

// The signatures of one signature set. A zip archiver writes the standard set;
// the base archiver writes an alternate set of its own.
struct TZASignatureSet {
    std::uint32_t LocalHeader;
    std::uint32_t CentralHeader;
    std::uint32_t EndRecord;
    std::uint32_t Zip64EndRecord;
    std::uint32_t Zip64Locator;
};

inline constexpr TZASignatureSet ZAStandardSignatures{0x04034B50, 0x02014B50, 0x06054B50,
                                                      0x06064B50, 0x07064B50};
inline constexpr TZASignatureSet ZAAlternateSignatures{0x05045C61, 0x03025C61, 0x06054141,
                                                       0x06064B50, 0x07064B50};
// Only looked for when a damaged directory is rebuilt; never written.
inline constexpr std::uint32_t ZADataDescriptorSignature = 0x08074B50;

const TZASignatureSet& SignatureSetFor(bool zipFormat);
// An archive's set is known by the signature of its end record.
bool IsAlternateSignatureSet(std::uint32_t endRecordSignature);

// A 32-bit (or 16-bit) field holding this value has its real value in the
// Zip64 extra field.
inline constexpr std::uint32_t ZAZip64Marker = 0xFFFFFFFF;
inline constexpr std::uint16_t ZAZip64Marker16 = 0xFFFF;

inline constexpr std::uint16_t ZAFlagEncrypted = 0x0001;
inline constexpr std::uint16_t ZAFlagsOfDirectory = 0x0002;
inline constexpr std::uint16_t ZAFlagDataDescriptor = 0x0008;
// Language encoding: the name (and comment) bytes are UTF-8.
inline constexpr std::uint16_t ZAFlagUtf8Name = 0x0800;

inline constexpr std::uint16_t ZAMethodStored = 0;
inline constexpr std::uint16_t ZAMethodDeflate = 8;
inline constexpr std::uint16_t ZAMethodAes = 99;

inline constexpr std::uint16_t ZAZip64FieldId = 0x0001;
inline constexpr std::uint16_t ZAUnicodeNameFieldId = 0x554E;
inline constexpr std::uint16_t ZAAesFieldId = 0x9901;

// The one value stored as version made by and version needed of a new item.
std::uint16_t VersionValue(bool needsZip64, bool oemFileNames, bool alternateSet);

struct TZALocalHeader {
    static constexpr std::size_t Size = 30;

    std::uint32_t Signature = ZAStandardSignatures.LocalHeader;
    std::uint16_t VersionNeeded = 0;
    std::uint16_t Flags = 0;
    std::uint16_t Method = 0;
    std::uint16_t LastModTime = 0;
    std::uint16_t LastModDate = 0;
    std::uint32_t Crc32 = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t UncompressedSize = 0;
    std::uint16_t FileNameLength = 0;
    std::uint16_t ExtraFieldLength = 0;

    void Write(za::Bytes& out) const;
    // The signature is read, not checked: the caller knows which set it expects.
    static std::optional<TZALocalHeader> Read(TZAByteSpan data);
};

struct TZACentralHeader {
    static constexpr std::size_t Size = 46;

    std::uint32_t Signature = ZAStandardSignatures.CentralHeader;
    std::uint16_t VersionMadeBy = 0;
    std::uint16_t VersionNeeded = 0;
    std::uint16_t Flags = 0;
    std::uint16_t Method = 0;
    std::uint16_t LastModTime = 0;
    std::uint16_t LastModDate = 0;
    std::uint32_t Crc32 = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t UncompressedSize = 0;
    std::uint16_t FileNameLength = 0;
    std::uint16_t ExtraFieldLength = 0;
    std::uint16_t FileCommentLength = 0;
    std::uint16_t DiskNumberStart = 0;
    std::uint16_t InternalAttributes = 0;
    std::uint32_t ExternalAttributes = 0;
    std::uint32_t LocalHeaderOffset = 0;

    void Write(za::Bytes& out) const;
    static std::optional<TZACentralHeader> Read(TZAByteSpan data);
};

struct TZAEndRecord {
    static constexpr std::size_t Size = 22;

    std::uint32_t Signature = ZAStandardSignatures.EndRecord;
    std::uint16_t DiskNumber = 0;
    std::uint16_t DirectoryDisk = 0;
    std::uint16_t EntriesOnDisk = 0;
    std::uint16_t TotalEntries = 0;
    std::uint32_t DirectorySize = 0;
    std::uint32_t DirectoryOffset = 0;
    std::uint16_t CommentLength = 0;

    void Write(za::Bytes& out) const;
    static std::optional<TZAEndRecord> Read(TZAByteSpan data);
};

struct TZAZip64EndRecord {
    static constexpr std::size_t Size = 56;
    // The record size field counts the bytes after itself.
    static constexpr std::uint64_t RemainingSize = 44;

    std::uint32_t Signature = ZAStandardSignatures.Zip64EndRecord;
    std::uint64_t RecordSize = RemainingSize;
    std::uint16_t VersionMadeBy = 45;
    std::uint16_t VersionNeeded = 45;
    std::uint32_t DiskNumber = 0;
    std::uint32_t DirectoryDisk = 0;
    std::uint64_t EntriesOnDisk = 0;
    std::uint64_t TotalEntries = 0;
    std::uint64_t DirectorySize = 0;
    std::uint64_t DirectoryOffset = 0;

    void Write(za::Bytes& out) const;
    static std::optional<TZAZip64EndRecord> Read(TZAByteSpan data);
};

struct TZAZip64Locator {
    static constexpr std::size_t Size = 20;

    std::uint32_t Signature = ZAStandardSignatures.Zip64Locator;
    std::uint32_t Zip64EndDisk = 0;
    std::uint64_t Zip64EndOffset = 0;
    std::uint32_t TotalDisks = 0;

    void Write(za::Bytes& out) const;
    static std::optional<TZAZip64Locator> Read(TZAByteSpan data);
};

// The end records of a directory, with the archiver's clamping: volume numbers
// below 0 count as 0, values too large for a field take its all-ones value.
struct TZADirectoryInfo {
    std::int64_t DiskNumber = 0;     // volume after the directory was written
    std::int64_t DirectoryDisk = 0;  // volume before the directory was written
    std::uint64_t Count = 0;
    std::uint64_t DirectorySize = 0;
    std::uint64_t DirectoryOffset = 0;
};

TZAEndRecord MakeEndRecord(const TZASignatureSet& set, const TZADirectoryInfo& info,
                           std::uint16_t commentLength);
// The Zip64 end record goes with a directory that ends at 4 GiB or beyond or
// holds 65535 items or more, whatever the Zip64 mode.
bool NeedsZip64EndRecord(std::uint64_t positionAfterDirectory, std::uint64_t count);
TZAZip64EndRecord MakeZip64EndRecord(const TZADirectoryInfo& info);
TZAZip64Locator MakeZip64Locator(std::int64_t diskNumber, std::uint64_t zip64EndOffset);

// One extra field: header ID, then the data, whose size the 16-bit size field
// gives. Writing a field of more than 65535 data bytes raises Exception.
struct TZAExtraField {
    std::uint16_t HeaderID = 0;
    za::Bytes Data;

    std::size_t WrittenSize() const { return 4 + Data.size(); }
    void Write(za::Bytes& out) const;
};

// One field of an extra area, seen where it lies.
struct TZAExtraFieldView {
    std::uint16_t HeaderID = 0;
    TZAByteSpan Data;

    void Write(za::Bytes& out) const;
};

// The fields of an extra area one after the other, seen in place. A field whose
// size runs past the area is cut to the bytes that remain; a tail shorter than
// a field header is dropped.
class TZAExtraFieldRange {
public:
    class Iterator {
    public:
        Iterator(TZAByteSpan area, std::size_t position);
        TZAExtraFieldView operator*() const;
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return position_ == other.position_; }

    private:
        TZAByteSpan area_;
        std::size_t position_;
    };

    explicit TZAExtraFieldRange(TZAByteSpan area) : area_(area) {}
    Iterator begin() const { return {area_, 0}; }
    Iterator end() const { return {area_, area_.size()}; }

private:
    TZAByteSpan area_;
};

// The fields of an extra area as copies, cut as TZAExtraFieldRange cuts them.
std::vector<TZAExtraField> ReadExtraFields(TZAByteSpan area);

// The 64-bit values of an item that stand in its Zip64 extra field.
struct TZAZip64Values {
    std::uint64_t UncompressedSize = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t LocalHeaderOffset = 0;
    std::uint32_t DiskNumber = 0;
};

// The local header's Zip64 field: both sizes, 20 bytes in all.
TZAExtraField MakeLocalZip64Field(std::uint64_t uncompressedSize, std::uint64_t compressedSize);
inline constexpr std::size_t ZALocalZip64FieldSize = 20;

// The central header's Zip64 field holds a value for each saturated field of
// the header, in the fixed order; none when no field is saturated.
std::optional<TZAExtraField> MakeCentralZip64Field(const TZACentralHeader& header,
                                                   const TZAZip64Values& values);
// Takes the values of the header's saturated fields from a Zip64 field's data,
// each only while the data hold all of its bytes; the others stay unchanged.
void ReadZip64Field(const TZACentralHeader& header, TZAByteSpan data, TZAZip64Values& values);

// The Unicode-name field ("NU", tag "NUCX", count of UTF-16 units, the units).
TZAExtraField MakeUnicodeNameField(std::string_view utf8Name);
// The name of a Unicode-name field's data; none when the data do not start with
// the tag or do not hold the units they announce.
std::optional<std::string> ReadUnicodeNameField(TZAByteSpan data);

// The AES field: vendor version, vendor "AE", key strength (1, 2, 3 for 128,
// 192, 256 bits) and the real compression method.
struct TZAAesField {
    static constexpr std::uint16_t DataSize = 7;
    static constexpr std::uint16_t VendorAE = 0x4541;

    std::uint16_t VendorVersion = 2;
    std::uint16_t VendorId = VendorAE;
    std::uint8_t KeyStrength = 0;
    std::uint16_t ActualMethod = 0;

    TZAExtraField ToExtraField() const;
    static std::optional<TZAAesField> Read(TZAByteSpan data);
};

// MS-DOS time (seconds / 2, minutes, hours) and date (day, month, years since
// 1980). Moments outside 1980 to 2107 are clamped to the nearest one that fits.
struct TZADosDateTime {
    std::uint16_t Time = 0;
    std::uint16_t Date = 0;

    // Date in the high and time in the low 16 bits, the order of a file age.
    std::uint32_t Packed() const { return (std::uint32_t{Date} << 16) | Time; }
    friend bool operator==(const TZADosDateTime&, const TZADosDateTime&) = default;
};

TZADosDateTime DateTimeToDos(const TDateTime& moment);
TDateTime DosToDateTime(TZADosDateTime dos);
TZADosDateTime DosDateTimeNow();

// The bytes of a stored name: the name in the ANSI code page, then converted to
// the OEM code page when OEM names are on. Both forms have one byte per
// character, so the name length field is the size of either.
std::string EncodeStoredName(std::string_view utf8Name, bool oemFileNames);
std::string DecodeStoredName(std::string_view nameBytes, bool oemFileNames);

// The name bytes of a record: the code-page form while the code page holds
// every character of the name; else the name in UTF-8, which flag bit 11
// announces, so that readers that ignore the Unicode-name field still tell
// such names apart instead of reading "?" for each character.
struct TZAStoredNameForm {
    std::string Bytes;
    bool Utf8 = false;
};
TZAStoredNameForm StoredNameForm(std::string_view utf8Name, bool oemFileNames);
