#pragma once

// A set of non-empty codes compared ignoring the case of A to Z, held as views
// into text that outlives the set, in one flat table: an import checks a
// hundred thousand codes without an allocation per code.
//
// A slot holds a 32-bit fingerprint of its code's hash and the code's place
// in the list of codes, eight bytes in all, so that a look-up reads one slot
// in most cases and the codes themselves only when fingerprints agree.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TCaselessCodeSet {
public:
    // What the calls below take with the code, computed once for them all.
    static std::uint32_t Fingerprint(std::string_view code);

    // Room for count codes without a larger table.
    void Reserve(std::size_t count);
    // Starts to bring the code's slot into the cache, so that a look-up of
    // the code a little later need not wait for memory.
    void Prefetch(std::uint32_t print) const;
    bool Contains(std::string_view code, std::uint32_t print) const;
    // Adds the code unless the set holds it already; false when it did.
    bool Insert(std::string_view code, std::uint32_t print);

private:
    struct TSlot {
        // 0 marks a free slot.
        std::uint32_t Print = 0;
        std::uint32_t Code = 0;
    };

    // The slot that holds the code, or the free slot where it would go.
    std::size_t Locate(std::string_view code, std::uint32_t print) const;
    std::size_t HomeSlot(std::uint32_t print) const;

    // At least half of them stay free.
    std::vector<TSlot> slots_;
    std::vector<std::string_view> codes_;
};
