#pragma once

// PBKDF2 (RFC 2898, PKCS #5 v2.0) over the HMAC of a registered hash.

#include <cstddef>
#include <cstdint>

#include "crypto/ZAHash.h"

constexpr int kPbkdf2Ok = 0;
constexpr int kPbkdf2NoHash = 1;
constexpr int kPbkdf2NoDigest = 2;

// Writes wanted bytes to output; returns one of the codes above.
int Pbkdf2(const THashDescriptor* descriptor, const void* password, std::size_t passwordSize,
           std::size_t wanted, std::uint8_t* output, int iterations, std::size_t saltSize,
           const void* salt);
// Pbkdf2 over the hash of identifier 3 (SHA-1).
int Pbkdf2Sha1(const void* password, std::size_t passwordSize, std::size_t wanted,
               std::uint8_t* output, int iterations, std::size_t saltSize, const void* salt);
