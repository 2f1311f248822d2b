#pragma once

// The first object of a list for each key, in one flat table: a look-up that
// misses touches a single run of slots, whatever the size of the list, and
// adding allocates nothing but the occasional larger table.
//
// A slot holds a 32-bit fingerprint of the key's hash beside its object, so
// that adding or finding a key mostly reads a single slot. The key itself is
// asked of the object only when the fingerprints agree.
//
// The slots of a large table lie far apart in memory, and waiting for each in
// turn would be most of the cost of adding many objects: added keys wait in a
// short queue, which goes into the table when it is full or at the next
// look-up, a batch at a time with the slots of a batch fetched together.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class TObject;

// A 32-bit digest of a key, never 0: equal keys have equal fingerprints.
std::uint32_t KeyFingerprint(std::string_view Key);
// The fingerprint of the key with A to Z in lower case, without a copy of it.
std::uint32_t CaselessKeyFingerprint(std::string_view Key);

// How the objects of one index are keyed.
struct TKeyKind {
    // The object's key; false for an object that has none.
    bool (*KeyOf)(const TObject*, std::string_view&);
    // Keys that differ only in the case of A to Z are one key.
    bool Caseless;
};

class TKeyIndex {
public:
    explicit TKeyIndex(const TKeyKind& Kind) : kind_(Kind) {}

    const TKeyKind& Kind() const { return kind_; }
    bool SameKey(std::string_view A, std::string_view B) const;

    void Clear();
    // Room for Count keys without a larger table.
    void Reserve(std::size_t Count);
    TObject* Find(std::string_view Key);
    // Keeps the object that the key has already. The key is asked of the
    // object again when the queue goes into the table, at the next look-up at
    // the latest: the object must live and keep its key until then.
    void AddIfAbsent(std::string_view Key, TObject* Item);
    // Makes Item the object of Key; nullptr removes the key.
    void Set(std::string_view Key, TObject* Item);

private:
    struct TSlot {
        // 0 marks an empty slot; a fingerprint also chooses its key's first slot.
        std::uint32_t Print = 0;
        TObject* Item = nullptr;
    };
    static constexpr std::size_t kQueueSize = 64;
    static constexpr std::size_t kBatchSize = 32;

    std::uint32_t Fingerprint(std::string_view Key) const;
    std::size_t HomeSlot(std::uint32_t Print) const { return Print & (slots_.size() - 1); }
    // The slot that holds Key, or the empty slot where it would go.
    std::size_t Locate(std::string_view Key, std::uint32_t Print) const;
    // Puts the queued keys into the table, in order, each unless it is there already.
    void Flush();
    // Hands each used slot to put, a batch at a time, once the batch's home
    // slots in the table are on their way from memory.
    template <class Put>
    void InBatches(std::span<const TSlot> Slots, Put put);
    bool SameKeys(const TObject* A, const TObject* B) const;
    void EraseAt(std::size_t Slot);

    TKeyKind kind_;
    std::vector<TSlot> slots_;
    std::size_t count_ = 0;
    // Keys added but not in the table yet, oldest first.
    std::array<TSlot, kQueueSize> queue_{};
    std::size_t queued_ = 0;
};
