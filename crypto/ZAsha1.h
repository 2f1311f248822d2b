#pragma once

// SHA-1 (FIPS 180-1) as a descriptor of the hash registry, identifier 3.

#include <cstddef>
#include <cstdint>

#include "crypto/ZAHash.h"

extern const THashDescriptor SHA1Descriptor;

void SHA1Init(THashState& state);
void SHA1Update(THashState& state, const void* data, std::size_t size);
void SHA1Final(THashState& state, THashDigest& digest);

namespace za {

// The compression function over whole 64-byte blocks: the portable one and
// the one on the processor's SHA instructions (x86 only, chosen at run time).
void Sha1CompressPortable(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
void Sha1CompressNi(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);

}  // namespace za
