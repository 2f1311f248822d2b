#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "platform/ZAStream.h"
#include "tests/crypto/codec_test_support.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/codec/ZACryptoTransform.h"

namespace {

using codec_test::Pattern;
using Bytes = std::vector<std::uint8_t>;

struct Entry {
    Bytes header;
    Bytes data;
    Bytes code;
};

Entry EncryptEntry(int bits, const std::string& password, const Bytes& plain,
                   const std::vector<std::size_t>& pieces)
{
    TAESCryptoTransform transform(bits, 8, 2);
    transform.SetPassword(password);
    Entry entry{transform.GetHeader(), Bytes(plain.size()), {}};
    std::size_t offset = 0;
    for (std::size_t piece : pieces) {
        EXPECT_EQ(transform.EncryptData(plain.data(), offset, entry.data.data(), offset, piece),
                  piece);
        offset += piece;
    }
    entry.code = transform.GetAuthCode();
    return entry;
}

// Reads header, data and code back from a stream as the archiver will.
struct Decrypted {
    Bytes plain;
    bool passwordMatches;
    bool authFailure;
};

Decrypted DecryptEntry(int bits, const std::string& password, const Entry& entry)
{
    TMemoryStream stream;
    Bytes all = entry.header;
    all.insert(all.end(), entry.data.begin(), entry.data.end());
    all.insert(all.end(), entry.code.begin(), entry.code.end());
    stream.LoadFromBytes(all.data(), all.size());

    TAESCryptoTransform transform(bits, 8, 2);
    transform.SetDirection(kTransformDecrypt);
    transform.ReadHeader(stream, 0);
    transform.SetPassword(password);
    Decrypted result{Bytes(entry.data.size()), transform.CheckPassword(password), false};
    stream.Seek(static_cast<std::int64_t>(entry.header.size()));
    Bytes data(entry.data.size());
    stream.ReadBuffer(data.data(), data.size());
    transform.DecryptData(data.data(), 0, result.plain.data(), 0, data.size());
    transform.ReadAuthCode(stream, 0);
    result.authFailure = transform.IsAuthFailure(0, 0);
    return result;
}

TEST(AesTransform, SizesOfKeysSaltsHeadersAndCodes)
{
    const struct {
        int bits;
        std::size_t key;
        int header;
    } sizes[] = {{128, 16, 10}, {192, 24, 14}, {256, 32, 18}};
    for (const auto& s : sizes) {
        TAESCryptoTransform transform(s.bits, 0, 2);
        EXPECT_EQ(transform.GetHeaderSize(), s.header);
        EXPECT_EQ(transform.GetAuthCodeSize(), 10);
        transform.SetPassword("pw");
        EXPECT_EQ(transform.GetKey().size(), s.key);
        EXPECT_EQ(transform.Salt().size(), s.key / 2);
        EXPECT_EQ(transform.GetHeader().size(), static_cast<std::size_t>(s.header));
        EXPECT_EQ(transform.GetAuthCode().size(), 10u);
        EXPECT_EQ(transform.GetPassword(), "pw");
    }
    EXPECT_THROW(TAESCryptoTransform(100, 0, 2), Exception);
}

// Keys, verifier, keystream and code against OpenSSL: PBKDF2-HMAC-SHA1 with
// 1000 iterations gives AES key, HMAC key and verifier; the data is XORed
// with E(1), E(2), ... (little-endian counters); the code is the first 10
// bytes of HMAC-SHA1 over the encrypted data.
TEST(AesTransform, DerivationCounterAndCodeMatchTheReference)
{
    const Bytes plain = Pattern(100);
    const Entry entry = EncryptEntry(256, "secret", plain, {plain.size()});
    const Bytes salt(entry.header.begin(), entry.header.begin() + 16);
    Bytes derived(66);
    PKCS5_PBKDF2_HMAC_SHA1("secret", 6, salt.data(), 16, 1000, 66, derived.data());
    EXPECT_EQ(Bytes(entry.header.begin() + 16, entry.header.end()),
              Bytes(derived.begin() + 64, derived.end()));

    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(context, EVP_aes_256_ecb(), nullptr, derived.data(), nullptr);
    EVP_CIPHER_CTX_set_padding(context, 0);
    Bytes expected = plain;
    for (std::size_t block = 0; block * 16 < plain.size(); ++block) {
        Bytes counter(16, 0);
        counter[0] = static_cast<std::uint8_t>(block + 1);
        Bytes keystream(32);
        int length = 0;
        EVP_EncryptUpdate(context, keystream.data(), &length, counter.data(), 16);
        for (std::size_t i = block * 16; i < plain.size() && i < block * 16 + 16; ++i) {
            expected[i] ^= keystream[i % 16];
        }
    }
    EVP_CIPHER_CTX_free(context);
    EXPECT_EQ(entry.data, expected);

    unsigned char code[20];
    unsigned int codeLength = 0;
    HMAC(EVP_sha1(), derived.data() + 32, 32, entry.data.data(), entry.data.size(), code,
         &codeLength);
    EXPECT_EQ(entry.code, Bytes(code, code + 10));
}

class AesTransformPaths : public codec_test::BothPaths {};

TEST_P(AesTransformPaths, PiecesEncryptAsOneCallAndDecryptBack)
{
    const Bytes plain = Pattern(32);
    // The salt is random: decrypt each way and compare plain texts and codes.
    const Entry whole = EncryptEntry(128, "pw", plain, {32});
    const Entry pieces = EncryptEntry(128, "pw", plain, {5, 27});
    for (const Entry& entry : {whole, pieces}) {
        const Decrypted result = DecryptEntry(128, "pw", entry);
        EXPECT_EQ(result.plain, plain);
        EXPECT_TRUE(result.passwordMatches);
        EXPECT_FALSE(result.authFailure);
    }
    // Same salt, same pieces or not: the same bytes.
    TMemoryStream headerStream;
    headerStream.LoadFromBytes(whole.header.data(), whole.header.size());
    TMemoryStream codeStream;
    codeStream.LoadFromBytes(whole.code.data(), whole.code.size());
    for (const auto& cut : codec_test::Splits(plain.size())) {
        TAESCryptoTransform transform(128, 8, 2);
        transform.SetDirection(kTransformDecrypt);
        headerStream.Seek(0);
        transform.ReadHeader(headerStream, 0);
        transform.SetPassword("pw");
        Bytes out(plain.size());
        std::size_t offset = 0;
        for (std::size_t piece : cut) {
            transform.DecryptData(whole.data.data(), offset, out.data(), offset, piece);
            offset += piece;
        }
        ASSERT_EQ(out, plain);
        codeStream.Seek(0);
        transform.ReadAuthCode(codeStream, 0);
        ASSERT_FALSE(transform.IsAuthFailure(0, 0));
    }
}

INSTANTIATE_BOTH_PATHS(AesTransformPaths);

TEST(AesTransform, WrongPasswordAndChangedDataAreCaught)
{
    const Bytes plain = Pattern(300);
    const Entry entry = EncryptEntry(192, "right", plain, {plain.size()});
    const Decrypted wrong = DecryptEntry(192, "wrong", entry);
    EXPECT_NE(wrong.plain, plain);
    EXPECT_TRUE(wrong.authFailure);

    TMemoryStream stream;
    stream.LoadFromBytes(entry.header.data(), entry.header.size());
    TAESCryptoTransform checker(192, 8, 2);
    checker.SetDirection(kTransformDecrypt);
    checker.ReadHeader(stream, 0);
    EXPECT_TRUE(checker.CheckPassword("right"));

    for (std::size_t position : {0u, 150u, 299u}) {
        Entry changed = entry;
        changed.data[position] ^= 0x01;
        EXPECT_TRUE(DecryptEntry(192, "right", changed).authFailure) << position;
    }
    Entry badCode = entry;
    badCode.code[9] ^= 0x80;
    EXPECT_TRUE(DecryptEntry(192, "right", badCode).authFailure);
}

// The header's verifier is checked against the stored two bytes; with a
// fixed salt the outcome of these passwords is known.
TEST(AesTransform, CheckPasswordComparesWithTheStoredVerifier)
{
    const Bytes salt = Pattern(8, 9);
    Bytes derived(34);
    PKCS5_PBKDF2_HMAC_SHA1("secret", 6, salt.data(), 8, 1000, 34, derived.data());
    Bytes header = salt;
    header.push_back(derived[32]);
    header.push_back(derived[33]);
    TMemoryStream stream;
    Bytes padded(5 + header.size(), 0xEE);  // the first 5 skipped by the offset
    std::copy(header.begin(), header.end(), padded.begin() + 5);
    stream.LoadFromBytes(padded.data(), padded.size());
    TAESCryptoTransform transform(128, 0, 2);
    transform.SetDirection(kTransformDecrypt);
    transform.ReadHeader(stream, 5);
    EXPECT_EQ(transform.Salt(), salt);
    EXPECT_EQ(transform.Verifier(), Bytes(derived.begin() + 32, derived.end()));
    EXPECT_TRUE(transform.CheckPassword("secret"));
    EXPECT_FALSE(transform.CheckPassword("Secret"));
    EXPECT_FALSE(transform.CheckPassword(""));
    // A wrong password set after the header leaves the stored verifier.
    transform.SetPassword("Secret");
    EXPECT_FALSE(transform.CheckPassword("Secret"));
    EXPECT_EQ(transform.Verifier(), Bytes(derived.begin() + 32, derived.end()));
    transform.SetPassword("secret");
    EXPECT_EQ(transform.GetKey(), za::SecureBytes(derived.begin(), derived.begin() + 16));
}

TEST(AesTransform, ExtraFieldBytes)
{
    const TZAExtraField field = TAESCryptoTransform(192, 8, 2).GetExtraField();
    EXPECT_EQ(field.HeaderID, 0x9901);
    EXPECT_EQ(field.Data, (Bytes{0x02, 0x00, 0x41, 0x45, 0x02, 0x08, 0x00}));
    EXPECT_EQ(TAESCryptoTransform(128, 0, 1).GetExtraField().Data,
              (Bytes{0x01, 0x00, 0x41, 0x45, 0x01, 0x00, 0x00}));
    EXPECT_EQ(TAESCryptoTransform(256, 8, 2).GetExtraField().Data,
              (Bytes{0x02, 0x00, 0x41, 0x45, 0x03, 0x08, 0x00}));
}

TEST(AesTransform, VendorVersionOneHasNoCodeAndComparesCrcs)
{
    TAESCryptoTransform transform(256, 8, 1);
    EXPECT_EQ(transform.GetAuthCodeSize(), 0);
    transform.SetPassword("pw");
    EXPECT_TRUE(transform.GetAuthCode().empty());
    TMemoryStream stream;
    stream.LoadFromBytes(Bytes(4, 1).data(), 4);
    transform.ReadAuthCode(stream, 0);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_FALSE(transform.IsAuthFailure(0x12345678, 0x12345678));
    EXPECT_TRUE(transform.IsAuthFailure(0x12345678, 0x12345679));
}

TEST(AesTransform, ResetForgetsEverythingAndRefusesWork)
{
    TAESCryptoTransform transform(256, 8, 2);
    std::uint8_t data[4] = {};
    EXPECT_THROW(transform.EncryptData(data, 0, data, 0, 4), Exception);
    transform.SetPassword("pw");
    transform.Reset();
    EXPECT_EQ(transform.GetPassword(), "");
    EXPECT_EQ(transform.KeyLength(), 0u);
    EXPECT_TRUE(transform.GetKey().empty());
    EXPECT_TRUE(transform.GetHeader().empty());
    EXPECT_THROW(transform.EncryptData(data, 0, data, 0, 4), Exception);
    EXPECT_THROW(transform.SetPassword("pw"), Exception);
}

// An entry written by 7-Zip, stored without compression: the salt, verifier,
// keys, counter and code all have to agree with another implementation.
class SevenZipEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (program_.empty()) {
            GTEST_SKIP() << "7-Zip is not installed";
        }
    }

    std::string program_ = wqtest::SevenZipProgram();
    wqtest::TempFolder folder_;
};

