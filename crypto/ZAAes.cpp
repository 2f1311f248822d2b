#include "crypto/ZAAes.h"

#include <array>
#include <bit>
#include <cstring>

namespace za {

namespace {

struct Tables {
    std::array<std::uint8_t, 256> sbox;
    std::array<std::uint8_t, 256> inverseSbox;
    std::array<std::uint32_t, 256> encrypt;  // rows 2S, S, S, 3S of one column
    std::array<std::uint32_t, 256> decrypt;  // rows 14I, 9I, 13I, 11I
};

std::uint8_t Times2(std::uint8_t x)
{
    return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) != 0 ? 0x1B : 0));
}

std::uint8_t Multiply(std::uint8_t a, std::uint8_t b)
{
    std::uint8_t product = 0;
    for (; b != 0; b >>= 1, a = Times2(a)) {
        if ((b & 1) != 0) {
            product ^= a;
        }
    }
    return product;
}

std::uint32_t Word(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
{
    return std::uint32_t{a} << 24 | std::uint32_t{b} << 16 | std::uint32_t{c} << 8 | d;
}

Tables BuildTables()
{
    Tables t{};
    for (int x = 0; x < 256; ++x) {
        std::uint8_t inverse = 0;
        for (int y = 1; y < 256 && x != 0; ++y) {
            if (Multiply(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) == 1) {
                inverse = static_cast<std::uint8_t>(y);
                break;
            }
        }
        const std::uint8_t s = inverse ^ std::rotl(inverse, 1) ^ std::rotl(inverse, 2) ^
                               std::rotl(inverse, 3) ^ std::rotl(inverse, 4) ^ 0x63;
        t.sbox[static_cast<std::size_t>(x)] = s;
        t.inverseSbox[s] = static_cast<std::uint8_t>(x);
    }
    for (std::size_t x = 0; x < 256; ++x) {
        const std::uint8_t s = t.sbox[x];
        const std::uint8_t i = t.inverseSbox[x];
        t.encrypt[x] = Word(Multiply(s, 2), s, s, Multiply(s, 3));
        t.decrypt[x] = Word(Multiply(i, 14), Multiply(i, 9), Multiply(i, 13), Multiply(i, 11));
    }
    return t;
}

const Tables& AesTables()
{
    static const Tables tables = BuildTables();
    return tables;
}

std::uint32_t Load(const std::uint8_t* p)
{
    return Word(p[0], p[1], p[2], p[3]);
}

std::uint8_t Byte(std::uint32_t w, int row)
{
    return static_cast<std::uint8_t>(w >> (24 - 8 * row));
}

// InvMixColumns of one column, for the round keys of the equivalent inverse cipher.
void InverseMixColumn(std::uint8_t* c)
{
    const std::uint8_t a0 = c[0], a1 = c[1], a2 = c[2], a3 = c[3];
    c[0] = Multiply(a0, 14) ^ Multiply(a1, 11) ^ Multiply(a2, 13) ^ Multiply(a3, 9);
    c[1] = Multiply(a0, 9) ^ Multiply(a1, 14) ^ Multiply(a2, 11) ^ Multiply(a3, 13);
    c[2] = Multiply(a0, 13) ^ Multiply(a1, 9) ^ Multiply(a2, 14) ^ Multiply(a3, 11);
    c[3] = Multiply(a0, 11) ^ Multiply(a1, 13) ^ Multiply(a2, 9) ^ Multiply(a3, 14);
}

// One table-driven round over the four columns. step is 1 for encryption
// (ShiftRows takes row r from column j + r) and 3 for decryption (from j - r).
void Round(const std::array<std::uint32_t, 256>& table, const std::uint32_t s[4], int step,
           const std::uint8_t* key, std::uint32_t out[4])
{
    for (int j = 0; j < 4; ++j) {
        std::uint32_t t = Load(key + 4 * j);
        for (int row = 0; row < 4; ++row) {
            const std::uint32_t column = s[(j + step * row) % 4];
            t ^= std::rotr(table[Byte(column, row)], 8 * row);
        }
        out[j] = t;
    }
}

void LastRound(const std::array<std::uint8_t, 256>& box, const std::uint32_t s[4], int step,
               const std::uint8_t* key, std::uint8_t* block)
{
    for (int j = 0; j < 4; ++j) {
        for (int row = 0; row < 4; ++row) {
            const std::uint32_t column = s[(j + step * row) % 4];
            block[4 * j + row] = box[Byte(column, row)] ^ key[4 * j + row];
        }
    }
}

void Cipher(const std::array<std::uint32_t, 256>& table, const std::array<std::uint8_t, 256>& box,
            int step, const std::uint8_t* keys, int rounds, std::uint8_t* block)
{
    std::uint32_t s[4];
    std::uint32_t t[4];
    for (int j = 0; j < 4; ++j) {
        s[j] = Load(block + 4 * j) ^ Load(keys + 4 * j);
    }
    for (int r = 1; r < rounds; ++r) {
        Round(table, s, step, keys + kAesBlock * static_cast<std::size_t>(r), t);
        std::memcpy(s, t, sizeof(s));
    }
    LastRound(box, s, step, keys + kAesBlock * static_cast<std::size_t>(rounds), block);
}

}  // namespace

int AesRounds(std::size_t keySize)
{
    if (keySize <= 16) {
        return 10;
    }
    return keySize <= 24 ? 12 : 14;
}

void AesExpandKey(const std::uint8_t* key, int rounds, std::uint8_t* encryptKeys,
                  std::uint8_t* decryptKeys)
{
    const Tables& t = AesTables();
    const int nk = rounds - 6;
    const int words = 4 * (rounds + 1);
    std::memcpy(encryptKeys, key, static_cast<std::size_t>(4 * nk));
    std::uint8_t roundConstant = 1;
    for (int i = nk; i < words; ++i) {
        std::uint8_t temp[4];
        std::memcpy(temp, encryptKeys + 4 * (i - 1), 4);
        if (i % nk == 0) {
            const std::uint8_t first = temp[0];
            temp[0] = t.sbox[temp[1]] ^ roundConstant;
            temp[1] = t.sbox[temp[2]];
            temp[2] = t.sbox[temp[3]];
            temp[3] = t.sbox[first];
            roundConstant = Times2(roundConstant);
        } else if (nk > 6 && i % nk == 4) {
            for (std::uint8_t& b : temp) {
                b = t.sbox[b];
            }
        }
        for (int b = 0; b < 4; ++b) {
            encryptKeys[4 * i + b] = encryptKeys[4 * (i - nk) + b] ^ temp[b];
        }
    }
    for (int r = 0; r <= rounds; ++r) {
        std::uint8_t* target = decryptKeys + kAesBlock * static_cast<std::size_t>(r);
        std::memcpy(target, encryptKeys + kAesBlock * static_cast<std::size_t>(rounds - r),
                    kAesBlock);
        if (r > 0 && r < rounds) {
            for (int column = 0; column < 4; ++column) {
                InverseMixColumn(target + 4 * column);
            }
        }
    }
}

void AesEncryptPortable(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* block)
{
    const Tables& t = AesTables();
    Cipher(t.encrypt, t.sbox, 1, encryptKeys, rounds, block);
}

void AesDecryptPortable(const std::uint8_t* decryptKeys, int rounds, std::uint8_t* block)
{
    const Tables& t = AesTables();
    Cipher(t.decrypt, t.inverseSbox, 3, decryptKeys, rounds, block);
}

}  // namespace za
