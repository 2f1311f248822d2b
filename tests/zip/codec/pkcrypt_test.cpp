#include <gtest/gtest.h>

#include "zip/codec/ZAPkzipCrypt.h"
#include "zip/format/ZACrc32.h"

namespace {

// A reader's side of the cipher: the keys advance with the decrypted byte.
std::uint8_t DecryptByte(TZAPkzipKeys& keys, std::uint8_t c)
{
    const std::uint8_t p = c ^ KeyStreamByte(keys);
    UpdateKeys(keys, p);
    return p;
}

TEST(PkzipCrypt, KeySchedule)
{
    TZAPkzipKeys keys;
    InitKeys("", keys);
    EXPECT_EQ(keys.Key0, 0x12345678u);
    EXPECT_EQ(keys.Key1, 0x23456789u);
    EXPECT_EQ(keys.Key2, 0x34567890u);
    // One character runs the update once (values worked out independently).
    InitKeys("a", keys);
    EXPECT_EQ(keys.Key0, 0x64799C96u);
    EXPECT_EQ(keys.Key1, 0xB303049Cu);
    EXPECT_EQ(keys.Key2, 0xA253270Au);
    EXPECT_EQ(KeyStreamByte(keys), 0x33);
    EXPECT_EQ(KeyStreamByte(keys), 0x33);  // reading the stream does not advance it
    InitKeys("secret", keys);
    EXPECT_EQ(keys.Key0, 0xDDA9E469u);
    EXPECT_EQ(keys.Key1, 0x96212999u);
    EXPECT_EQ(keys.Key2, 0xF9FC9651u);
    // Bytes above 127 count as unsigned.
    TZAPkzipKeys high;
    InitKeys("\xE9", high);
    TZAPkzipKeys manual{0x12345678, 0x23456789, 0x34567890};
    UpdateKeys(manual, 0xE9);
    EXPECT_EQ(high.Key0, manual.Key0);
    EXPECT_EQ(high.Key2, manual.Key2);
}

TEST(PkzipCrypt, HeaderCarriesTheCrcCheckBytes)
{
    const std::uint32_t crc = 0xCBF43926;
    TZAPkzipKeys writer;
    InitKeys("pw", writer);
    const TZAEncryptionHeader header = MakeEncryptionHeader(writer, crc);

    TZAPkzipKeys reader;
    InitKeys("pw", reader);
    TZAEncryptionHeader plain{};
    for (std::size_t i = 0; i < header.size(); ++i)
        plain[i] = DecryptByte(reader, header[i]);
    EXPECT_EQ(plain[10], 0xF4);
    EXPECT_EQ(plain[11], 0xCB);
    // Both sides end in the same state, ready for the data.
    EXPECT_EQ(reader.Key0, writer.Key0);
    EXPECT_EQ(reader.Key1, writer.Key1);
    EXPECT_EQ(reader.Key2, writer.Key2);
}

TEST(PkzipCrypt, SameFileAndPasswordEncryptDifferently)
{
    std::vector<std::uint8_t> data(64, 'A');
    auto encrypt = [&] {
        TZAPkzipKeys keys;
        InitKeys("pw", keys);
        const TZAEncryptionHeader header = MakeEncryptionHeader(keys, 0x11223344);
        std::vector<std::uint8_t> out(header.begin(), header.end());
        std::vector<std::uint8_t> body = data;
        EncryptBuffer(body.data(), 0, body.size(), keys);
        out.insert(out.end(), body.begin(), body.end());
        return out;
    };
    const auto first = encrypt();
    const auto second = encrypt();
    int sameHeaderBytes = 0;
    for (std::size_t i = 0; i < ZAEncryptionHeaderSize; ++i)
        sameHeaderBytes += first[i] == second[i];
    EXPECT_LT(sameHeaderBytes, 6);
    EXPECT_NE(std::vector<std::uint8_t>(first.begin() + 12, first.end()),
              std::vector<std::uint8_t>(second.begin() + 12, second.end()));
}

TEST(PkzipCrypt, BufferEncryptsOnlyItsRangeAndDecryptsBack)
{
    std::vector<std::uint8_t> data = {'a', 'b', 'c', 'd', 'e', 'f'};
    TZAPkzipKeys keys;
    InitKeys("key", keys);
    TZAPkzipKeys byteKeys = keys;
    EncryptBuffer(data.data(), 2, 3, keys);
    EXPECT_EQ(data[0], 'a');
    EXPECT_EQ(data[1], 'b');
    EXPECT_EQ(data[5], 'f');
    EXPECT_EQ(data[2], EncryptByte(byteKeys, 'c'));
    EXPECT_EQ(data[3], EncryptByte(byteKeys, 'd'));

    TZAPkzipKeys reader;
    InitKeys("key", reader);
    EXPECT_EQ(DecryptByte(reader, data[2]), 'c');
    EXPECT_EQ(DecryptByte(reader, data[3]), 'd');
    EXPECT_EQ(DecryptByte(reader, data[4]), 'e');
}

}  // namespace
