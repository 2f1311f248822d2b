#include "zip/codec/ZACryptoTransform.h"

#include <algorithm>

#include "platform/ZAStream.h"

namespace {

std::uint8_t KeyStrength(std::size_t keyLength)
{
    switch (keyLength) {
        case 16: return 1;
        case 24: return 2;
        case 32: return 3;
        default: return 0;
    }
}

void SkipFromPosition(TStream& stream, std::int64_t offset)
{
    stream.Seek(stream.Position() + offset);
}

}  // namespace

TAESCryptoTransform::TAESCryptoTransform(int keyBits, std::uint16_t compressionMethod,
                                         std::uint16_t vendorVersion)
    : keyLength_(static_cast<std::size_t>(keyBits / 8)),
      vendorVersion_(vendorVersion),
      compressionMethod_(compressionMethod),
      hash_(FindHashByName("SHA1"))
{
    if (keyBits != 128 && keyBits != 192 && keyBits != 256) {
        throw Exception("AES key size must be 128, 192 or 256 bits, not " +
                        std::to_string(keyBits));
    }
}

TAESCryptoTransform::~TAESCryptoTransform()
{
    za::SecureWipe(password_);
}

void TAESCryptoTransform::SetPassword(const std::string& password)
{
    password_ = password;
    if (Direction() == kTransformDecrypt && !salt_.empty()) {
        keyDerivation_ =
            std::make_unique<TPBKDF2>(password_, kIterations, salt_.size(), salt_.data());
    } else {
        keyDerivation_ = std::make_unique<TPBKDF2>(password_, kIterations, SaltLength());
        salt_ = keyDerivation_->GetSalt();
        verifierStored_ = false;
    }
    DeriveKeys();
}

void TAESCryptoTransform::DeriveKeys()
{
    if (KeyStrength(keyLength_) == 0) {
        throw Exception("AES entry encryption has no key size; create a new transform");
    }
    const za::SecureBytes derived = keyDerivation_->DeriveKey(DerivedLength());
    const auto hmacStart = derived.begin() + static_cast<std::ptrdiff_t>(keyLength_);
    const auto verifierStart = hmacStart + static_cast<std::ptrdiff_t>(keyLength_);
    aesKey_.assign(derived.begin(), hmacStart);
    hmacKey_.assign(hmacStart, verifierStart);
    // A password set after the header was read must not replace the stored
    // verifier, or CheckPassword would pass any password.
    if (!verifierStored_) {
        verifier_.assign(verifierStart, derived.end());
    }
    HmacInit(hmac_, hash_, hmacKey_.data(), hmacKey_.size());
    computedCode_.clear();
    cipher_ = std::make_unique<TCipher_Rijndael>(aesKey_.data(), static_cast<int>(keyLength_));
    cipher_->SetMode(cmCTR);
}

bool TAESCryptoTransform::CheckPassword(const std::string& password)
{
    if (verifier_.size() != 2) {
        return false;
    }
    const TPBKDF2 derivation(password, kIterations, salt_.size(), salt_.data());
    const za::SecureBytes derived = derivation.DeriveKey(DerivedLength());
    return derived[2 * keyLength_] == verifier_[0] && derived[2 * keyLength_ + 1] == verifier_[1];
}

void TAESCryptoTransform::Reset()
{
    za::SecureWipe(password_);
    keyLength_ = 0;
    keyDerivation_.reset();
    cipher_.reset();
    aesKey_ = za::SecureBytes();
    hmacKey_ = za::SecureBytes();
    hmac_.Wipe();
    verifier_.clear();
    verifierStored_ = false;
    salt_.clear();
    authCode_.clear();
    computedCode_.clear();
}

void TAESCryptoTransform::CheckKeys() const
{
    if (!cipher_) {
        throw Exception("AES entry encryption has no key: no password was set");
    }
}

std::size_t TAESCryptoTransform::EncryptData(const std::uint8_t* source, std::size_t sourceOffset,
                                             std::uint8_t* destination,
                                             std::size_t destinationOffset, std::size_t count)
{
    CheckKeys();
    std::uint8_t* out = destination + destinationOffset;
    cipher_->EncodeBuffer(source + sourceOffset, out, count);
    HmacUpdate(hmac_, out, count);
    return count;
}

std::size_t TAESCryptoTransform::DecryptData(const std::uint8_t* source, std::size_t sourceOffset,
                                             std::uint8_t* destination,
                                             std::size_t destinationOffset, std::size_t count)
{
    CheckKeys();
    HmacUpdate(hmac_, source + sourceOffset, count);
    cipher_->DecodeBuffer(source + sourceOffset, destination + destinationOffset, count);
    return count;
}

za::Bytes TAESCryptoTransform::GetHeader() const
{
    za::Bytes header = salt_;
    header.insert(header.end(), verifier_.begin(), verifier_.end());
    return header;
}

void TAESCryptoTransform::ReadHeader(TStream& stream, std::int64_t offset)
{
    SkipFromPosition(stream, offset);
    salt_.assign(SaltLength(), 0);
    stream.ReadBuffer(salt_.data(), salt_.size());
    keyDerivation_ = std::make_unique<TPBKDF2>(password_, kIterations, salt_.size(), salt_.data());
    verifierStored_ = false;
    DeriveKeys();
    stream.ReadBuffer(verifier_.data(), verifier_.size());
    verifierStored_ = true;
}

int TAESCryptoTransform::GetHeaderSize() const
{
    return static_cast<int>(SaltLength() + 2);
}

const za::Bytes& TAESCryptoTransform::ComputedCode()
{
    CheckKeys();
    if (computedCode_.empty()) {
        THashDigest digest{};
        HmacFinal(hmac_, digest);
        computedCode_.assign(digest.begin(), digest.begin() + kAuthCodeSize);
        za::SecureWipe(digest.data(), digest.size());
    }
    return computedCode_;
}

za::Bytes TAESCryptoTransform::GetAuthCode()
{
    if (vendorVersion_ == 1) {
        return {};
    }
    authCode_ = ComputedCode();
    return authCode_;
}

void TAESCryptoTransform::ReadAuthCode(TStream& stream, std::int64_t offset)
{
    if (vendorVersion_ == 1) {
        return;
    }
    SkipFromPosition(stream, offset);
    authCode_.assign(kAuthCodeSize, 0);
    stream.ReadBuffer(authCode_.data(), authCode_.size());
}

int TAESCryptoTransform::GetAuthCodeSize() const
{
    return vendorVersion_ == 1 ? 0 : static_cast<int>(kAuthCodeSize);
}

bool TAESCryptoTransform::IsAuthFailure(std::uint32_t storedCrc, std::uint32_t computedCrc)
{
    if (vendorVersion_ == 1) {
        return storedCrc != computedCrc;
    }
    const za::Bytes& computed = ComputedCode();
    return authCode_.size() != kAuthCodeSize ||
           !za::ConstantTimeEqual(computed.data(), authCode_.data(), kAuthCodeSize);
}

TZAExtraField TAESCryptoTransform::GetExtraField() const
{
    TZAAesField field;
    field.VendorVersion = vendorVersion_;
    field.KeyStrength = KeyStrength(keyLength_);
    field.ActualMethod = compressionMethod_;
    return field.ToExtraField();
}
