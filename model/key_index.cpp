#include "model/key_index.h"

#include <functional>

namespace {

std::size_t HashOf(std::string_view key)
{
    return std::hash<std::string_view>{}(key);
}

}  // namespace

void TKeyIndex::Clear()
{
    slots_ = {};
    count_ = 0;
}

// At most half the slots are used, so that runs stay short.
void TKeyIndex::Reserve(std::size_t Count)
{
    std::size_t size = 16;
    while (size < 2 * Count)
        size *= 2;
    if (size <= slots_.size())
        return;
    std::vector<TSlot> old(size);
    old.swap(slots_);
    for (const TSlot& slot : old)
        if (slot.Item)
            Place(slot.Hash, slot.Item);
}

TObject* TKeyIndex::Find(std::string_view Key, TKeyOf KeyOf) const
{
    if (slots_.empty())
        return nullptr;
    return slots_[Locate(Key, HashOf(Key), KeyOf)].Item;
}

void TKeyIndex::AddIfAbsent(std::string_view Key, TObject* Item, TKeyOf KeyOf)
{
    Reserve(count_ + 1);
    const std::size_t hash = HashOf(Key);
    TSlot& slot = slots_[Locate(Key, hash, KeyOf)];
    if (slot.Item)
        return;
    slot = TSlot{hash, Item};
    ++count_;
}

void TKeyIndex::Set(std::string_view Key, TObject* Item, TKeyOf KeyOf)
{
    if (slots_.empty()) {
        if (Item)
            AddIfAbsent(Key, Item, KeyOf);
        return;
    }
    const std::size_t at = Locate(Key, HashOf(Key), KeyOf);
    if (!slots_[at].Item) {
        if (Item)
            AddIfAbsent(Key, Item, KeyOf);
    } else if (Item) {
        slots_[at].Item = Item;
    } else {
        EraseAt(at);
    }
}

std::size_t TKeyIndex::Locate(std::string_view Key, std::size_t Hash, TKeyOf KeyOf) const
{
    const std::size_t mask = slots_.size() - 1;
    std::string key;
    for (std::size_t at = Hash & mask;; at = (at + 1) & mask) {
        const TSlot& slot = slots_[at];
        if (!slot.Item || (slot.Hash == Hash && KeyOf(slot.Item, key) && key == Key))
            return at;
    }
}

void TKeyIndex::Place(std::size_t Hash, TObject* Item)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = Hash & mask;
    while (slots_[at].Item)
        at = (at + 1) & mask;
    slots_[at] = TSlot{Hash, Item};
}

// Moves back every later slot of the run that may fill the hole, so that no
// run is ever broken by an empty slot.
void TKeyIndex::EraseAt(std::size_t Slot)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = Slot;
    slots_[hole] = TSlot{};
    for (std::size_t at = (hole + 1) & mask; slots_[at].Item; at = (at + 1) & mask) {
        const std::size_t home = slots_[at].Hash & mask;
        if (((at - home) & mask) >= ((at - hole) & mask)) {
            slots_[hole] = slots_[at];
            slots_[at] = TSlot{};
            hole = at;
        }
    }
    --count_;
}
