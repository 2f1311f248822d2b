#include <cstring>
#include <openssl/sha.h>
#include <string>

#include "crypto/ZAHash.h"
#include "crypto/ZAsha1.h"
#include "tests/crypto/codec_test_support.h"
#include "tests/support/files.h"

namespace {

using codec_test::BothPaths;
using codec_test::Hex;
using codec_test::Splits;
using codec_test::ToHex;
using wqtest::ToBytes;

std::string Sha1InPieces(const std::vector<std::uint8_t>& data,
                         const std::vector<std::size_t>& pieces)
{
    const THashDescriptor& sha1 = *GetHashById(3);
    THashState state;
    sha1.Init(state);
    std::size_t offset = 0;
    for (std::size_t piece : pieces) {
        sha1.Update(state, data.data() + offset, piece);
        offset += piece;
    }
    THashDigest digest;
    sha1.Final(state, digest);
    return ToHex(digest.data(), 20);
}

class Sha1Test : public BothPaths {};

TEST_P(Sha1Test, KnownAnswersInEveryCutOfTheInput)
{
    const struct {
        std::vector<std::uint8_t> message;
        const char* digest;
    } vectors[] = {
        {ToBytes("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {ToBytes("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {std::vector<std::uint8_t>(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {{}, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    };
    for (const auto& vector : vectors) {
        for (const auto& pieces : Splits(vector.message.size())) {
            ASSERT_EQ(Sha1InPieces(vector.message, pieces), vector.digest)
                << vector.message.size() << " bytes in " << pieces.size() << " pieces";
        }
    }
}

// Every length around the padding edges (55, 56, 63, 64 bytes and their
// multiples) against the reference, with data that is not all one letter.
TEST_P(Sha1Test, MatchesReferenceForEveryLengthUpTo300)
{
    const auto data = codec_test::Pattern(300);
    for (std::size_t size = 0; size <= data.size(); ++size) {
        std::uint8_t expected[SHA_DIGEST_LENGTH];
        SHA1(data.data(), size, expected);
        THashDigest digest;
        HashBuffer(SHA1Descriptor, data.data(), size, digest);
        ASSERT_EQ(ToHex(digest.data(), 20), ToHex(expected, 20)) << size;
    }
}

INSTANTIATE_BOTH_PATHS(Sha1Test);

TEST(Sha1Final, ZeroFillsTheDigestBufferAndClearsTheState)
{
    THashState state;
    SHA1Init(state);
    SHA1Update(state, "abc", 3);
    THashDigest digest;
    digest.fill(0xFF);
    SHA1Final(state, digest);
    for (std::size_t i = 20; i < digest.size(); ++i) {
        EXPECT_EQ(digest[i], 0) << i;
    }
    for (std::uint8_t byte : state.Data) {
        ASSERT_EQ(byte, 0);
    }
}

TEST(HashRegistry, HoldsSha1UnderIdentifierThree)
{
    const THashDescriptor* sha1 = GetHashById(3);
    ASSERT_EQ(sha1, &SHA1Descriptor);
    EXPECT_EQ(sha1->Signature, 15738);
    EXPECT_EQ(sha1->SizeMarker, 80);
    EXPECT_EQ(sha1->Version, 0x00010003u);
    EXPECT_EQ(sha1->BlockSize, 64);
    EXPECT_EQ(sha1->DigestSize, 20);
    EXPECT_STREQ(sha1->Name, "SHA1");
    ASSERT_EQ(sha1->ObjectIdArcCount, 6);
    const std::uint32_t arcs[] = {1, 3, 14, 3, 2, 26};
    EXPECT_TRUE(std::equal(arcs, arcs + 6, sha1->ObjectIdArcs.begin()));

    EXPECT_EQ(GetHashById(0), nullptr);
    EXPECT_EQ(GetHashById(9), nullptr);
    EXPECT_EQ(GetHashById(-1), nullptr);
    EXPECT_EQ(FindHashByName("sha1"), sha1);
    EXPECT_EQ(FindHashByName("Sha1"), sha1);
    EXPECT_EQ(FindHashByName("SHA-1"), nullptr);
    EXPECT_EQ(FindHashByName(""), nullptr);
}

TEST(HashRegistry, IgnoresDescriptorsThatDoNotFitTheirSlot)
{
    static THashDescriptor wrongId = SHA1Descriptor;
    std::strcpy(wrongId.Name, "WRONGID");
    wrongId.Id = 4;
    RegisterHash(5, &wrongId);
    EXPECT_EQ(GetHashById(5), nullptr);

    static THashDescriptor badSignature = SHA1Descriptor;
    std::strcpy(badSignature.Name, "BADSIG");
    badSignature.Id = 6;
    badSignature.Signature = 1;
    RegisterHash(6, &badSignature);
    EXPECT_EQ(GetHashById(6), nullptr);

    static THashDescriptor badVersion = SHA1Descriptor;
    badVersion.Id = 6;
    badVersion.Version = 2;
    RegisterHash(6, &badVersion);
    EXPECT_EQ(GetHashById(6), nullptr);
    EXPECT_EQ(FindHashByName("BADSIG"), nullptr);
    EXPECT_EQ(GetHashById(3), &SHA1Descriptor);
}

TEST(HashRegistry, FindsTheFirstMatchInIdentifierOrder)
{
    static THashDescriptor seventh = SHA1Descriptor;
    std::strcpy(seventh.Name, "TwinHash");
    seventh.Id = 7;
    static THashDescriptor fifth = seventh;
    fifth.Id = 5;
    RegisterHash(7, &seventh);
    RegisterHash(5, &fifth);
    EXPECT_EQ(FindHashByName("TWINHASH"), &fifth);
    EXPECT_EQ(GetHashById(7), &seventh);
}

}  // namespace
