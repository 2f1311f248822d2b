#include "crypto/ZAhmac.h"
#include "crypto/ZAsha1.h"
#include "tests/crypto/codec_test_support.h"
#include "tests/support/files.h"

namespace {

using codec_test::Hex;
using codec_test::Splits;
using codec_test::ToHex;
using wqtest::ToBytes;

std::string HmacInPieces(const std::vector<std::uint8_t>& key,
                         const std::vector<std::uint8_t>& data,
                         const std::vector<std::size_t>& pieces)
{
    THmacState state;
    HmacInit(state, &SHA1Descriptor, key.data(), key.size());
    std::size_t offset = 0;
    for (std::size_t piece : pieces) {
        HmacUpdate(state, data.data() + offset, piece);
        offset += piece;
    }
    THashDigest digest;
    HmacFinal(state, digest);
    return ToHex(digest.data(), 20);
}

class HmacSha1Test : public codec_test::BothPaths {};

// RFC 2202, section 3.
TEST_P(HmacSha1Test, KnownAnswersInEveryCutOfTheData)
{
    const struct {
        std::vector<std::uint8_t> key;
        std::vector<std::uint8_t> data;
        const char* code;
    } vectors[] = {
        {std::vector<std::uint8_t>(20, 0x0b), ToBytes("Hi There"),
         "b617318655057264e28bc0b6fb378c8ef146be00"},
        {ToBytes("Jefe"), ToBytes("what do ya want for nothing?"),
         "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {std::vector<std::uint8_t>(20, 0xaa), std::vector<std::uint8_t>(50, 0xdd),
         "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {Hex("0102030405060708090a0b0c0d0e0f10111213141516171819"),
         std::vector<std::uint8_t>(50, 0xcd), "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
        {std::vector<std::uint8_t>(20, 0x0c), ToBytes("Test With Truncation"),
         "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
        {std::vector<std::uint8_t>(80, 0xaa),
         ToBytes("Test Using Larger Than Block-Size Key - Hash Key First"),
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
        {std::vector<std::uint8_t>(80, 0xaa),
         ToBytes("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    for (const auto& vector : vectors) {
        for (const auto& pieces : Splits(vector.data.size())) {
            ASSERT_EQ(HmacInPieces(vector.key, vector.data, pieces), vector.code)
                << vector.key.size() << "-byte key, " << pieces.size() << " pieces";
        }
    }
}

INSTANTIATE_BOTH_PATHS(HmacSha1Test);

TEST(HmacSha1, KeyLongerThanABlockActsAsItsDigest)
{
    const auto key = codec_test::Pattern(65);
    THashDigest keyDigest;
    HashBuffer(SHA1Descriptor, key.data(), key.size(), keyDigest);
    const std::vector<std::uint8_t> hashedKey(keyDigest.begin(), keyDigest.begin() + 20);
    const auto data = ToBytes("message");
    EXPECT_EQ(HmacInPieces(key, data, {data.size()}), HmacInPieces(hashedKey, data, {data.size()}));
    // A key of exactly one block is used as it stands.
    const auto blockKey = codec_test::Pattern(64);
    THashDigest blockKeyDigest;
    HashBuffer(SHA1Descriptor, blockKey.data(), blockKey.size(), blockKeyDigest);
    EXPECT_NE(
        HmacInPieces(blockKey, data, {data.size()}),
        HmacInPieces({blockKeyDigest.begin(), blockKeyDigest.begin() + 20}, data, {data.size()}));
}

TEST(HmacSha1, StateIsWipedWhenFinishedAndIgnoresDataWithoutHash)
{
    THmacState state;
    HmacInit(state, &SHA1Descriptor, "key", 3);
    HmacUpdate(state, "data", 4);
    THashDigest digest;
    HmacFinal(state, digest);
    EXPECT_EQ(state.Descriptor, nullptr);
    for (std::uint8_t byte : state.KeyPad) {
        ASSERT_EQ(byte, 0);
    }
    for (std::uint8_t byte : state.Hash.Data) {
        ASSERT_EQ(byte, 0);
    }

    THmacState empty;
    HmacUpdate(empty, "data", 4);
    digest.fill(7);
    HmacFinal(empty, digest);
    EXPECT_EQ(digest[0], 7);
}

}  // namespace
