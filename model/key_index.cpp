#include "model/key_index.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

template <class Word>
std::uint64_t Load(const char* bytes)
{
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 32);
}

// The last bytes of a key as one word. Loads may overlap bytes already mixed:
// the result only has to depend on the key alone.
std::uint64_t Tail(std::string_view key)
{
    const char* end = key.data() + key.size();
    if (key.size() >= 8)
        return Load<std::uint64_t>(end - 8);
    if (key.size() >= 4)
        return Load<std::uint32_t>(key.data()) << 32 | Load<std::uint32_t>(end - 4);
    if (key.empty())
        return 0;
    return static_cast<std::uint64_t>(static_cast<unsigned char>(key.front())) << 16 |
           static_cast<std::uint64_t>(static_cast<unsigned char>(key[key.size() / 2])) << 8 |
           static_cast<unsigned char>(key.back());
}

}  // namespace

// Codes and IDs are a few bytes long: eight bytes at a time, one
// multiplication each. The last steps bring the high bits down to the low
// ones that the fingerprint keeps. Never 0, which marks an empty slot.
std::uint32_t KeyFingerprint(std::string_view key)
{
    std::uint64_t hash = Mix(kMultiplier, key.size());
    for (std::size_t at = 0; key.size() - at > 8; at += 8)
        hash = Mix(hash, Load<std::uint64_t>(key.data() + at));
    hash = Mix(hash, Tail(key)) * kMultiplier;
    const auto print = static_cast<std::uint32_t>(hash ^ (hash >> 29));
    return print != 0 ? print : 1;
}

void TKeyIndex::Clear()
{
    prints_ = {};
    items_ = {};
    count_ = 0;
}

// At most half the slots are used, so that runs stay short.
void TKeyIndex::Reserve(std::size_t Count)
{
    if (2 * Count <= prints_.size())
        return;
    std::size_t size = 16;
    while (size < 2 * Count)
        size *= 2;
    std::vector<std::uint32_t> oldPrints(size);
    std::vector<TObject*> oldItems(size);
    oldPrints.swap(prints_);
    oldItems.swap(items_);
    for (std::size_t i = 0; i < oldPrints.size(); ++i)
        if (oldPrints[i] != 0)
            Place(oldPrints[i], oldItems[i]);
}

TObject* TKeyIndex::Find(std::string_view Key, TKeyOf KeyOf) const
{
    if (prints_.empty())
        return nullptr;
    const std::size_t at = Locate(Key, KeyFingerprint(Key), KeyOf);
    return prints_[at] != 0 ? items_[at] : nullptr;
}

void TKeyIndex::AddIfAbsent(std::string_view Key, TObject* Item, TKeyOf KeyOf)
{
    Reserve(count_ + 1);
    const std::uint32_t print = KeyFingerprint(Key);
    const std::size_t at = Locate(Key, print, KeyOf);
    if (prints_[at] != 0)
        return;
    prints_[at] = print;
    items_[at] = Item;
    ++count_;
}

void TKeyIndex::Set(std::string_view Key, TObject* Item, TKeyOf KeyOf)
{
    const std::size_t at = prints_.empty() ? 0 : Locate(Key, KeyFingerprint(Key), KeyOf);
    if (prints_.empty() || prints_[at] == 0) {
        if (Item)
            AddIfAbsent(Key, Item, KeyOf);
    } else if (Item) {
        items_[at] = Item;
    } else {
        EraseAt(at);
    }
}

std::size_t TKeyIndex::Locate(std::string_view Key, std::uint32_t Print, TKeyOf KeyOf) const
{
    const std::size_t mask = prints_.size() - 1;
    std::string key;
    for (std::size_t at = Print & mask;; at = (at + 1) & mask) {
        if (prints_[at] == 0 || (prints_[at] == Print && KeyOf(items_[at], key) && key == Key))
            return at;
    }
}

void TKeyIndex::Place(std::uint32_t Print, TObject* Item)
{
    const std::size_t mask = prints_.size() - 1;
    std::size_t at = Print & mask;
    while (prints_[at] != 0)
        at = (at + 1) & mask;
    prints_[at] = Print;
    items_[at] = Item;
}

// Moves back every later slot of the run that may fill the hole, so that no
// run is ever broken by an empty slot.
void TKeyIndex::EraseAt(std::size_t Slot)
{
    const std::size_t mask = prints_.size() - 1;
    std::size_t hole = Slot;
    prints_[hole] = 0;
    items_[hole] = nullptr;
    for (std::size_t at = (hole + 1) & mask; prints_[at] != 0; at = (at + 1) & mask) {
        const std::size_t home = prints_[at] & mask;
        if (((at - home) & mask) >= ((at - hole) & mask)) {
            prints_[hole] = prints_[at];
            items_[hole] = items_[at];
            prints_[at] = 0;
            items_[at] = nullptr;
            hole = at;
        }
    }
    --count_;
}
