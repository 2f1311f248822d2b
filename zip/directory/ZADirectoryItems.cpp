#include "zip/directory/ZADirectoryItems.h"

#include <algorithm>
#include <cstring>

#include "platform/sysutils.h"
#include "zip/format/ZAExcept.h"

namespace {

// Texts of many items go into blocks of this size.
constexpr std::size_t kTextBlockSize = 64 * 1024;

void Append(TZATextBlock& block, const void* bytes, std::size_t size)
{
    const std::size_t at = block.size();
    block.resize(at + size);
    if (size > 0) {
        std::memcpy(block.data() + at, bytes, size);
    }
}

}  // namespace

// A block never grows past the capacity it was made with, so the bytes that
// items point into stay where they are.
std::shared_ptr<TZATextBlock> TZATextRoom::For(std::size_t size)
{
    if (!block_ || block_->capacity() - block_->size() < size) {
        block_ = std::make_shared<TZATextBlock>();
        block_->reserve(std::max(kTextBlockSize, size));
    }
    return block_;
}

std::string_view TDirItem::NameBytes() const
{
    return texts_ ? std::string_view(texts_.get(), nameBytesSize_) : std::string_view();
}

TZAByteSpan TDirItem::ExtraArea() const
{
    if (!texts_) {
        return {};
    }
    return {reinterpret_cast<const std::uint8_t*>(texts_.get()) + nameBytesSize_, extraSize_};
}

std::string_view TDirItem::Comment() const
{
    if (!texts_) {
        return {};
    }
    return {texts_.get() + nameBytesSize_ + extraSize_, commentSize_};
}

std::string_view TDirItem::FileName() const
{
    if (fileNameSize_ == kNameIsNameBytes) {
        return NameBytes();
    }
    return {texts_.get() + nameBytesSize_ + extraSize_ + commentSize_, fileNameSize_};
}

TZAExtraFieldRange TDirItem::ExtraFields() const
{
    return TZAExtraFieldRange(ExtraArea());
}

TDirItem::Texts TDirItem::AllTexts() const
{
    return {NameBytes(), ExtraArea(), Comment(), FileName()};
}

void TDirItem::SetTexts(std::shared_ptr<const TZATextBlock> block, std::size_t at,
                        std::uint16_t nameBytesSize, std::uint16_t extraSize,
                        std::uint16_t commentSize)
{
    const auto* first = reinterpret_cast<const char*>(block->data() + at);
    texts_ = std::shared_ptr<const char>(std::move(block), first);
    nameBytesSize_ = nameBytesSize;
    extraSize_ = extraSize;
    commentSize_ = commentSize;
    fileNameSize_ = kNameIsNameBytes;
}

std::size_t TDirItem::SizeOf(const Texts& texts)
{
    const std::size_t name = texts.fileName == texts.nameBytes ? 0 : texts.fileName.size();
    return texts.nameBytes.size() + texts.extra.size() + texts.comment.size() + name;
}

void TDirItem::StoreTexts(const Texts& texts)
{
    auto block = std::make_shared<TZATextBlock>();
    block->reserve(SizeOf(texts));
    StoreTexts(texts, std::move(block));
}

// The texts may lie in the block they are copied into: it does not move, as
// the room for them is there already.
void TDirItem::StoreTexts(const Texts& texts, std::shared_ptr<TZATextBlock> block)
{
    const std::size_t at = block->size();
    Append(*block, texts.nameBytes.data(), texts.nameBytes.size());
    Append(*block, texts.extra.data(), texts.extra.size());
    Append(*block, texts.comment.data(), texts.comment.size());
    const bool nameApart = texts.fileName != texts.nameBytes;
    if (nameApart) {
        Append(*block, texts.fileName.data(), texts.fileName.size());
    }
    const auto* first = reinterpret_cast<const char*>(block->data() + at);
    texts_ = std::shared_ptr<const char>(std::move(block), first);
    nameBytesSize_ = static_cast<std::uint32_t>(texts.nameBytes.size());
    extraSize_ = static_cast<std::uint32_t>(texts.extra.size());
    commentSize_ = static_cast<std::uint32_t>(texts.comment.size());
    fileNameSize_ =
        nameApart ? static_cast<std::uint32_t>(texts.fileName.size()) : kNameIsNameBytes;
}

bool TDirItem::NameIsNameBytes(std::string_view name)
{
    if (name != NameBytes()) {
        return false;
    }
    fileNameSize_ = kNameIsNameBytes;
    return true;
}

void TDirItem::SetFileName(std::string_view name)
{
    if (NameIsNameBytes(name)) {
        return;
    }
    Texts texts = AllTexts();
    texts.fileName = name;
    StoreTexts(texts);
}

void TDirItem::SetNameBytes(const TZAStoredNameForm& form)
{
    Texts texts = AllTexts();
    texts.nameBytes = form.Bytes;
    StoreTexts(texts);
    Header.Flags = form.Utf8 ? Header.Flags | ZAFlagUtf8Name
                             : Header.Flags & static_cast<std::uint16_t>(~ZAFlagUtf8Name);
}

void TDirItem::SetComment(std::string_view comment)
{
    if (comment == Comment()) {
        return;
    }
    Texts texts = AllTexts();
    texts.comment = comment;
    StoreTexts(texts);
}

