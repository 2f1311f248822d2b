#include "crypto/ZApb_kdf.h"

#include <algorithm>
#include <cstring>

#include "crypto/ZACodecUtil.h"
#include "crypto/ZAhmac.h"

namespace {

constexpr std::uint8_t kInnerToOuter = 0x36 ^ 0x5C;

// The hash states after the inner and the outer key pad: every HMAC of the
// derivation starts from copies of them instead of hashing the pads again,
// which halves the work of a thousand iterations.
struct KeyedHmac {
    THashState inner;
    THashState outer;
    const THashDescriptor* descriptor;

    KeyedHmac(const THashDescriptor* hash, const void* key, std::size_t keySize) : descriptor(hash)
    {
        THmacState state;
        HmacInit(state, hash, key, keySize);
        inner = state.Hash;
        for (std::size_t i = 0; i < hash->BlockSize; ++i) {
            state.KeyPad[i] ^= kInnerToOuter;
        }
        hash->Init(outer);
        hash->Update(outer, state.KeyPad, hash->BlockSize);
    }

    ~KeyedHmac()
    {
        za::SecureWipe(inner.Data, sizeof(inner.Data));
        za::SecureWipe(outer.Data, sizeof(outer.Data));
    }

    KeyedHmac(const KeyedHmac&) = delete;
    KeyedHmac& operator=(const KeyedHmac&) = delete;

    // code := HMAC(first || second).
    void Compute(const void* first, std::size_t firstSize, const void* second,
                 std::size_t secondSize, THashDigest& code) const
    {
        THashState state = inner;
        descriptor->Update(state, first, firstSize);
        descriptor->Update(state, second, secondSize);
        THashDigest innerDigest;
        descriptor->Final(state, innerDigest);
        state = outer;
        descriptor->Update(state, innerDigest.data(), descriptor->DigestSize);
        descriptor->Final(state, code);
        za::SecureWipe(innerDigest.data(), innerDigest.size());
    }
};

}  // namespace

int Pbkdf2(const THashDescriptor* descriptor, const void* password, std::size_t passwordSize,
           std::size_t wanted, std::uint8_t* output, int iterations, std::size_t saltSize,
           const void* salt)
{
    if (descriptor == nullptr) {
        return kPbkdf2NoHash;
    }
    const std::size_t digestSize = descriptor->DigestSize;
    if (digestSize == 0) {
        return kPbkdf2NoDigest;
    }
    const KeyedHmac hmac(descriptor, password, passwordSize);
    THashDigest u;
    THashDigest t;
    std::uint32_t counter = 0;
    for (std::size_t done = 0; done < wanted;) {
        ++counter;
        const std::uint8_t counterBytes[4] = {
            static_cast<std::uint8_t>(counter >> 24), static_cast<std::uint8_t>(counter >> 16),
            static_cast<std::uint8_t>(counter >> 8), static_cast<std::uint8_t>(counter)};
        t.fill(0);
        for (int j = 1; j <= iterations; ++j) {
            if (j == 1) {
                hmac.Compute(salt, saltSize, counterBytes, sizeof(counterBytes), u);
            } else {
                hmac.Compute(u.data(), digestSize, nullptr, 0, u);
            }
            za::XorBuffers(t.data(), u.data(), digestSize);
        }
        const std::size_t take = std::min(digestSize, wanted - done);
        std::memcpy(output + done, t.data(), take);
        done += take;
    }
    za::SecureWipe(u.data(), u.size());
    za::SecureWipe(t.data(), t.size());
    return kPbkdf2Ok;
}

int Pbkdf2Sha1(const void* password, std::size_t passwordSize, std::size_t wanted,
               std::uint8_t* output, int iterations, std::size_t saltSize, const void* salt)
{
    return Pbkdf2(GetHashById(3), password, passwordSize, wanted, output, iterations, saltSize,
                  salt);
}
