#include "crypto/ZAPBKDF_2.h"

#include "crypto/ZApb_kdf.h"
#include "platform/random_bytes.h"

TPBKDF2::TPBKDF2(const std::string& password, int iterations, std::size_t saltSize)
    : iterations_(iterations), salt_(saltSize), password_(password)
{
    FillRandomBytes(salt_.data(), salt_.size());
}

TPBKDF2::TPBKDF2(const std::string& password, int iterations, std::size_t saltSize,
                 const std::uint8_t* salt)
    : iterations_(iterations), salt_(salt, salt + saltSize), password_(password)
{
}

TPBKDF2::~TPBKDF2()
{
    za::SecureWipe(password_);
}

za::SecureBytes TPBKDF2::DeriveKey(std::size_t wanted) const
{
    za::SecureBytes key(wanted);
    Pbkdf2Sha1(password_.data(), password_.size(), wanted, key.data(), iterations_, salt_.size(),
               salt_.data());
    return key;
}
