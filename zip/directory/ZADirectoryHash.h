#pragma once

// The hashed index of stored names that keeps look-ups in the in-memory
// directory at a constant cost however many items an archive holds.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtti.h"

// One entry of a hash chain.
struct THashItem {
    std::unique_ptr<THashItem> Next;
    std::string Key;
    std::int32_t Value = 0;
    // Compared first, so that a look-up reads no other key of its chain.
    std::uint32_t Hash = 0;
};

// Chained hash of strings to list indexes with a fixed number of buckets.
class TZAStringHash : public TObject {
public:
    explicit TZAStringHash(std::int32_t size);
    ~TZAStringHash() override;
    TZAStringHash(const TZAStringHash&) = delete;
    TZAStringHash& operator=(const TZAStringHash&) = delete;

    // Over the UTF-16 code units of the key.
    virtual std::uint32_t HashOf(std::string_view key) const;

    // A new entry goes to the head of its chain; older entries of the same
    // key stay behind it, so the newest one is found first.
    void Add(std::string_view key, std::int32_t value);
    void Remove(std::string_view key);
    // The value of the first entry with exactly this key, or -1.
    std::int32_t ValueOf(std::string_view key) const;
    void Clear();

    std::int32_t BucketCount() const { return static_cast<std::int32_t>(buckets_.size()); }

private:
    // The link that points to the first entry with this key, or to the end of
    // its chain.
    std::unique_ptr<THashItem>& Find(std::string_view key);

    std::vector<std::unique_ptr<THashItem>> buckets_;
};

// A string list with hashed IndexOf and IndexOfName. Keys are lower-cased in
// A-Z only unless the list is case-sensitive. Indexes count from 0.
class TZAHashedStringList {
public:
    TZAHashedStringList() = default;
    TZAHashedStringList(const TZAHashedStringList&) = delete;
    TZAHashedStringList& operator=(const TZAHashedStringList&) = delete;

    int Count() const { return static_cast<int>(strings_.size()); }
    const std::string& Strings(int index) const { return strings_.at(static_cast<size_t>(index)); }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);

    int Add(const std::string& s);
    void Clear();
    void Delete(int index);
    int IndexOf(std::string_view s);
    // Looks the part before the first "=" of each string up.
    int IndexOfName(std::string_view name);
    // Replaces the string at index in the list and in the value index.
    void Put(int index, const std::string& s);

private:
    std::string KeyOf(std::string_view s) const;
    void MakeValueHashCurrent();
    void MakeNameHashCurrent();

    std::vector<std::string> strings_;
    std::unique_ptr<TZAStringHash> valueHash_;
    std::unique_ptr<TZAStringHash> nameHash_;
    bool valueHashValid_ = false;
    bool nameHashValid_ = false;
    bool caseSensitive_ = false;
};

// Item indexes by stored name, without regard to the case of A-Z. The index
// keeps no names of its own: an entry holds the hash of its item's name and
// the item's index, and a look-up asks the caller whether a candidate's name
// is the one looked for. The hash takes a secret drawn once per process, so
// that no archive can choose names that meet in one place. Entries of one
// hash, the items of one name save by rare chance, share one slot, whose
// group keeps their indexes in order, so that a look-up reads the highest at
// once however many copies of a name an archive holds. It grows as entries
// come, so that a look-up costs the same at any size.
class TZANameIndex {
public:
    void Clear();
    // Makes room for as many entries at once, so that adding them moves none.
    void Reserve(std::size_t count);
    void Add(std::string_view name, std::int32_t index);
    // Takes out the entry of that item; nothing happens when it has none.
    void Remove(std::string_view name, std::int32_t index);
    // The highest index among the entries whose item has the name, or -1.
    std::int32_t Find(std::string_view name,
                      const std::function<bool(std::int32_t)>& hasName) const;

private:
    // An entry of one index, or the group of the indexes that share a hash.
    struct Slot {
        std::uint32_t Hash = 0;
        // The index; kEmpty; or, below that, the group: groups_[-2 - Entry].
        std::int32_t Entry = kEmpty;
    };
    static constexpr std::int32_t kEmpty = -1;

    static bool Holds(const Slot& slot) { return slot.Entry != kEmpty; }
    static bool IsGroup(const Slot& slot) { return slot.Entry < kEmpty; }
    static std::size_t GroupOf(const Slot& slot)
    {
        return static_cast<std::size_t>(-2 - slot.Entry);
    }
    static std::uint32_t HashOf(std::string_view name);
    std::size_t Home(std::uint32_t hash) const { return hash & (slots_.size() - 1); }
    std::size_t Next(std::size_t slot) const { return (slot + 1) & (slots_.size() - 1); }
    // The slot of the hash, or the empty one where it would go.
    std::size_t SlotOf(std::uint32_t hash) const;
    // Puts one more index into the full slot of its hash.
    void Join(Slot& slot, std::int32_t index);
    // Takes the index out of the group of a slot, if it is there.
    void LeaveGroup(Slot& slot, std::int32_t index);
    void Empty(std::size_t hole);
    // Moves the entries to a table of size slots.
    void Resize(std::size_t size);

    // A power of two in size, at most half full, probed slot after slot.
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
    // The indexes of slots that hold more than one, in order; a group that
    // falls back to one index is kept empty for the next.
    std::vector<std::set<std::int32_t>> groups_;
    std::vector<std::int32_t> freeGroups_;
};
