#pragma once
// The items of a directory by where their data lie, for an update that copies
// every kept item from its old place. Items of one name are told apart by the
// offset of their local header; a look-up by name alone would walk the copies
// of a name one by one, which an archive of many copies turns quadratic.
#include <cstdint>
#include <string_view>
#include <vector>

class TZADirArray;

class TZAItemsByPlace {
public:
    // The items must not change while the look-ups go on.
    explicit TZAItemsByPlace(const TZADirArray& items) : items_(items) {}
    // The highest index of an item with the name, A-Z in any case, whose
    // local header stands at offset; -1 for none.
    int Find(std::string_view name, std::uint64_t offset);

private:
    // Sorts the items on the first look-up: an update that only appends asks none.
    void Order();

    struct Place {
        std::uint64_t Offset;
        std::string_view Name;
        int Index;
    };
    // -1, 0 or 1 as a stands before, with or after b: by offset, then by
    // name with A-Z folded.
    static int Compare(const Place& a, const Place& b);

    const TZADirArray& items_;
    // Items of one place stay in the order of their indexes.
    std::vector<Place> places_;
    bool ordered_ = false;
};
