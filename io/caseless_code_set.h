#pragma once

// A set of non-empty codes compared ignoring the case of A to Z, held as views
// into text that outlives the set, in one flat table: an import checks a
// hundred thousand codes without an allocation per code.
//
// A slot keeps a 32-bit fingerprint of its code's hash apart from the code, so
// that a look-up that misses, as most do, reads only the small fingerprints.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TCaselessCodeSet {
public:
    void Clear();
    bool Contains(std::string_view code) const;
    // Adds a code that the set does not hold yet.
    void Insert(std::string_view code);

private:
    // The slot that holds the code, or the empty slot where it would go.
    std::size_t Locate(std::string_view code, std::uint32_t print) const;
    std::size_t HomeSlot(std::uint32_t print) const;
    void Grow();

    // 0 marks a free slot; at least half of them stay free.
    std::vector<std::uint32_t> prints_;
    std::vector<std::string_view> codes_;
    std::size_t count_ = 0;
};
