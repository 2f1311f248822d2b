#include <algorithm>
#include <openssl/evp.h>

#include "crypto/ZACipher.h"
#include "tests/crypto/codec_test_support.h"

namespace {

using codec_test::Pattern;
using Bytes = std::vector<std::uint8_t>;

const Bytes kKey = Pattern(32, 11);
const Bytes kVector = Pattern(16, 12);

// E: one block with OpenSSL's AES-256, the reference for the formulas.
Bytes E(const Bytes& block)
{
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(context, EVP_aes_256_ecb(), nullptr, kKey.data(), nullptr);
    EVP_CIPHER_CTX_set_padding(context, 0);
    Bytes out(32);
    int length = 0;
    EVP_EncryptUpdate(context, out.data(), &length, block.data(), 16);
    EVP_CIPHER_CTX_free(context);
    out.resize(16);
    return out;
}

Bytes Xor(Bytes a, const Bytes& b)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        a[i] ^= b[i];
    }
    return a;
}

Bytes Slice(const Bytes& data, std::size_t start, std::size_t size)
{
    return {data.begin() + static_cast<std::ptrdiff_t>(start),
            data.begin() + static_cast<std::ptrdiff_t>(start + size)};
}

// The counter block n: little-endian in the first 8 bytes, zeros after.
Bytes CounterBlock(std::uint64_t n)
{
    Bytes block(16, 0);
    for (int i = 0; i < 8; ++i) {
        block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    }
    return block;
}

Bytes CounterReference(const Bytes& data)
{
    Bytes out = data;
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] ^= E(CounterBlock(i / 16 + 1))[i % 16];
    }
    return out;
}

TCipher_Rijndael MakeCipher(TCipherMode mode)
{
    TCipher_Rijndael cipher(kKey.data(), 32, kVector.data());
    cipher.SetMode(mode);
    return cipher;
}

Bytes Encode(TCipherMode mode, Bytes data)
{
    TCipher_Rijndael cipher = MakeCipher(mode);
    cipher.EncodeBuffer(data.data(), data.data(), data.size());
    return data;
}

class CounterModeTest : public codec_test::BothPaths {};

// 300 blocks and a piece: the counter carries from its first byte into the second.
TEST_P(CounterModeTest, NumbersBlocksFromOneLittleEndian)
{
    const Bytes data = Pattern(300 * 16 + 7);
    EXPECT_EQ(Encode(cmCTR, data), CounterReference(data));
    TCipher_Rijndael cipher = MakeCipher(cmCTR);
    Bytes buffer = data;
    cipher.EncodeBuffer(buffer.data(), buffer.data(), buffer.size());
    EXPECT_EQ(Slice(Bytes(cipher.Counter(), cipher.Counter() + 16), 0, 16), CounterBlock(301));
}

TEST_P(CounterModeTest, ContinuesAcrossCallsCutAnywhere)
{
    const Bytes data = Pattern(200, 5);
    const Bytes expected = CounterReference(data);
    for (const auto& pieces : codec_test::Splits(data.size())) {
        TCipher_Rijndael cipher = MakeCipher(cmCTR);
        Bytes out(data.size());
        std::size_t offset = 0;
        for (std::size_t piece : pieces) {
            cipher.EncodeBuffer(data.data() + offset, out.data() + offset, piece);
            offset += piece;
        }
        ASSERT_EQ(out, expected) << pieces.size() << " pieces";
    }
}

TEST_P(CounterModeTest, UsesNoCounterForNothingAndKeepsTheRestOfABlock)
{
    TCipher_Rijndael cipher = MakeCipher(cmCTR);
    Bytes data = Pattern(17);
    cipher.EncodeBuffer(data.data(), data.data(), 0);
    EXPECT_EQ(Bytes(cipher.Counter(), cipher.Counter() + 16), CounterBlock(0));
    cipher.EncodeBuffer(data.data(), data.data(), 17);
    EXPECT_EQ(Bytes(cipher.Counter(), cipher.Counter() + 16), CounterBlock(2));
    // The next 15 bytes come from the keystream of block 2.
    Bytes more(15, 0);
    cipher.EncodeBuffer(more.data(), more.data(), 15);
    EXPECT_EQ(Bytes(cipher.Counter(), cipher.Counter() + 16), CounterBlock(2));
    EXPECT_EQ(more, Slice(E(CounterBlock(2)), 1, 15));

    // Decryption is the same operation, from the counter's start again.
    cipher.ResetFeedback();
    cipher.DecodeBuffer(data.data(), data.data(), 17);
    EXPECT_EQ(data, Pattern(17));
}

INSTANTIATE_BOTH_PATHS(CounterModeTest);

