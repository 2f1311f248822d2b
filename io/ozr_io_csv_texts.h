#pragma once

// Copies of the short texts that an import keeps from the lines it checked, in
// blocks that never move: a copy stays where it is until Clear, and a hundred
// thousand of them cost a few allocations.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class TKeptTexts {
public:
    // A copy of the text, valid until Clear.
    std::string_view Keep(std::string_view text);
    void Clear();

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    // The unused end of the last block.
    char* next_ = nullptr;
    std::size_t free_ = 0;
};
