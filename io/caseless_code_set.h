#pragma once

// A set of non-empty codes compared ignoring the case of A to Z, held as views
// into text that outlives the set, in one flat table: an import checks a
// hundred thousand codes without an allocation per code.

#include <cstddef>
#include <string_view>
#include <vector>

class TCaselessCodeSet {
public:
    // Empties the set, making room for at most `capacity` codes.
    void Reset(std::size_t capacity);
    bool Contains(std::string_view code) const;
    void Insert(std::string_view code);

private:
    // The slot that holds the code, or the empty slot where it would go.
    std::size_t Locate(std::string_view code) const;

    // An empty view marks a free slot; at least half of them stay free.
    std::vector<std::string_view> slots_;
};
