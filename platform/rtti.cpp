#include "platform/rtti.h"

#include <algorithm>
#include <stdexcept>

std::vector<const TPropInfo*> TClassInfo::AllProperties() const
{
    std::vector<const TPropInfo*> all =
        Parent ? Parent->AllProperties() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& property : Properties)
        all.push_back(&property);
    return all;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
    for (const TClassInfo* info = this; info; info = info->Parent)
        for (const TPropInfo& property : info->Properties)
            if (property.Name == name)
                return &property;
    return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const
{
    for (const TClassInfo* info = this; info; info = info->Parent)
        if (info == &ancestor)
            return true;
    return false;
}

void TList::CheckIndex(int index, int highest)
{
    if (index < 0 || index > highest)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

int TList::Add(TObject* item)
{
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, TObject* item)
{
    CheckIndex(index, Count());
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index)
{
    CheckIndex(index, Count() - 1);
    items_.erase(items_.begin() + index);
}

int TList::Remove(TObject* item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void TList::Reserve(int capacity)
{
    if (capacity > 0)
        items_.reserve(static_cast<std::size_t>(capacity));
}

int TList::IndexOf(const TObject* item) const
{
    const auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TList::Move(int currentIndex, int newIndex)
{
    CheckIndex(currentIndex, Count() - 1);
    CheckIndex(newIndex, Count() - 1);
    const auto from = items_.begin() + currentIndex;
    const auto to = items_.begin() + newIndex;
    if (currentIndex < newIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
}
