#pragma once

// Helpers shared by the tests of the cipher library: hexadecimal vectors,
// the ways of cutting an input into pieces, and a fixture that runs a test
// on the processor's instructions and again on the portable code.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/ZACodecUtil.h"

namespace codec_test {

inline std::vector<std::uint8_t> Hex(std::string_view hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

inline std::string ToHex(const std::uint8_t* data, std::size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(digits[data[i] >> 4]);
        text.push_back(digits[data[i] & 15]);
    }
    return text;
}

inline std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed = 1)
{
    std::vector<std::uint8_t> data(size);
    std::uint32_t state = seed;
    for (auto& byte : data) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 23);
    }
    return data;
}

// Piece lengths: the whole input, byte by byte, and two pieces at every
// offset (at the block edges and a few more for long inputs).
inline std::vector<std::vector<std::size_t>> Splits(std::size_t size)
{
    std::vector<std::vector<std::size_t>> plans{{size}, std::vector<std::size_t>(size, 1)};
    std::vector<std::size_t> offsets;
    if (size <= 1024) {
        for (std::size_t k = 1; k < size; ++k) {
            offsets.push_back(k);
        }
    } else {
        offsets = {1, 15, 16, 17, 55, 56, 63, 64, 65, size / 2, size - 1};
    }
    for (std::size_t k : offsets) {
        plans.push_back({k, size - k});
    }
    return plans;
}

// Parameter true: the processor's AES and SHA instructions where present;
// false: the portable code.
class BothPaths : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { za::SetProcessorAcceleration(GetParam()); }
    void TearDown() override { za::SetProcessorAcceleration(true); }
};

inline std::string PathName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "Processor" : "Portable";
}

}  // namespace codec_test

#define INSTANTIATE_BOTH_PATHS(suite) \
    INSTANTIATE_TEST_SUITE_P(Paths, suite, ::testing::Bool(), codec_test::PathName)
