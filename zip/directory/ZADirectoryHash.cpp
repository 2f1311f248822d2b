#include "zip/directory/ZADirectoryHash.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "platform/ZAEndian.h"
#include "platform/random_bytes.h"
#include "platform/sysutils.h"

namespace {

// Next code point of a UTF-8 text; a byte that starts no valid sequence
// counts as one code point of its own value, so every text hashes.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    if (length <= 1 || i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return lead;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return code;
}

// FNV-1a over whole code units: every unit changes all bits of the hash, so
// names that differ only in a few digits still spread over the buckets.
constexpr std::uint32_t kHashStart = 0x811C9DC5;
constexpr std::uint32_t kHashPrime = 16777619;

std::uint32_t Mix(std::uint32_t hash, std::uint32_t unit)
{
    return (hash ^ unit) * kHashPrime;
}

// Iterative, so that a long chain of equal keys cannot exhaust the stack.
void FreeChain(std::unique_ptr<THashItem>& head)
{
    while (head) {
        head = std::move(head->Next);
    }
}

// Strings with "=" are indexed by the part before the first "=".
constexpr std::int32_t kNameBuckets = 256;
constexpr std::int32_t kMinValueBuckets = 1000;
// More strings per bucket than this and the value index is rebuilt larger.
constexpr std::int32_t kMaxLoad = 5;

}  // namespace

TZAStringHash::TZAStringHash(std::int32_t size)
    : buckets_(static_cast<std::size_t>(std::max(size, 1)))
{
}

TZAStringHash::~TZAStringHash()
{
    Clear();
}

std::uint32_t TZAStringHash::HashOf(std::string_view key) const
{
    std::uint32_t hash = kHashStart;
    for (std::size_t i = 0; i < key.size();) {
        const std::uint32_t code = NextCodePoint(key, i);
        if (code > 0xFFFF) {
            hash = Mix(hash, 0xD800 + ((code - 0x10000) >> 10));
            hash = Mix(hash, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            hash = Mix(hash, code);
        }
    }
    return hash;
}

std::unique_ptr<THashItem>& TZAStringHash::Find(std::string_view key)
{
    const std::uint32_t hash = HashOf(key);
    std::unique_ptr<THashItem>* link = &buckets_[hash % buckets_.size()];
    while (*link && ((*link)->Hash != hash || (*link)->Key != key)) {
        link = &(*link)->Next;
    }
    return *link;
}

void TZAStringHash::Add(std::string_view key, std::int32_t value)
{
    auto item = std::make_unique<THashItem>();
    item->Hash = HashOf(key);
    item->Key = key;
    item->Value = value;
    auto& head = buckets_[item->Hash % buckets_.size()];
    item->Next = std::move(head);
    head = std::move(item);
}

void TZAStringHash::Remove(std::string_view key)
{
    auto& link = Find(key);
    if (link) {
        link = std::move(link->Next);
    }
}

std::int32_t TZAStringHash::ValueOf(std::string_view key) const
{
    auto& self = const_cast<TZAStringHash&>(*this);
    const auto& link = self.Find(key);
    return link ? link->Value : -1;
}

void TZAStringHash::Clear()
{
    for (auto& head : buckets_) {
        FreeChain(head);
    }
}

void TZAHashedStringList::SetCaseSensitive(bool value)
{
    if (value != caseSensitive_) {
        caseSensitive_ = value;
        valueHashValid_ = false;
        nameHashValid_ = false;
    }
}

std::string TZAHashedStringList::KeyOf(std::string_view s) const
{
    return caseSensitive_ ? std::string(s) : AsciiLowerCase(s);
}

int TZAHashedStringList::Add(const std::string& s)
{
    strings_.push_back(s);
    const int index = Count() - 1;
    if (valueHash_ && valueHashValid_) {
        valueHash_->Add(KeyOf(s), index);
        if (Count() > kMaxLoad * valueHash_->BucketCount()) {
            valueHash_.reset();
            valueHashValid_ = false;
        }
    }
    nameHashValid_ = false;
    return index;
}

void TZAHashedStringList::Clear()
{
    strings_.clear();
    if (valueHash_) {
        valueHash_->Clear();
    }
    nameHashValid_ = false;
}

void TZAHashedStringList::Delete(int index)
{
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("string list index " + std::to_string(index));
    }
    strings_.erase(strings_.begin() + index);
    valueHashValid_ = false;
    nameHashValid_ = false;
}

int TZAHashedStringList::IndexOf(std::string_view s)
{
    MakeValueHashCurrent();
    return valueHash_->ValueOf(KeyOf(s));
}

