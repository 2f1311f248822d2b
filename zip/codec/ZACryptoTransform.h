#pragma once

// Entry encryption of the archiver. TZACryptoTransform is what the archiver
// sees of an encryption; TAESCryptoTransform encrypts an entry with AES in
// counter mode and authenticates it with HMAC-SHA1 (the AE-1/AE-2 scheme of
// zip archives): salt and password verifier in front of the data, a 10-byte
// authentication code behind it, and an extra field with header ID 0x9901.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "crypto/ZACipher.h"
#include "crypto/ZAPBKDF_2.h"
#include "crypto/ZAhmac.h"
#include "platform/ZAEndian.h"
#include "zip/format/ZARecords.h"

class TStream;

constexpr std::uint8_t kTransformEncrypt = 0;
constexpr std::uint8_t kTransformDecrypt = 1;

class TZACryptoTransform {
public:
    virtual ~TZACryptoTransform() = default;

    virtual void SetPassword(const std::string& password) = 0;
    virtual bool CheckPassword(const std::string& password) = 0;
    virtual const za::SecureBytes& GetKey() const = 0;
    virtual const std::string& GetPassword() const = 0;
    virtual void SetDirection(std::uint8_t direction) { direction_ = direction; }
    virtual void Reset() = 0;
    // Both return count; source and destination may be the same buffer.
    virtual std::size_t DecryptData(const std::uint8_t* source, std::size_t sourceOffset,
                                    std::uint8_t* destination, std::size_t destinationOffset,
                                    std::size_t count) = 0;
    virtual std::size_t EncryptData(const std::uint8_t* source, std::size_t sourceOffset,
                                    std::uint8_t* destination, std::size_t destinationOffset,
                                    std::size_t count) = 0;
    // The bytes in front of the entry's data.
    virtual za::Bytes GetHeader() const = 0;
    // Moves the stream by offset from its position, then reads the header.
    virtual void ReadHeader(TStream& stream, std::int64_t offset) = 0;
    virtual int GetHeaderSize() const = 0;
    // The bytes behind the entry's data; empty when the scheme has none.
    virtual za::Bytes GetAuthCode() = 0;
    virtual void ReadAuthCode(TStream& stream, std::int64_t offset) = 0;
    virtual int GetAuthCodeSize() const = 0;
    // storedCrc is the CRC-32 of the entry's directory record, computedCrc the
    // CRC-32 of the data as decrypted.
    virtual bool IsAuthFailure(std::uint32_t storedCrc, std::uint32_t computedCrc) = 0;
    virtual TZAExtraField GetExtraField() const = 0;

    std::uint8_t Direction() const { return direction_; }

private:
    std::uint8_t direction_ = kTransformEncrypt;
};

// Writing an entry: SetPassword, GetHeader in front of the data, EncryptData
// piece by piece, GetAuthCode behind it, GetExtraField into the headers.
// Reading one: SetDirection(kTransformDecrypt), SetPassword, ReadHeader,
// CheckPassword, DecryptData piece by piece, ReadAuthCode, IsAuthFailure.
class TAESCryptoTransform : public TZACryptoTransform {
public:
    static constexpr int kIterations = 1000;
    static constexpr std::size_t kAuthCodeSize = 10;

    // keyBits 128, 192 or 256 (else Exception); vendorVersion 1 or 2.
    TAESCryptoTransform(int keyBits, std::uint16_t compressionMethod, std::uint16_t vendorVersion);
    ~TAESCryptoTransform() override;
    TAESCryptoTransform(const TAESCryptoTransform&) = delete;
    TAESCryptoTransform& operator=(const TAESCryptoTransform&) = delete;

    void SetPassword(const std::string& password) override;
    bool CheckPassword(const std::string& password) override;
    const za::SecureBytes& GetKey() const override { return aesKey_; }
    const std::string& GetPassword() const override { return password_; }
    void Reset() override;
    std::size_t DecryptData(const std::uint8_t* source, std::size_t sourceOffset,
                            std::uint8_t* destination, std::size_t destinationOffset,
                            std::size_t count) override;
    std::size_t EncryptData(const std::uint8_t* source, std::size_t sourceOffset,
                            std::uint8_t* destination, std::size_t destinationOffset,
                            std::size_t count) override;
    za::Bytes GetHeader() const override;
    void ReadHeader(TStream& stream, std::int64_t offset) override;
    int GetHeaderSize() const override;
    za::Bytes GetAuthCode() override;
    void ReadAuthCode(TStream& stream, std::int64_t offset) override;
    int GetAuthCodeSize() const override;
    bool IsAuthFailure(std::uint32_t storedCrc, std::uint32_t computedCrc) override;
    TZAExtraField GetExtraField() const override;

    std::size_t KeyLength() const { return keyLength_; }
    const za::Bytes& Salt() const { return salt_; }
    const za::Bytes& Verifier() const { return verifier_; }

private:
    std::size_t SaltLength() const { return keyLength_ / 2; }
    std::size_t DerivedLength() const { return 2 * keyLength_ + 2; }
    void DeriveKeys();
    void CheckKeys() const;
    // The code of the data so far; the HMAC is finished on the first call.
    const za::Bytes& ComputedCode();

    std::size_t keyLength_;
    std::uint16_t vendorVersion_;
    std::uint16_t compressionMethod_;
    const THashDescriptor* hash_;
    THmacState hmac_;
    std::unique_ptr<TPBKDF2> keyDerivation_;
    std::unique_ptr<TCipher_Rijndael> cipher_;
    za::SecureBytes aesKey_;
    za::SecureBytes hmacKey_;
    za::Bytes verifier_;
    bool verifierStored_ = false;  // read from a header: derivations keep it
    za::Bytes salt_;
    za::Bytes authCode_;
    za::Bytes computedCode_;
    std::string password_;
};
