#include "crypto/ZAhmac.h"

#include <cstring>

#include "crypto/ZACodecUtil.h"

namespace {

constexpr std::uint8_t kInnerPad = 0x36;
constexpr std::uint8_t kInnerToOuter = 0x36 ^ 0x5C;

}  // namespace

THmacState::THmacState()
{
    Wipe();
}

THmacState::~THmacState()
{
    Wipe();
}

void THmacState::Wipe()
{
    za::SecureWipe(Hash.Data, sizeof(Hash.Data));
    za::SecureWipe(KeyPad, sizeof(KeyPad));
    Descriptor = nullptr;
}

void HmacInit(THmacState& state, const THashDescriptor* descriptor, const void* key,
              std::size_t keySize)
{
    state.Wipe();
    if (descriptor == nullptr) {
        return;
    }
    state.Descriptor = descriptor;
    const std::size_t blockSize = descriptor->BlockSize;
    if (keySize > blockSize) {
        THashDigest digest;
        HashBuffer(*descriptor, key, keySize, digest);
        std::memcpy(state.KeyPad, digest.data(), descriptor->DigestSize);
        za::SecureWipe(digest.data(), digest.size());
    } else if (keySize > 0) {
        std::memcpy(state.KeyPad, key, keySize);
    }
    for (std::size_t i = 0; i < blockSize; ++i) {
        state.KeyPad[i] ^= kInnerPad;
    }
    descriptor->Init(state.Hash);
    descriptor->Update(state.Hash, state.KeyPad, blockSize);
}

void HmacUpdate(THmacState& state, const void* data, std::size_t size)
{
    if (state.Descriptor != nullptr) {
        state.Descriptor->Update(state.Hash, data, size);
    }
}

void HmacFinal(THmacState& state, THashDigest& digest)
{
    const THashDescriptor* descriptor = state.Descriptor;
    if (descriptor == nullptr) {
        return;
    }
    THashDigest inner;
    descriptor->Final(state.Hash, inner);
    for (std::size_t i = 0; i < descriptor->BlockSize; ++i) {
        state.KeyPad[i] ^= kInnerToOuter;
    }
    descriptor->Init(state.Hash);
    descriptor->Update(state.Hash, state.KeyPad, descriptor->BlockSize);
    descriptor->Update(state.Hash, inner.data(), descriptor->DigestSize);
    descriptor->Final(state.Hash, digest);
    za::SecureWipe(inner.data(), inner.size());
    state.Wipe();
}
