#pragma once

// The first object of a list for each key, in one flat table: a look-up that
// misses touches a single run of slots, whatever the size of the list, and
// adding allocates nothing but the occasional larger table.
//
// A slot is a 32-bit fingerprint of the key's hash, kept apart from the
// slot's object, so that a look-up that misses reads the small fingerprints
// only. The key itself is asked of the object (KeyOf) only when the
// fingerprints agree.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TObject;

// A 32-bit digest of a key, never 0: equal keys have equal fingerprints.
std::uint32_t KeyFingerprint(std::string_view Key);

class TKeyIndex {
public:
    // The object's key; false for an object that has none.
    using TKeyOf = bool (*)(const TObject*, std::string&);

    void Clear();
    void Reserve(std::size_t Count);
    TObject* Find(std::string_view Key, TKeyOf KeyOf) const;
    // Keeps the object that the key has already.
    void AddIfAbsent(std::string_view Key, TObject* Item, TKeyOf KeyOf);
    // Makes Item the object of Key; nullptr removes the key.
    void Set(std::string_view Key, TObject* Item, TKeyOf KeyOf);

private:
    // The slot that holds Key, or the empty slot where it would go.
    std::size_t Locate(std::string_view Key, std::uint32_t Print, TKeyOf KeyOf) const;
    void Place(std::uint32_t Print, TObject* Item);
    void EraseAt(std::size_t Slot);

    // 0 marks an empty slot; a fingerprint also chooses its key's first slot.
    std::vector<std::uint32_t> prints_;
    std::vector<TObject*> items_;
    std::size_t count_ = 0;
};