TEST_F(SevenZipEntry, DecryptsAnAes256EntryAndChecksItsCode)
{
    Bytes original;
    for (int i = 0; i < 3000; ++i) {
        const std::string line = "<station id=\"" + std::to_string(i) + "\" flow=\"1.5\"/>\n";
        original.insert(original.end(), line.begin(), line.end());
    }
    wqtest::WriteFileBytes(folder_ / "data.xml", original);
    const std::string command = "cd " + wqtest::Quoted(folder_.Path()) + " && " + program_ +
                                " a -tzip -mem=AES256 -mx0 -pRiv3r-Pass x.zip data.xml > /dev/null";
    ASSERT_EQ(wqtest::Run(command), 0);

    const Bytes zip = wqtest::ReadFileBytes(folder_ / "x.zip");
    ASSERT_GE(zip.size(), 30u);
    ASSERT_EQ(za::GetU32(zip.data()), 0x04034B50u);
    EXPECT_EQ(za::GetU16(zip.data() + 8), 99);
    const std::uint32_t compressedSize = za::GetU32(zip.data() + 18);
    const std::size_t nameLength = za::GetU16(zip.data() + 26);
    const std::size_t extraLength = za::GetU16(zip.data() + 28);
    const std::uint8_t* extra = zip.data() + 30 + nameLength;
    ASSERT_EQ(extraLength, 11u);
    EXPECT_EQ(za::GetU16(extra), 0x9901);
    const std::uint16_t vendorVersion = za::GetU16(extra + 4);
    EXPECT_EQ(extra[8], 3);               // 256-bit key
    EXPECT_EQ(za::GetU16(extra + 9), 0);  // stored

    const std::size_t dataStart = 30 + nameLength + extraLength;
    TMemoryStream stream;
    stream.LoadFromBytes(zip.data(), zip.size());
    stream.Seek(static_cast<std::int64_t>(dataStart));
    TAESCryptoTransform transform(256, 0, 2);
    transform.SetDirection(kTransformDecrypt);
    transform.SetPassword("Riv3r-Pass");
    transform.ReadHeader(stream, 0);
    ASSERT_TRUE(transform.CheckPassword("Riv3r-Pass"));
    const std::size_t size = compressedSize - 18 - 10;
    ASSERT_EQ(size, original.size());
    Bytes plain(size);
    stream.ReadBuffer(plain.data(), size);
    transform.DecryptData(plain.data(), 0, plain.data(), 0, size);
    EXPECT_EQ(plain, original);
    transform.ReadAuthCode(stream, 0);
    EXPECT_FALSE(transform.IsAuthFailure(0, 0)) << "vendor version " << vendorVersion;
}

}  // namespace
