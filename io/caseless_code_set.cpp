#include "io/caseless_code_set.h"

#include <algorithm>

#include "platform/sysutils.h"

namespace {

constexpr std::size_t kMinimumSlots = 16;

// FNV-1a of the lower-cased code. Its low bits depend only on the low bits of
// the characters, so that codes made of digits would crowd into a few runs; a
// multiplication carries every bit into the high ones that the fingerprint
// keeps. Never 0, which marks a free slot.
std::uint32_t Fingerprint(std::string_view code)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : code)
        hash = (hash ^ static_cast<unsigned char>(AsciiLowerChar(c))) * 1099511628211ull;
    const auto print = static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ull) >> 32);
    return print != 0 ? print : 1;
}

}  // namespace

void TCaselessCodeSet::Clear()
{
    prints_.clear();
    codes_.clear();
    count_ = 0;
}

// The fingerprint's high bits choose the slot, so that a larger table needs
// no hash of the codes again.
std::size_t TCaselessCodeSet::HomeSlot(std::uint32_t print) const
{
    return static_cast<std::size_t>(print) * prints_.size() >> 32;
}

std::size_t TCaselessCodeSet::Locate(std::string_view code, std::uint32_t print) const
{
    const std::size_t mask = prints_.size() - 1;
    std::size_t slot = HomeSlot(print);
    while (prints_[slot] != 0 && (prints_[slot] != print || !AsciiSameText(codes_[slot], code)))
        slot = (slot + 1) & mask;
    return slot;
}

bool TCaselessCodeSet::Contains(std::string_view code) const
{
    return count_ != 0 && prints_[Locate(code, Fingerprint(code))] != 0;
}

void TCaselessCodeSet::Insert(std::string_view code)
{
    if (2 * (count_ + 1) > prints_.size())
        Grow();
    const std::uint32_t print = Fingerprint(code);
    const std::size_t slot = Locate(code, print);
    prints_[slot] = print;
    codes_[slot] = code;
    ++count_;
}

void TCaselessCodeSet::Grow()
{
    std::vector<std::uint32_t> prints(std::max(kMinimumSlots, 2 * prints_.size()));
    std::vector<std::string_view> codes(prints.size());
    prints.swap(prints_);
    codes.swap(codes_);
    const std::size_t mask = prints_.size() - 1;
    for (std::size_t old = 0; old < prints.size(); ++old) {
        if (prints[old] == 0)
            continue;
        std::size_t slot = HomeSlot(prints[old]);
        while (prints_[slot] != 0)
            slot = (slot + 1) & mask;
        prints_[slot] = prints[old];
        codes_[slot] = codes[old];
    }
}
