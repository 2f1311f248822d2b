#include "model/key_index.h"

#include <algorithm>
#include <cstring>

#include "platform/sysutils.h"

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

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

// A to Z in every byte of the word in lower case, the other bytes as they are.
// A byte is a capital when its low seven bits reach 'A' but not beyond 'Z'
// and its high bit is clear; the sums below carry into no other byte.
std::uint64_t LowerWord(std::uint64_t word)
{
    const std::uint64_t low = word & (0x7F * kEveryByte);
    const std::uint64_t fromA = low + (0x80 - 'A') * kEveryByte;
    const std::uint64_t beyondZ = low + (0x80 - 'Z' - 1) * kEveryByte;
    const std::uint64_t capitals = fromA & ~beyondZ & ~word & (0x80 * kEveryByte);
    return word | capitals >> 2;
}

// Codes and IDs are a few bytes long: eight bytes at a time, one
// multiplication each. The last steps bring the high bits down to the low
// ones that the fingerprint keeps. Never 0, which marks an empty slot. Every
// word is taken byte for byte, so that folding the case of the words folds
// the case of the key.
template <bool Caseless>
std::uint32_t Fingerprint(std::string_view key)
{
    const auto fold = [](std::uint64_t word) { return Caseless ? LowerWord(word) : word; };
    std::uint64_t hash = Mix(kMultiplier, key.size());
    for (std::size_t at = 0; key.size() - at > 8; at += 8)
        hash = Mix(hash, fold(Load<std::uint64_t>(key.data() + at)));
    hash = Mix(hash, fold(Tail(key))) * kMultiplier;
    const auto print = static_cast<std::uint32_t>(hash ^ (hash >> 29));
    return print != 0 ? print : 1;
}

}  // namespace

std::uint32_t KeyFingerprint(std::string_view Key)
{
    return Fingerprint<false>(Key);
}

std::uint32_t CaselessKeyFingerprint(std::string_view Key)
{
    return Fingerprint<true>(Key);
}

bool TKeyIndex::SameKey(std::string_view A, std::string_view B) const
{
    return kind_.Caseless ? AsciiSameText(A, B) : A == B;
}

std::uint32_t TKeyIndex::Fingerprint(std::string_view Key) const
{
    return kind_.Caseless ? CaselessKeyFingerprint(Key) : KeyFingerprint(Key);
}

void TKeyIndex::Clear()
{
    slots_ = {};
    count_ = 0;
    queued_ = 0;
}

// At most half the slots are used, so that runs stay short.
void TKeyIndex::Reserve(std::size_t Count)
{
    if (2 * Count <= slots_.size())
        return;
    std::size_t size = 16;
    while (size < 2 * Count)
        size *= 2;
    std::vector<TSlot> old(size);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    InBatches(old, [this, mask](const TSlot& slot) {
        std::size_t at = HomeSlot(slot.Print);
        while (slots_[at].Print != 0)
            at = (at + 1) & mask;
        slots_[at] = slot;
    });
}

TObject* TKeyIndex::Find(std::string_view Key)
{
    Flush();
    if (slots_.empty())
        return nullptr;
    return slots_[Locate(Key, Fingerprint(Key))].Item;
}

void TKeyIndex::AddIfAbsent(std::string_view Key, TObject* Item)
{
    if (queued_ == kQueueSize)
        Flush();
    queue_[queued_++] = {Fingerprint(Key), Item};
}

void TKeyIndex::Set(std::string_view Key, TObject* Item)
{
    Flush();
    const std::size_t at = slots_.empty() ? 0 : Locate(Key, Fingerprint(Key));
    if (slots_.empty() || slots_[at].Print == 0) {
        if (Item)
            AddIfAbsent(Key, Item);
    } else if (Item) {
        slots_[at].Item = Item;
    } else {
        EraseAt(at);
    }
}

void TKeyIndex::Flush()
{
    if (queued_ == 0)
        return;
    Reserve(count_ + queued_);
    const std::size_t mask = slots_.size() - 1;
    InBatches(std::span(queue_).first(queued_), [this, mask](const TSlot& added) {
        for (std::size_t at = HomeSlot(added.Print);; at = (at + 1) & mask) {
            TSlot& slot = slots_[at];
            if (slot.Print == added.Print && SameKeys(slot.Item, added.Item))
                return;
            if (slot.Print == 0) {
                slot = added;
                ++count_;
                return;
            }
        }
    });
    queued_ = 0;
}

template <class Put>
void TKeyIndex::InBatches(std::span<const TSlot> Slots, Put put)
{
    for (std::size_t from = 0; from < Slots.size(); from += kBatchSize) {
        const std::span<const TSlot> batch =
            Slots.subspan(from, std::min(kBatchSize, Slots.size() - from));
        for (const TSlot& slot : batch)
            if (slot.Print != 0)
                __builtin_prefetch(&slots_[HomeSlot(slot.Print)]);
        for (const TSlot& slot : batch)
            if (slot.Print != 0)
                put(slot);
    }
}

bool TKeyIndex::SameKeys(const TObject* A, const TObject* B) const
{
    std::string_view a;
    std::string_view b;
    return kind_.KeyOf(A, a) && kind_.KeyOf(B, b) && SameKey(a, b);
}

std::size_t TKeyIndex::Locate(std::string_view Key, std::uint32_t Print) const
{
    const std::size_t mask = slots_.size() - 1;
    std::string_view key;
    for (std::size_t at = HomeSlot(Print);; at = (at + 1) & mask) {
        const TSlot& slot = slots_[at];
        if (slot.Print == 0 ||
            (slot.Print == Print && kind_.KeyOf(slot.Item, key) && SameKey(key, Key)))
            return at;
    }
}

// Moves back every later slot of the run that may fill the hole, so that no
// run is ever broken by an empty slot.
void TKeyIndex::EraseAt(std::size_t Slot)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = Slot;
    slots_[hole] = {};
    for (std::size_t at = (hole + 1) & mask; slots_[at].Print != 0; at = (at + 1) & mask) {
        const std::size_t home = HomeSlot(slots_[at].Print);
        if (((at - home) & mask) >= ((at - hole) & mask)) {
            slots_[hole] = slots_[at];
            slots_[at] = {};
            hole = at;
        }
    }
    --count_;
}
