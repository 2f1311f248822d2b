#pragma once

// The in-memory directory of an open archive: one record per item in the
// order of the central directory, with a hashed index of the stored names.
// Indexes count from 0.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtti.h"
#include "zip/ZADirectoryHash.h"
#include "zip/ZARecords.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiverTypes.h"

struct TDirItem {
    // The central directory header as it is written, 32-bit fields included.
    TZACentralHeader Header;
    std::string FileName;  // stored name, "/" as separator
    // The name as its records carry it: the bytes read, or the ones last
    // written; empty until then. A kept item goes back with these bytes.
    std::string NameBytes;
    std::string SecondName;
    std::string Comment;                     // raw bytes
    std::vector<TZAExtraField> ExtraFields;  // kept for the central directory
    std::uint8_t AESStrength = 0;            // 0 none or classic, 1/2/3 = 128/192/256-bit keys
    bool Zip64 = false;
    // Valid where the field of the header is saturated.
    TZAZip64Values Zip64Values;
    bool Pending = false;  // new or changed in the current update
    std::string Password;
    // Items added from a stream read their data from here; the item shares
    // the stream with whoever else holds it.
    std::shared_ptr<TStream> SourceStream;
    std::int32_t SourceStreamOffset = 0;
    std::string SourceFileName;  // empty for stream items
    std::uint16_t Method = 0;    // in force for the item; the real one of an AES item
    std::uint8_t CompressionMode = 0;
    TZAProcessOperation Operation = poAdd;
    std::uint16_t RequestedMethod = 0;

    bool IsDirectory() const { return (Header.ExternalAttributes & 0x10) != 0; }
    // The 64-bit value where the header's 32-bit field is saturated.
    std::uint64_t CompressedSize() const;
    std::uint64_t UncompressedSize() const;
    std::uint64_t LocalHeaderOffset() const;
    // Takes the form's bytes and sets or clears the UTF-8 flag to match.
    void SetNameBytes(const TZAStoredNameForm& form);
    // The volume of the local header: from 65535 on the header field is
    // saturated and the Zip64 field carries the whole number.
    void SetDiskNumberStart(std::uint32_t volume);
};

class TZADirArray : public TObject {
public:
    TZADirArray();

    int Count() const { return static_cast<int>(items_.size()); }
    // Growing reserves in steps that double up to GrowLimit records; 0
    // releases everything.
    void SetCount(int count);
    int Capacity() const { return capacity_; }

    TDirItem Item(int index) const;  // code 2
    TDirItem& ItemPtr(int index);    // code 3
    const TDirItem& ItemPtr(int index) const;
    void SetItem(int index, const TDirItem& item);  // codes 1, 58
    void Delete(int index);                         // code 4
    bool FindName(const std::string& name, int& index);
    void Rename(int index, const std::string& newName);  // code 59
    void Clear();
    void Assign(const TZADirArray& source);

    const TZAHashedStringList& Names() const { return names_; }

private:
    static constexpr int kFirstGrowBy = 500;
    static constexpr int kGrowLimit = 10000;

    void CheckIndex(int index, int errorCode) const;

    std::vector<TDirItem> items_;
    TZAHashedStringList names_;
    int growBy_ = kFirstGrowBy;
    int capacity_ = 0;
};
