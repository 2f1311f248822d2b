#pragma once

// HMAC (RFC 2104) over any registered hash.

#include <cstddef>
#include <cstdint>

#include "crypto/ZAHash.h"

constexpr std::size_t kHmacPadSize = 128;

// Wiped when destroyed: it holds the keyed pad and the running hash.
struct THmacState {
    THashState Hash;
    std::uint8_t KeyPad[kHmacPadSize];
    const THashDescriptor* Descriptor;

    THmacState();
    ~THmacState();
    THmacState(const THmacState& other) = default;
    THmacState& operator=(const THmacState& other) = default;
    void Wipe();
};

void HmacInit(THmacState& state, const THashDescriptor* descriptor, const void* key,
              std::size_t keySize);
// Nothing happens while the state has no descriptor.
void HmacUpdate(THmacState& state, const void* data, std::size_t size);
// Writes the code into digest and wipes the state.
void HmacFinal(THmacState& state, THashDigest& digest);
