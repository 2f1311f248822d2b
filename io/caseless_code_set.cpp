#include "io/caseless_code_set.h"

#include <algorithm>
#include <bit>

#include "platform/sysutils.h"

namespace {

constexpr std::size_t kMinimumSlots = 16;

std::size_t CaselessHash(std::string_view code)
{
    std::size_t hash = 14695981039346656037ull;
    for (const char c : code)
        hash = (hash ^ static_cast<unsigned char>(AsciiLowerChar(c))) * 1099511628211ull;
    return hash;
}

}  // namespace

void TCaselessCodeSet::Reset(std::size_t capacity)
{
    slots_.assign(std::bit_ceil(std::max(kMinimumSlots, 2 * capacity)), std::string_view());
}

std::size_t TCaselessCodeSet::Locate(std::string_view code) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = CaselessHash(code) & mask;
    while (!slots_[slot].empty() && !AsciiSameText(slots_[slot], code))
        slot = (slot + 1) & mask;
    return slot;
}

bool TCaselessCodeSet::Contains(std::string_view code) const
{
    return !slots_.empty() && !slots_[Locate(code)].empty();
}

void TCaselessCodeSet::Insert(std::string_view code)
{
    slots_[Locate(code)] = code;
}
