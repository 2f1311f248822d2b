#pragma once

// The in-memory directory of an open archive: one record per item in the
// order of the central directory, with a hashed index of the stored names.
// Indexes count from 0.
//
// A directory of 100,000 items is read, kept and freed without an allocation
// per item: the records lie in one array, and the name bytes, extra fields and
// comments of the items read stay in the block of directory bytes they came
// in, which the items share. Texts that an item gets later go to a block of
// its own or, for names the directory decodes, to a block its array shares.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ZAStream.h"
#include "platform/rtti.h"
#include "zip/directory/ZADirectoryHash.h"
#include "zip/format/ZARecords.h"
#include "zip/format/ZipArchiverTypes.h"

// Bytes that items point into. A block never grows past the capacity it was
// made with, so the bytes stay where they are while any item holds the block.
using TZATextBlock = za::Bytes;

// Room for texts in blocks that many items share, so that short texts cost no
// allocation each.
class TZATextRoom {
public:
    // A block with room for size more bytes at its end.
    std::shared_ptr<TZATextBlock> For(std::size_t size);
    void Release() { block_.reset(); }

private:
    std::shared_ptr<TZATextBlock> block_;
};

// An owned value that is copied along with its owner; absent until made.
template <typename T>
class TZACopiedPtr {
public:
    TZACopiedPtr() = default;
    TZACopiedPtr(const TZACopiedPtr& other) : value_(Copy(other)) {}
    TZACopiedPtr& operator=(const TZACopiedPtr& other)
    {
        value_ = Copy(other);
        return *this;
    }
    TZACopiedPtr(TZACopiedPtr&&) noexcept = default;
    TZACopiedPtr& operator=(TZACopiedPtr&&) noexcept = default;
    ~TZACopiedPtr() = default;

    const T* Get() const { return value_.get(); }
    T& GetOrMake()
    {
        if (!value_) {
            value_ = std::make_unique<T>();
        }
        return *value_;
    }

private:
    static std::unique_ptr<T> Copy(const TZACopiedPtr& other)
    {
        return other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
    }

    std::unique_ptr<T> value_;
};

// What an update needs to write an item anew; items read from an archive
// have none of it.
struct TDirItemSource {
    std::string SecondName;  // the name a renamed item had
    std::string Password;
    // Items added from a stream read their data from here; the item shares
    // the stream with whoever else holds it.
    std::shared_ptr<TStream> SourceStream;
    std::int32_t SourceStreamOffset = 0;
    std::string SourceFileName;  // empty for stream items
};

class TDirItem {
public:
    // The central directory header as it is written, 32-bit fields included.
    TZACentralHeader Header;
    // Valid where the field of the header is saturated.
    TZAZip64Values Zip64Values;
    std::uint16_t Method = 0;  // in force for the item; the real one of an AES item
    std::uint16_t RequestedMethod = 0;
    std::uint8_t CompressionMode = 0;
    TZAProcessOperation Operation = poAdd;
    std::uint8_t AESStrength = 0;  // 0 none or classic, 1/2/3 = 128/192/256-bit keys
    bool Zip64 = false;
    bool Pending = false;  // new or changed in the current update

    // The stored name, "/" as separator. An item in an array is renamed
    // through the array, which keeps its name index in step.
    std::string_view FileName() const;
    void SetFileName(std::string_view name);
    // The name as its records carry it: the bytes read, or the ones last
    // written; empty until then. A kept item goes back with these bytes.
    std::string_view NameBytes() const;
    // Takes the form's bytes and sets or clears the UTF-8 flag to match.
    void SetNameBytes(const TZAStoredNameForm& form);
    std::string_view Comment() const;  // raw bytes
    void SetComment(std::string_view comment);
    // Kept for the central directory as they were read or entered; the
    // area is the fields' bytes one after the other.
    TZAExtraFieldRange ExtraFields() const;
    TZAByteSpan ExtraArea() const;
    void SetExtraFields(TZAByteSpan area);
    // Points the texts at bytes of a block: the name bytes, the extra fields
    // and the comment one after the other, as a central record holds them.
    // The stored name is the name bytes until it is set apart.
    void SetTexts(std::shared_ptr<const TZATextBlock> block, std::size_t at,
                  std::uint16_t nameBytesSize, std::uint16_t extraSize, std::uint16_t commentSize);

    // Empty for items read from an archive.
    const TDirItemSource& Source() const;
    TDirItemSource& EditSource();

    bool IsDirectory() const { return (Header.ExternalAttributes & 0x10) != 0; }
    // The 64-bit value where the header's 32-bit field is saturated.
    std::uint64_t CompressedSize() const;
    std::uint64_t UncompressedSize() const;
    std::uint64_t LocalHeaderOffset() const;
    // The volume of the local header: from 65535 on the header field is
    // saturated and the Zip64 field carries the whole number.
    void SetDiskNumberStart(std::uint32_t volume);

private:
    friend class TZADirArray;

    struct Texts {
        std::string_view nameBytes;
        TZAByteSpan extra;
        std::string_view comment;
        std::string_view fileName;
    };
    Texts AllTexts() const;
    // Copies the texts into a new block: one of its own, or the room that
    // the caller found for them in a block it shares.
    void StoreTexts(const Texts& texts);
    void StoreTexts(const Texts& texts, std::shared_ptr<TZATextBlock> block);
    static std::size_t SizeOf(const Texts& texts);
    // Keeps the stored name in the name bytes when the two are the same.
    bool NameIsNameBytes(std::string_view name);

    // The stored name is not set apart from the name bytes.
    static constexpr std::uint32_t kNameIsNameBytes = 0xFFFFFFFF;

    // The first text byte, holding the block it lies in.
    std::shared_ptr<const char> texts_;
    std::uint32_t nameBytesSize_ = 0;
    std::uint32_t extraSize_ = 0;
    std::uint32_t commentSize_ = 0;
    std::uint32_t fileNameSize_ = kNameIsNameBytes;
    TZACopiedPtr<TDirItemSource> source_;
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
    // Among items of the same name, the last one is found.
    bool FindName(std::string_view name, int& index);
    void Rename(int index, std::string_view newName);  // code 59
    void Clear();
    void Assign(const TZADirArray& source);
    // Takes the items of a directory made elsewhere whole; their names are
    // entered as each is renamed in turn, as when a directory is read.
    void Adopt(std::vector<TDirItem> items);

private:
    static constexpr int kFirstGrowBy = 500;
    static constexpr int kGrowLimit = 10000;

    void CheckIndex(int index, int errorCode) const;
    // Around a change of the name of the item at index, which is either the
    // next item to get its name entered or one that has it entered already.
    void TakeNameOut(int index, int errorCode);
    void PutNameIn(int index);
    void MakeIndexCurrent();

    std::vector<TDirItem> items_;
    // Items below this count have their names entered, in order; the index
    // is built from them on the first look-up and kept in step after that.
    int named_ = 0;
    TZANameIndex index_;
    bool indexCurrent_ = false;
    // The texts of renamed items.
    TZATextRoom names_;
    int growBy_ = kFirstGrowBy;
    int capacity_ = 0;
};