void TDirItem::SetExtraFields(TZAByteSpan area)
{
    if (std::ranges::equal(area, ExtraArea())) {
        return;
    }
    Texts texts = AllTexts();
    texts.extra = area;
    StoreTexts(texts);
}

const TDirItemSource& TDirItem::Source() const
{
    static const TDirItemSource none;
    return source_.Get() != nullptr ? *source_.Get() : none;
}

TDirItemSource& TDirItem::EditSource()
{
    return source_.GetOrMake();
}

std::uint64_t TDirItem::CompressedSize() const
{
    return Header.CompressedSize == ZAZip64Marker ? Zip64Values.CompressedSize
                                                  : Header.CompressedSize;
}

std::uint64_t TDirItem::UncompressedSize() const
{
    return Header.UncompressedSize == ZAZip64Marker ? Zip64Values.UncompressedSize
                                                    : Header.UncompressedSize;
}

std::uint64_t TDirItem::LocalHeaderOffset() const
{
    return Header.LocalHeaderOffset == ZAZip64Marker ? Zip64Values.LocalHeaderOffset
                                                     : Header.LocalHeaderOffset;
}

void TDirItem::SetDiskNumberStart(std::uint32_t volume)
{
    if (volume < ZAZip64Marker16) {
        Header.DiskNumberStart = static_cast<std::uint16_t>(volume);
        return;
    }
    Header.DiskNumberStart = ZAZip64Marker16;
    Zip64Values.DiskNumber = volume;
    Zip64 = true;
}

TZADirArray::TZADirArray() = default;

void TZADirArray::CheckIndex(int index, int errorCode) const
{
    if (index < 0 || index >= Count()) {
        throw EZAException(errorCode, "");
    }
}

void TZADirArray::SetCount(int count)
{
    if (count <= 0) {
        items_ = {};
        capacity_ = 0;
        named_ = 0;
        index_.Clear();
        indexCurrent_ = false;
        names_.Release();
        return;
    }
    if (count > capacity_) {
        growBy_ = std::min(growBy_ * 2, kGrowLimit);
        capacity_ = std::max(capacity_ + growBy_, count);
        items_.reserve(static_cast<std::size_t>(capacity_));
    }
    items_.resize(static_cast<std::size_t>(count));
    // Names beyond the items would put the index out of step with them.
    if (named_ > count) {
        named_ = count;
        indexCurrent_ = false;
    }
}

TDirItem TZADirArray::Item(int index) const
{
    CheckIndex(index, 2);
    return items_[static_cast<std::size_t>(index)];
}

TDirItem& TZADirArray::ItemPtr(int index)
{
    CheckIndex(index, 3);
    return items_[static_cast<std::size_t>(index)];
}

const TDirItem& TZADirArray::ItemPtr(int index) const
{
    CheckIndex(index, 3);
    return items_[static_cast<std::size_t>(index)];
}

void TZADirArray::TakeNameOut(int index, int errorCode)
{
    if (index > named_) {
        throw EZAException(errorCode, "");
    }
    if (index < named_ && indexCurrent_) {
        index_.Remove(items_[static_cast<std::size_t>(index)].FileName(), index);
    }
}

void TZADirArray::PutNameIn(int index)
{
    if (index == named_) {
        ++named_;
    }
    if (indexCurrent_) {
        index_.Add(items_[static_cast<std::size_t>(index)].FileName(), index);
    }
}

void TZADirArray::SetItem(int index, const TDirItem& item)
{
    CheckIndex(index, 1);
    // Copied first, so that a failing copy leaves the index as it was.
    TDirItem copy = item;
    TakeNameOut(index, 58);
    items_[static_cast<std::size_t>(index)] = std::move(copy);
    PutNameIn(index);
}

void TZADirArray::Delete(int index)
{
    CheckIndex(index, 4);
    items_.erase(items_.begin() + index);
    if (index < named_) {
        --named_;
    }
    // The items behind it moved down by one.
    indexCurrent_ = false;
}

bool TZADirArray::FindName(std::string_view name, int& index)
{
    MakeIndexCurrent();
    index = index_.Find(name, [&](std::int32_t candidate) {
        return AsciiSameText(items_[static_cast<std::size_t>(candidate)].FileName(), name);
    });
    return index >= 0;
}

void TZADirArray::MakeIndexCurrent()
{
    if (indexCurrent_) {
        return;
    }
    index_.Clear();
    index_.Reserve(static_cast<std::size_t>(named_));
    for (int i = 0; i < named_; ++i) {
        index_.Add(items_[static_cast<std::size_t>(i)].FileName(), i);
    }
    indexCurrent_ = true;
}

void TZADirArray::Rename(int index, std::string_view newName)
{
    TDirItem& item = ItemPtr(index);
    TakeNameOut(index, 59);
    if (!item.NameIsNameBytes(newName)) {
        TDirItem::Texts texts = item.AllTexts();
        texts.fileName = newName;
        item.StoreTexts(texts, names_.For(TDirItem::SizeOf(texts)));
    }
    PutNameIn(index);
}

void TZADirArray::Clear()
{
    SetCount(0);
}

void TZADirArray::Assign(const TZADirArray& source)
{
    if (&source == this) {
        return;
    }
    Clear();
    SetCount(source.Count());
    std::copy(source.items_.begin(), source.items_.end(), items_.begin());
    named_ = Count();
}

void TZADirArray::Adopt(std::vector<TDirItem> items)
{
    Clear();
    items_ = std::move(items);
    capacity_ = Count();
}
