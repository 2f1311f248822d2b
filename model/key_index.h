#pragma once

// The first object of a list for each key, in one flat table: a look-up that
// misses touches a single run of slots, whatever the size of the list, and
// adding allocates nothing but the occasional larger table.
//
// Slots hold the key's hash and the object; the key itself is asked of the
// object (KeyOf) only when the hashes agree.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TObject;

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
    struct TSlot {
        std::size_t Hash = 0;
        TObject* Item = nullptr;
    };

    // The slot that holds Key, or the empty slot where it would go.
    std::size_t Locate(std::string_view Key, std::size_t Hash, TKeyOf KeyOf) const;
    void Place(std::size_t Hash, TObject* Item);
    void EraseAt(std::size_t Slot);

    std::vector<TSlot> slots_;
    std::size_t count_ = 0;
};
