#include <openssl/evp.h>

#include "crypto/ZACipher.h"
#include "tests/crypto/codec_test_support.h"

namespace {

using codec_test::Hex;
using codec_test::Pattern;
using codec_test::ToHex;
using Bytes = std::vector<std::uint8_t>;

// One pass of OpenSSL's AES in the given mode, without padding.
Bytes Reference(const EVP_CIPHER* cipher, const Bytes& key, const Bytes& iv, const Bytes& data,
                bool encrypt)
{
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(context, cipher, nullptr, key.data(), iv.empty() ? nullptr : iv.data(),
                      encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(context, 0);
    Bytes out(data.size() + 32);
    int length = 0;
    int last = 0;
    EVP_CipherUpdate(context, out.data(), &length, data.data(), static_cast<int>(data.size()));
    EVP_CipherFinal_ex(context, out.data() + length, &last);
    EVP_CIPHER_CTX_free(context);
    out.resize(static_cast<std::size_t>(length + last));
    return out;
}

const EVP_CIPHER* OpenSslCipher(std::size_t keySize, TCipherMode mode)
{
    switch (mode) {
        case cmECB:
            return keySize == 16   ? EVP_aes_128_ecb()
                   : keySize == 24 ? EVP_aes_192_ecb()
                                   : EVP_aes_256_ecb();
        case cmCBC:
            return keySize == 16   ? EVP_aes_128_cbc()
                   : keySize == 24 ? EVP_aes_192_cbc()
                                   : EVP_aes_256_cbc();
        default:
            return keySize == 16   ? EVP_aes_128_cfb8()
                   : keySize == 24 ? EVP_aes_192_cfb8()
                                   : EVP_aes_256_cfb8();
    }
}

class AesTest : public codec_test::BothPaths {};

// FIPS-197, appendix C.
TEST_P(AesTest, FipsKnownAnswersBothWays)
{
    const Bytes plain = Hex("00112233445566778899aabbccddeeff");
    const struct {
        const char* key;
        const char* cipher;
    } vectors[] = {
        {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
         "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const auto& vector : vectors) {
        const Bytes key = Hex(vector.key);
        TCipher_Rijndael cipher(key.data(), static_cast<int>(key.size()));
        Bytes block = plain;
        cipher.EncryptBlock(block.data());
        EXPECT_EQ(ToHex(block.data(), 16), vector.cipher) << key.size();
        cipher.DecryptBlock(block.data());
        EXPECT_EQ(block, plain) << key.size();

        cipher.SetMode(cmECB);
        Bytes buffer(plain);
        cipher.EncodeBuffer(buffer.data(), buffer.data(), buffer.size());
        EXPECT_EQ(ToHex(buffer.data(), 16), vector.cipher);
        cipher.DecodeBuffer(buffer.data(), buffer.data(), buffer.size());
        EXPECT_EQ(buffer, plain);
    }
}

TEST_P(AesTest, CarriesItsOwnTestVector)
{
    TCipher_Rijndael cipher;
    const TCipherTestVector vector = cipher.TestVector();
    cipher.SetKey(vector.Key, static_cast<int>(vector.KeySize));
    Bytes block(vector.Plain, vector.Plain + 16);
    cipher.EncryptBlock(block.data());
    EXPECT_EQ(block, Bytes(vector.Cipher, vector.Cipher + 16));
}

// ECB, CBC and 8-bit CFB are the modes OpenSSL also has.
TEST_P(AesTest, ModesMatchOpenSsl)
{
    const Bytes data = Pattern(16 * 67, 3);
    const Bytes iv = Pattern(16, 4);
    for (std::size_t keySize : {16u, 24u, 32u}) {
        const Bytes key = Pattern(keySize, static_cast<unsigned>(keySize));
        for (TCipherMode mode : {cmECB, cmCBC, cmCFB8}) {
            const Bytes expected = Reference(OpenSslCipher(keySize, mode), key,
                                             mode == cmECB ? Bytes{} : iv, data, true);
            TCipher_Rijndael cipher(key.data(), static_cast<int>(keySize), iv.data());
            cipher.SetMode(mode);
            Bytes buffer = data;
            cipher.EncodeBuffer(buffer.data(), buffer.data(), buffer.size());
            ASSERT_EQ(buffer, expected) << keySize << " mode " << int(mode);

            cipher.ResetFeedback();
            Bytes decrypted(buffer.size());
            cipher.DecodeBuffer(buffer.data(), decrypted.data(), buffer.size());
            ASSERT_EQ(decrypted, data) << keySize << " mode " << int(mode);
        }
    }
}

INSTANTIATE_BOTH_PATHS(AesTest);

Bytes EncryptZeroBlock(const Bytes& key)
{
    TCipher_Rijndael cipher(key.data(), static_cast<int>(key.size()));
    Bytes block(16, 0);
    cipher.EncryptBlock(block.data());
    return block;
}

TEST(Rijndael, ShortKeysArePaddedWithZerosToTheirRoundSize)
{
    Bytes key20 = Pattern(20);
    Bytes key24 = key20;
    key24.resize(24, 0);
    EXPECT_EQ(EncryptZeroBlock(key20), EncryptZeroBlock(key24));
    // 24 bytes and not 32: a key of 20 bytes takes 12 rounds.
    Bytes key32 = key20;
    key32.resize(32, 0);
    EXPECT_NE(EncryptZeroBlock(key20), EncryptZeroBlock(key32));

    Bytes key5 = Pattern(5);
    Bytes key16 = key5;
    key16.resize(16, 0);
    EXPECT_EQ(EncryptZeroBlock(key5), EncryptZeroBlock(key16));
    EXPECT_EQ(EncryptZeroBlock({}), EncryptZeroBlock(Bytes(16, 0)));
}

TEST(Rijndael, LongKeysAreCutUnlessStrict)
{
    const Bytes key40 = Pattern(40);
    const Bytes key32(key40.begin(), key40.begin() + 32);
    EXPECT_EQ(EncryptZeroBlock(key40), EncryptZeroBlock(key32));
    TCipher_Rijndael negative;
    negative.SetKey(key40.data(), -5);
    EXPECT_TRUE(negative.HasKey());

    StrictCipherKeySize = true;
    TCipher_Rijndael strict;
    try {
        strict.SetKey(key40.data(), 40);
        ADD_FAILURE() << "a 40-byte key was taken";
    } catch (const ECipherException& error) {
        EXPECT_EQ(error.ErrorCode(), 2);
        EXPECT_STREQ(error.what(),
                     "Length from Encryptionkey is invalid.\\r\\nKeysize for TCipher_Rijndael must "
                     "be to 0-32 bytes");
    }
    StrictCipherKeySize = false;
}

TEST(Rijndael, RefusesWorkWithoutAKey)
{
    TCipher_Rijndael cipher;
    EXPECT_FALSE(cipher.HasKey());
    EXPECT_EQ(cipher.BlockSize(), 16u);
    EXPECT_EQ(cipher.MaxKeySize(), 32u);
    EXPECT_EQ(cipher.ContextSize(), 480u);
    std::uint8_t data[16] = {};
    const auto expectCode3 = [&](auto call) {
        try {
            call();
            ADD_FAILURE() << "no error without a key";
        } catch (const ECipherException& error) {
            EXPECT_EQ(error.ErrorCode(), 3);
            EXPECT_STREQ(error.what(),
                         "TCipher_Rijndael is not initialized call Init() or InitKey() before.");
        }
    };
    expectCode3([&] { cipher.EncodeBuffer(data, data, 16); });
    expectCode3([&] { cipher.DecodeBuffer(data, data, 16); });
    expectCode3([&] { cipher.StartCoding(paEncode); });
    expectCode3([&] { cipher.TransformInPlace(data, 16, paEncode); });

    cipher.SetKey("key", 3);
    cipher.Wipe();
    EXPECT_FALSE(cipher.HasKey());
    expectCode3([&] { cipher.EncodeBuffer(data, data, 16); });
}

// Without a starting vector the cipher starts from the encryption of the
// wiped vector, all bytes 255.
TEST(Rijndael, DefaultStartingVectorIsTheEncryptionOfOnes)
{
    const Bytes key = Pattern(32);
    TCipher_Rijndael cipher(key.data(), 32);
    Bytes ones(16, 0xFF);
    TCipher_Rijndael plain(key.data(), 32, ones.data());
    plain.EncryptBlock(ones.data());
    EXPECT_EQ(Bytes(cipher.StartingVector(), cipher.StartingVector() + 16), ones);
    EXPECT_EQ(Bytes(cipher.Feedback(), cipher.Feedback() + 16), ones);

    cipher.Wipe();
    EXPECT_EQ(Bytes(cipher.StartingVector(), cipher.StartingVector() + 16), Bytes(16, 0xFF));
    EXPECT_EQ(Bytes(cipher.Feedback(), cipher.Feedback() + 16), Bytes(16, 0xFF));
    EXPECT_EQ(Bytes(cipher.Counter(), cipher.Counter() + 16), Bytes(16, 0));
}

TEST(CipherRegistry, ListsRijndaelAndReplacesTexts)
{
    const auto& list = CipherList();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0].Text, "Rijndael=");
    EXPECT_EQ(list[0].Class, &CipherClass_Rijndael);
    auto created = list[0].Class->Create();
    EXPECT_EQ(created->ClassName(), "TCipher_Rijndael");

    EXPECT_FALSE(RegisterCipher(nullptr, "x", "y"));
    EXPECT_TRUE(RegisterCipher(&CipherClass_Rijndael, "AES", "FIPS-197"));
    EXPECT_EQ(CipherList().size(), list.size());
    EXPECT_EQ(CipherList()[0].Text, "AES=FIPS-197");
    EXPECT_TRUE(RegisterCipher(&CipherClass_Rijndael, "", ""));
    EXPECT_EQ(CipherList()[0].Text, "Rijndael=");
}

}  // namespace
