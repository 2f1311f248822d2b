#include "zip/ZADirectoryItems.h"

#include <algorithm>

#include "platform/sysutils.h"
#include "zip/ZAExcept.h"

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

void TDirItem::SetNameBytes(const TZAStoredNameForm& form)
{
    NameBytes = form.Bytes;
    Header.Flags = form.Utf8 ? Header.Flags | ZAFlagUtf8Name
                             : Header.Flags & static_cast<std::uint16_t>(~ZAFlagUtf8Name);
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
        names_.Clear();
        return;
    }
    if (count > capacity_) {
        growBy_ = std::min(growBy_ * 2, kGrowLimit);
        capacity_ = std::max(capacity_ + growBy_, count);
        items_.reserve(static_cast<std::size_t>(capacity_));
    }
    items_.resize(static_cast<std::size_t>(count));
    // Names beyond the items would put the index out of step with them.
    while (names_.Count() > count) {
        names_.Delete(names_.Count() - 1);
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

void TZADirArray::SetItem(int index, const TDirItem& item)
{
    CheckIndex(index, 1);
    const std::string key = AsciiLowerCase(item.FileName);
    if (names_.Count() == index) {
        names_.Add(key);
    } else if (names_.Count() > index) {
        names_.Put(index, key);
    } else {
        throw EZAException(58, "");
    }
    items_[static_cast<std::size_t>(index)] = item;
}

void TZADirArray::Delete(int index)
{
    CheckIndex(index, 4);
    items_.erase(items_.begin() + index);
    if (index < names_.Count()) {
        names_.Delete(index);
    }
}

bool TZADirArray::FindName(const std::string& name, int& index)
{
    index = names_.IndexOf(AsciiLowerCase(name));
    return index >= 0;
}

void TZADirArray::Rename(int index, const std::string& newName)
{
    auto& item = ItemPtr(index);
    const std::string key = AsciiLowerCase(newName);
    // Names holds the key of item i at index i; an item that has none yet is
    // the next one to be entered.
    if (names_.Count() == index) {
        names_.Add(key);
    } else if (names_.Count() > index && names_.Strings(index) == AsciiLowerCase(item.FileName)) {
        names_.Put(index, key);
    } else {
        throw EZAException(59, "");
    }
    item.FileName = newName;
}

void TZADirArray::Clear()
{
    SetCount(0);
    names_.Clear();
}

void TZADirArray::Assign(const TZADirArray& source)
{
    if (&source == this) {
        return;
    }
    Clear();
    SetCount(source.Count());
    for (int i = 0; i < source.Count(); ++i) {
        SetItem(i, source.items_[static_cast<std::size_t>(i)]);
    }
}
