#include <algorithm>
#include <openssl/evp.h>
#include <set>

#include "crypto/ZAPBKDF_2.h"
#include "crypto/ZApb_kdf.h"
#include "crypto/ZAsha1.h"
#include "tests/crypto/codec_test_support.h"
#include "tests/support/files.h"

namespace {

using codec_test::ToHex;
using wqtest::ToBytes;

std::string Derive(const std::vector<std::uint8_t>& password, const std::vector<std::uint8_t>& salt,
                   int iterations, std::size_t length)
{
    std::vector<std::uint8_t> key(length);
    EXPECT_EQ(Pbkdf2Sha1(password.data(), password.size(), length, key.data(), iterations,
                         salt.size(), salt.data()),
              kPbkdf2Ok);
    return ToHex(key.data(), key.size());
}

class Pbkdf2Test : public codec_test::BothPaths {};

// RFC 6070.
TEST_P(Pbkdf2Test, KnownAnswers)
{
    EXPECT_EQ(Derive(ToBytes("password"), ToBytes("salt"), 1, 20),
              "0c60c80f961f0e71f3a9b524af6012062fe037a6");
    EXPECT_EQ(Derive(ToBytes("password"), ToBytes("salt"), 2, 20),
              "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
    EXPECT_EQ(Derive(ToBytes("password"), ToBytes("salt"), 4096, 20),
              "4b007901b765489abead49d926f721d065a429c1");
    EXPECT_EQ(Derive(ToBytes("passwordPASSWORDpassword"),
                     ToBytes("saltSALTsaltSALTsaltSALTsaltSALTsalt"), 4096, 25),
              "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
    EXPECT_EQ(
        Derive({'p', 'a', 's', 's', 0, 'w', 'o', 'r', 'd'}, {'s', 'a', 0, 'l', 't'}, 4096, 16),
        "56fa6aa75548099dcc37d7f03425e0c3");
}

INSTANTIATE_BOTH_PATHS(Pbkdf2Test);

// The fourth vector of RFC 6070 runs 16,777,216 iterations: on the
// processor's instructions only, where it takes about two seconds; the
// sanitizer tree, ten times slower, leaves it to the normal tree.
TEST(Pbkdf2, SixteenMillionIterations)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "too slow under the sanitizers";
#endif
    if (!za::ProcessorHasSha()) {
        GTEST_SKIP() << "no SHA instructions: too slow on the portable code";
    }
    EXPECT_EQ(Derive(ToBytes("password"), ToBytes("salt"), 16777216, 20),
              "eefe3d61cd4da4e4e9945b3d6ba2158c2634e984");
}

// The lengths the AES entries derive (34, 50 and 66 bytes) end inside a block.
TEST(Pbkdf2, PartialLastBlocksMatchTheReference)
{
    const auto salt = codec_test::Pattern(16);
    for (std::size_t length : {1u, 19u, 20u, 21u, 34u, 50u, 66u}) {
        std::vector<std::uint8_t> expected(length);
        PKCS5_PBKDF2_HMAC_SHA1("pw", 2, salt.data(), static_cast<int>(salt.size()), 1000,
                               static_cast<int>(length), expected.data());
        EXPECT_EQ(Derive(ToBytes("pw"), salt, 1000, length), ToHex(expected.data(), length))
            << length;
    }
}

TEST(Pbkdf2, ReportsAMissingHashOrDigest)
{
    std::uint8_t key[4] = {};
    EXPECT_EQ(Pbkdf2(nullptr, "p", 1, 4, key, 1, 1, "s"), kPbkdf2NoHash);
    THashDescriptor noDigest = SHA1Descriptor;
    noDigest.DigestSize = 0;
    EXPECT_EQ(Pbkdf2(&noDigest, "p", 1, 4, key, 1, 1, "s"), kPbkdf2NoDigest);
}

TEST(TPBKDF2, GivenSaltDerivesAsTheFunctionAndRandomSaltsDiffer)
{
    const auto salt = ToBytes("saltsalt");
    const TPBKDF2 given("secret", 1000, salt.size(), salt.data());
    EXPECT_EQ(given.GetSalt(), salt);
    const za::SecureBytes key = given.DeriveKey(66);
    EXPECT_EQ(ToHex(key.data(), key.size()), Derive(ToBytes("secret"), salt, 1000, 66));

    std::set<za::Bytes> salts;
    for (int i = 0; i < 4; ++i) {
        const TPBKDF2 fresh("secret", 1000, 16);
        EXPECT_EQ(fresh.GetSalt().size(), 16u);
        salts.insert(fresh.GetSalt());
    }
    EXPECT_EQ(salts.size(), 4u);

    // Salt bytes come from the system generator: 255 occurs too.
    const za::Bytes longSalt = TPBKDF2("secret", 1, 4096).GetSalt();
    EXPECT_NE(std::find(longSalt.begin(), longSalt.end(), 255), longSalt.end());
}

}  // namespace
