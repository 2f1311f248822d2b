#pragma once

// Registry of hash descriptors. A descriptor names one hash algorithm and its
// three routines; the registry holds one per identifier 0 to 8. SHA-1 is
// registered under identifier 3 before the first look-up.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::uint16_t kHashSignature = 15738;
constexpr std::uint16_t kHashDescriptorSize = 80;
constexpr std::uint32_t kHashVersion = 0x00010003;
constexpr int kHashSlots = 9;
constexpr std::size_t kMaxDigestSize = 64;
constexpr std::size_t kMaxObjectIdArcs = 16;

// Room for the running state of any registered hash.
struct THashState {
    alignas(16) std::uint8_t Data[212];
};

using THashDigest = std::array<std::uint8_t, kMaxDigestSize>;

using THashInit = void (*)(THashState& state);
using THashUpdate = void (*)(THashState& state, const void* data, std::size_t size);
// Writes the digest into a zero-filled digest buffer and clears the state.
using THashFinal = void (*)(THashState& state, THashDigest& digest);

struct THashDescriptor {
    std::uint16_t Signature;
    std::uint16_t SizeMarker;
    std::uint32_t Version;
    std::uint16_t BlockSize;
    std::uint16_t DigestSize;
    THashInit Init;
    THashFinal Final;
    THashUpdate Update;
    std::uint8_t Id;
    char Name[20];  // zero-terminated, up to 19 characters
    std::uint8_t ObjectIdArcCount;
    std::array<std::uint32_t, kMaxObjectIdArcs> ObjectIdArcs;
};

// Ignored unless id is a slot, the descriptor's identifier equals it and its
// signature, version and size marker are the registry's.
void RegisterHash(int id, const THashDescriptor* descriptor);

const THashDescriptor* GetHashById(int id);
// Letter case is ignored; nullptr when no registered hash has that name.
const THashDescriptor* FindHashByName(const char* name);
void HashBuffer(const THashDescriptor& descriptor, const void* data, std::size_t size,
                THashDigest& digest);