int TZAHashedStringList::IndexOfName(std::string_view name)
{
    MakeNameHashCurrent();
    return nameHash_->ValueOf(KeyOf(name));
}

void TZAHashedStringList::Put(int index, const std::string& s)
{
    auto& slot = strings_.at(static_cast<std::size_t>(index));
    if (valueHash_ && valueHashValid_) {
        const std::string oldKey = KeyOf(slot);
        if (valueHash_->ValueOf(oldKey) == index) {
            valueHash_->Remove(oldKey);
            valueHash_->Add(KeyOf(s), index);
        } else {
            // A duplicate key hides the old entry; rebuilding is the only
            // way to drop the right one.
            valueHashValid_ = false;
        }
    }
    slot = s;
    nameHashValid_ = false;
}

void TZAHashedStringList::MakeValueHashCurrent()
{
    if (!valueHash_) {
        valueHash_ = std::make_unique<TZAStringHash>(std::max(Count(), kMinValueBuckets));
        valueHashValid_ = false;
    }
    if (!valueHashValid_) {
        valueHash_->Clear();
        for (int i = 0; i < Count(); ++i) {
            valueHash_->Add(KeyOf(strings_[static_cast<std::size_t>(i)]), i);
        }
        valueHashValid_ = true;
    }
}

void TZAHashedStringList::MakeNameHashCurrent()
{
    if (nameHashValid_) {
        return;
    }
    if (nameHash_) {
        nameHash_->Clear();
    } else {
        nameHash_ = std::make_unique<TZAStringHash>(kNameBuckets);
    }
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = strings_[static_cast<std::size_t>(i)];
        const auto equals = s.find('=');
        if (equals != std::string::npos) {
            nameHash_->Add(KeyOf(std::string_view(s).substr(0, equals)), i);
        }
    }
    nameHashValid_ = true;
}

namespace {

constexpr std::size_t kFirstIndexSlots = 1024;

using TSipKey = std::array<std::uint64_t, 2>;

// SipHash-1-3: a hash keyed with a secret, so that without the secret no
// one can tell which names meet.
class TSipHash {
public:
    explicit TSipHash(const TSipKey& key)
        : v0_(key[0] ^ 0x736F6D6570736575),
          v1_(key[1] ^ 0x646F72616E646F6D),
          v2_(key[0] ^ 0x6C7967656E657261),
          v3_(key[1] ^ 0x7465646279746573)
    {
    }

    void Absorb(std::uint64_t word)
    {
        v3_ ^= word;
        Round();
        v0_ ^= word;
    }

    std::uint64_t Finish()
    {
        v2_ ^= 0xFF;
        Round();
        Round();
        Round();
        return v0_ ^ v1_ ^ v2_ ^ v3_;
    }

private:
    void Round()
    {
        v0_ += v1_;
        v1_ = std::rotl(v1_, 13) ^ v0_;
        v0_ = std::rotl(v0_, 32);
        v2_ += v3_;
        v3_ = std::rotl(v3_, 16) ^ v2_;
        v0_ += v3_;
        v3_ = std::rotl(v3_, 21) ^ v0_;
        v2_ += v1_;
        v1_ = std::rotl(v1_, 17) ^ v2_;
        v2_ = std::rotl(v2_, 32);
    }

    std::uint64_t v0_, v1_, v2_, v3_;
};

// Drawn once per process: the hash differs from run to run.
const TSipKey& IndexSecret()
{
    static const TSipKey secret = [] {
        TSipKey drawn{};
        FillRandomBytes(drawn.data(), sizeof drawn);
        return drawn;
    }();
    return secret;
}

// Eight bytes at once with A-Z folded to a-z: a byte between 'A' and 'Z' gets
// the bit 0x20. Bytes from 0x80 on stay as they are.
std::uint64_t FoldedWord(const char* bytes, std::size_t count)
{
    constexpr std::uint64_t kEach = 0x0101010101010101;
    std::uint8_t buffer[8] = {};
    if (count != 0) {
        std::memcpy(buffer, bytes, count);
    }
    const std::uint64_t word = za::GetU64(buffer);
    const std::uint64_t low7 = word & (0x7F * kEach);
    const std::uint64_t fromA = low7 + (0x80 - 'A') * kEach;
    const std::uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * kEach;
    const std::uint64_t upper = fromA & ~pastZ & ~word & (0x80 * kEach);
    return word | (upper >> 2);
}

}  // namespace

