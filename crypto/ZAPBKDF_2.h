#pragma once

// A password and its salt, from which keys of any length are derived with
// PBKDF2-HMAC-SHA1.

#include <cstddef>
#include <string>

#include "crypto/ZACodecUtil.h"
#include "platform/ZAEndian.h"

class TPBKDF2 {
public:
    // A fresh salt of saltSize bytes from the system's cryptographic generator.
    TPBKDF2(const std::string& password, int iterations, std::size_t saltSize);
    TPBKDF2(const std::string& password, int iterations, std::size_t saltSize,
            const std::uint8_t* salt);
    ~TPBKDF2();
    TPBKDF2(const TPBKDF2&) = delete;
    TPBKDF2& operator=(const TPBKDF2&) = delete;

    za::SecureBytes DeriveKey(std::size_t wanted) const;
    za::Bytes GetSalt() const { return salt_; }

private:
    int iterations_;
    za::Bytes salt_;
    std::string password_;
};
