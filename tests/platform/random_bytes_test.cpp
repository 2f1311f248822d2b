#include "platform/random_bytes.h"

#include <array>
#include <bitset>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Salts drawn from a weak generator never reached some byte values; a few
// kilobytes from the system generator reach all 256.
TEST(RandomBytes, ReachEveryByteValueAndDiffer)
{
    std::vector<unsigned char> first(8192), second(8192);
    FillRandomBytes(first.data(), first.size());
    FillRandomBytes(second.data(), second.size());
    std::bitset<256> seen;
    for (unsigned char byte : first)
        seen.set(byte);
    EXPECT_EQ(seen.count(), 256u);
    EXPECT_NE(first, second);
    FillRandomBytes(nullptr, 0);
}

}  // namespace
