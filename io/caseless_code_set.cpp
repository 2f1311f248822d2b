#include "io/caseless_code_set.h"

#include <algorithm>

#include "model/key_index.h"
#include "platform/sysutils.h"

namespace {

constexpr std::size_t kMinimumSlots = 16;

}  // namespace

std::uint32_t TCaselessCodeSet::Fingerprint(std::string_view code)
{
    return CaselessKeyFingerprint(code);
}

// The fingerprint's high bits choose the slot, so that a larger table takes
// the slots in the order they stand.
std::size_t TCaselessCodeSet::HomeSlot(std::uint32_t print) const
{
    return static_cast<std::size_t>(print) * slots_.size() >> 32;
}

std::size_t TCaselessCodeSet::Locate(std::string_view code, std::uint32_t print) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = HomeSlot(print);
    while (slots_[slot].Print != 0 &&
           (slots_[slot].Print != print || !AsciiSameText(codes_[slots_[slot].Code], code)))
        slot = (slot + 1) & mask;
    return slot;
}

void TCaselessCodeSet::Prefetch(std::uint32_t print) const
{
    if (!slots_.empty())
        __builtin_prefetch(&slots_[HomeSlot(print)]);
}

bool TCaselessCodeSet::Contains(std::string_view code, std::uint32_t print) const
{
    return !codes_.empty() && slots_[Locate(code, print)].Print != 0;
}

bool TCaselessCodeSet::Insert(std::string_view code, std::uint32_t print)
{
    Reserve(codes_.size() + 1);
    TSlot& slot = slots_[Locate(code, print)];
    if (slot.Print != 0)
        return false;
    slot = {print, static_cast<std::uint32_t>(codes_.size())};
    codes_.push_back(code);
    return true;
}

void TCaselessCodeSet::Reserve(std::size_t count)
{
    if (2 * count <= slots_.size())
        return;
    std::size_t size = std::max(kMinimumSlots, slots_.size());
    while (size < 2 * count)
        size *= 2;
    std::vector<TSlot> old(size);
    old.swap(slots_);
    const std::size_t mask = size - 1;
    for (const TSlot& moved : old) {
        if (moved.Print == 0)
            continue;
        std::size_t slot = HomeSlot(moved.Print);
        while (slots_[slot].Print != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = moved;
    }
    codes_.reserve(count);
}