// Over the bytes with A-Z folded, so that names equal but for the case of
// those letters meet in one place.
std::uint32_t TZANameIndex::HashOf(std::string_view name)
{
    TSipHash hash(IndexSecret());
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        hash.Absorb(FoldedWord(name.data() + at, 8));
    }
    hash.Absorb(FoldedWord(name.data() + at, name.size() - at) |
                (std::uint64_t{name.size()} << 56));
    return static_cast<std::uint32_t>(hash.Finish());
}

void TZANameIndex::Clear()
{
    slots_ = {};
    count_ = 0;
    groups_ = {};
    freeGroups_ = {};
}

std::size_t TZANameIndex::SlotOf(std::uint32_t hash) const
{
    std::size_t slot = Home(hash);
    while (Holds(slots_[slot]) && slots_[slot].Hash != hash) {
        slot = Next(slot);
    }
    return slot;
}

void TZANameIndex::Add(std::string_view name, std::int32_t index)
{
    if (slots_.empty()) {
        Resize(kFirstIndexSlots);
    }
    const std::uint32_t hash = HashOf(name);
    std::size_t at = SlotOf(hash);
    if (Holds(slots_[at])) {
        Join(slots_[at], index);
        return;
    }
    if (2 * (count_ + 1) > slots_.size()) {
        Resize(2 * slots_.size());
        at = SlotOf(hash);
    }
    slots_[at] = {hash, index};
    ++count_;
}

void TZANameIndex::Join(Slot& slot, std::int32_t index)
{
    if (!IsGroup(slot)) {
        if (freeGroups_.empty()) {
            freeGroups_.push_back(static_cast<std::int32_t>(groups_.size()));
            groups_.emplace_back();
        }
        const std::int32_t number = freeGroups_.back();
        freeGroups_.pop_back();
        groups_[static_cast<std::size_t>(number)].insert(slot.Entry);
        slot.Entry = -2 - number;
    }
    auto& group = groups_[GroupOf(slot)];
    // Indexes mostly come in order: then the place at the end is the right one.
    group.insert(group.end(), index);
}

void TZANameIndex::Reserve(std::size_t count)
{
    std::size_t size = std::max(kFirstIndexSlots, slots_.size());
    while (size < 2 * count) {
        size *= 2;
    }
    if (size > slots_.size()) {
        Resize(size);
    }
}

void TZANameIndex::Resize(std::size_t size)
{
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    for (const Slot& entry : old) {
        if (Holds(entry)) {
            slots_[SlotOf(entry.Hash)] = entry;
        }
    }
}

void TZANameIndex::Remove(std::string_view name, std::int32_t index)
{
    if (slots_.empty()) {
        return;
    }
    const std::size_t at = SlotOf(HashOf(name));
    Slot& slot = slots_[at];
    if (IsGroup(slot)) {
        LeaveGroup(slot, index);
    } else if (Holds(slot) && slot.Entry == index) {
        Empty(at);
    }
}

void TZANameIndex::LeaveGroup(Slot& slot, std::int32_t index)
{
    auto& group = groups_[GroupOf(slot)];
    if (group.erase(index) == 0 || group.size() > 1) {
        return;
    }
    freeGroups_.push_back(static_cast<std::int32_t>(GroupOf(slot)));
    slot.Entry = *group.begin();
    group.clear();
}

// Entries after the hole that could live in it move back, so that no run of
// slots a look-up walks is broken.
void TZANameIndex::Empty(std::size_t hole)
{
    for (std::size_t slot = Next(hole); Holds(slots_[slot]); slot = Next(slot)) {
        const std::size_t home = Home(slots_[slot].Hash);
        const bool homeAfterHole =
            hole <= slot ? hole < home && home <= slot : hole < home || home <= slot;
        if (!homeAfterHole) {
            slots_[hole] = slots_[slot];
            hole = slot;
        }
    }
    slots_[hole] = Slot{};
    --count_;
}

std::int32_t TZANameIndex::Find(std::string_view name,
                                const std::function<bool(std::int32_t)>& hasName) const
{
    if (slots_.empty()) {
        return -1;
    }
    const Slot& slot = slots_[SlotOf(HashOf(name))];
    if (!IsGroup(slot)) {
        return Holds(slot) && hasName(slot.Entry) ? slot.Entry : -1;
    }
    const auto& group = groups_[GroupOf(slot)];
    for (auto index = group.rbegin(); index != group.rend(); ++index) {
        if (hasName(*index)) {
            return *index;
        }
    }
    return -1;
}
