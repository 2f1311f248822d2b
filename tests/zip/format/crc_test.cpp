#include <random>
#include <zlib.h>

#include <gtest/gtest.h>

#include "zip/format/ZACrc32.h"

namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

std::uint32_t ZlibCrc(const std::uint8_t* data, std::size_t size)
{
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

TEST(Crc32, TableAndCheckValue)
{
    EXPECT_EQ(ZACrcTable[1], 0x77073096u);
    EXPECT_EQ(ZACrcTable[255], 0x2D02EF8Du);
    const std::string check = "123456789";
    EXPECT_EQ(Crc32Of(check.data(), check.size()), 0xCBF43926u);
    // Started at 0 and not inverted: another value, which a reader rejects.
    EXPECT_NE(CrcUpdate(0, check.data(), 9), 0xCBF43926u);
    EXPECT_EQ(Crc32Of(nullptr, 0), 0u);
}

TEST(Crc32, NothingToDoLeavesTheValue)
{
    const char byte = 'x';
    EXPECT_EQ(CrcUpdate(0x12345678, nullptr, 10), 0x12345678u);
    EXPECT_EQ(CrcUpdate(0x12345678, &byte, 0), 0x12345678u);
    EXPECT_EQ(CrcUpdate(0x12345678, &byte, -1), 0x12345678u);
}

// Every length and alignment around the block sizes of the fast paths, whole
// and split at every offset, against zlib and the byte-at-a-time routine.
TEST(Crc32, AgreesWithZlibAtEveryLengthAlignmentAndSplit)
{
    const auto data = RandomBytes(4096, 1);
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t size = 0; size <= 300; ++size) {
            const std::uint8_t* p = data.data() + offset;
            ASSERT_EQ(Crc32Of(p, size), ZlibCrc(p, size)) << offset << " " << size;
        }
    }
    const std::uint8_t* p = data.data() + 3;
    const std::size_t size = 1000;
    const std::uint32_t whole = Crc32Of(p, size);
    for (std::size_t split = 0; split <= size; ++split) {
        std::uint32_t crc = CrcUpdate(ZACrcStart, p, static_cast<std::ptrdiff_t>(split));
        crc = CrcUpdate(crc, p + split, static_cast<std::ptrdiff_t>(size - split));
        ASSERT_EQ(~crc, whole) << split;
    }
    std::uint32_t bytewise = ZACrcStart;
    for (std::size_t i = 0; i < size; ++i)
        bytewise = CrcByte(bytewise, p[i]);
    EXPECT_EQ(~bytewise, whole);
}

TEST(Crc32, LargeBuffer)
{
    const auto data = RandomBytes((1 << 20) + 7, 2);
    EXPECT_EQ(Crc32Of(data.data(), data.size()), ZlibCrc(data.data(), data.size()));
    const std::vector<std::uint8_t> zeros(1 << 20);
    EXPECT_EQ(Crc32Of(zeros.data(), zeros.size()), ZlibCrc(zeros.data(), zeros.size()));
}

}  // namespace