// Mode 0: C = E(P xor F), F := F xor C; a final piece is XORed with E(F).
TEST(CipherModes, FeedbackXorFollowsItsFormula)
{
    const Bytes data = Pattern(16 * 3 + 5);
    Bytes expected;
    Bytes f = kVector;
    for (std::size_t i = 0; i + 16 <= data.size(); i += 16) {
        const Bytes c = E(Xor(Slice(data, i, 16), f));
        expected.insert(expected.end(), c.begin(), c.end());
        f = Xor(f, c);
    }
    const Bytes tail = Xor(Slice(data, 48, 5), E(f));
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(Encode(cmFeedbackXor, data), expected);
}

// Mode 3: per byte K = first byte of E(F), C = P xor K, K shifted into F.
TEST(CipherModes, OutputFeedbackFollowsItsFormula)
{
    const Bytes data = Pattern(40);
    Bytes expected;
    Bytes f = kVector;
    for (std::uint8_t p : data) {
        const std::uint8_t k = E(f)[0];
        expected.push_back(p ^ k);
        f.erase(f.begin());
        f.push_back(k);
    }
    EXPECT_EQ(Encode(cmOFB8, data), expected);
}

// Partial blocks at the end of CBC and ECB take E(F) as a keystream.
TEST(CipherModes, BlockModesXorAFinalPieceWithTheEncryptedFeedback)
{
    const Bytes data = Pattern(16 + 9);
    const Bytes cbcBlock = E(Xor(Slice(data, 0, 16), kVector));
    Bytes expected = cbcBlock;
    const Bytes cbcTail = Xor(Slice(data, 16, 9), E(cbcBlock));
    expected.insert(expected.end(), cbcTail.begin(), cbcTail.end());
    EXPECT_EQ(Encode(cmCBC, data), expected);

    Bytes ecb = E(Slice(data, 0, 16));
    const Bytes ecbTail = Xor(Slice(data, 16, 9), E(kVector));
    ecb.insert(ecb.end(), ecbTail.begin(), ecbTail.end());
    EXPECT_EQ(Encode(cmECB, data), ecb);
}

TEST(CipherModes, DataModesDecodeWhatTheyEncode)
{
    for (TCipherMode mode : {cmFeedbackXor, cmCBC, cmCFB8, cmOFB8, cmCTR, cmECB}) {
        for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 64u, 100u}) {
            const Bytes data = Pattern(size, static_cast<unsigned>(size) + 1);
            const Bytes encoded = Encode(mode, data);
            if (size >= 16) {
                EXPECT_NE(encoded, data) << int(mode);
            }
            TCipher_Rijndael cipher = MakeCipher(mode);
            Bytes decoded(size);
            cipher.DecodeBuffer(encoded.data(), decoded.data(), size);
            EXPECT_EQ(decoded, data) << "mode " << int(mode) << ", " << size << " bytes";
        }
    }
}

// The authentication modes leave the data alone and end with the code in F:
// CBC-MAC is the last CBC block, the 8-bit one the last 16 cipher bytes.
TEST(CipherModes, AuthenticationModesOnlyMoveTheFeedback)
{
    const Bytes data = Pattern(64);
    const Bytes cbc = Encode(cmCBC, data);
    const Bytes cfb = Encode(cmCFB8, data);
    const Bytes xorChain = Encode(cmFeedbackXor, data);
    Bytes xorCode = kVector;
    for (std::size_t i = 0; i < 64; i += 16) {
        xorCode = Xor(xorCode, Slice(xorChain, i, 16));
    }
    const struct {
        TCipherMode mode;
        Bytes code;
    } cases[] = {{cmCBCMAC, Slice(cbc, 48, 16)},
                 {cmCFB8MAC, Slice(cfb, 48, 16)},
                 {cmFeedbackXorMAC, xorCode}};
    for (const auto& c : cases) {
        for (bool decode : {false, true}) {
            TCipher_Rijndael cipher = MakeCipher(c.mode);
            Bytes buffer = data;
            if (decode) {
                cipher.DecodeBuffer(buffer.data(), buffer.data(), buffer.size());
            } else {
                cipher.EncodeBuffer(buffer.data(), buffer.data(), buffer.size());
            }
            EXPECT_EQ(buffer, data) << int(c.mode);
            EXPECT_EQ(Bytes(cipher.Feedback(), cipher.Feedback() + 16), c.code) << int(c.mode);
        }
    }
}

// A final piece still changes the code of an authentication mode.
TEST(CipherModes, AuthenticationCodeCoversAFinalPiece)
{
    Bytes a = Pattern(20);
    Bytes b = a;
    b[19] ^= 1;
    TCipher_Rijndael first = MakeCipher(cmCBCMAC);
    TCipher_Rijndael second = MakeCipher(cmCBCMAC);
    first.EncodeBuffer(a.data(), a.data(), a.size());
    second.EncodeBuffer(b.data(), b.data(), b.size());
    EXPECT_NE(Bytes(first.Feedback(), first.Feedback() + 16),
              Bytes(second.Feedback(), second.Feedback() + 16));
}

}  // namespace
