#include "zip/codec/ZAPkzipCrypt.h"

#include "platform/random_bytes.h"
#include "zip/format/ZACrc32.h"

void InitKeys(std::string_view password, TZAPkzipKeys& keys)
{
    keys = {0x12345678, 0x23456789, 0x34567890};
    for (char c : password)
        UpdateKeys(keys, static_cast<std::uint8_t>(c));
}

void UpdateKeys(TZAPkzipKeys& keys, std::uint8_t c)
{
    keys.Key0 = CrcByte(keys.Key0, c);
    keys.Key1 = (keys.Key1 + (keys.Key0 & 0xFF)) * 134775813u + 1;
    keys.Key2 = CrcByte(keys.Key2, static_cast<std::uint8_t>(keys.Key1 >> 24));
}

std::uint8_t KeyStreamByte(const TZAPkzipKeys& keys)
{
    const std::uint32_t t = (keys.Key2 | 2) & 0xFFFF;
    return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
}

std::uint8_t EncryptByte(TZAPkzipKeys& keys, std::uint8_t p)
{
    const std::uint8_t t = KeyStreamByte(keys);
    UpdateKeys(keys, p);
    return p ^ t;
}

void EncryptBuffer(std::uint8_t* buffer, std::size_t start, std::size_t count, TZAPkzipKeys& keys)
{
    for (std::size_t i = start; i < start + count; ++i)
        buffer[i] = EncryptByte(keys, buffer[i]);
}

TZAEncryptionHeader MakeEncryptionHeader(TZAPkzipKeys& keys, std::uint32_t crc32)
{
    TZAEncryptionHeader header{};
    FillRandomBytes(header.data(), 10);
    header[10] = static_cast<std::uint8_t>(crc32 >> 16);
    header[11] = static_cast<std::uint8_t>(crc32 >> 24);
    EncryptBuffer(header.data(), 0, header.size(), keys);
    return header;
}
