#include "crypto/ZACipher.h"

#include <algorithm>
#include <cstring>

#include "platform/random_bytes.h"

bool StrictCipherKeySize = false;

void RaiseCipherError(int code, const std::string& message)
{
    throw ECipherException(code, message);
}

TCipher::TCipher(std::size_t blockSize, std::size_t maxKeySize, std::size_t contextSize)
    : blockSize_(blockSize),
      maxKeySize_(maxKeySize),
      contextSize_(contextSize),
      startingVector_(blockSize),
      feedback_(blockSize),
      scratch_(blockSize),
      keySchedule_(contextSize),
      counter_(blockSize),
      keystream_(blockSize),
      keystreamPosition_(blockSize)
{
    Wipe();
}

void TCipher::SetFlag(int bit, bool on)
{
    const std::uint32_t mask = 1u << bit;
    flags_ = on ? flags_ | mask : flags_ & ~mask;
}

void TCipher::SetKey(const void* key, int size, const std::uint8_t* startingVector)
{
    std::size_t keySize = size < 0 ? 0 : static_cast<std::size_t>(size);
    if (keySize > maxKeySize_) {
        if (StrictCipherKeySize) {
            RaiseCipherError(kCipherErrorKeySize,
                             "Length from Encryptionkey is invalid.\\r\\nKeysize for " +
                                 ClassName() + " must be to 0-" + std::to_string(maxKeySize_) +
                                 " bytes");
        }
        keySize = maxKeySize_;
    }
    ExpandKey(static_cast<const std::uint8_t*>(key), keySize);
    SetStartingVector(startingVector);
}

void TCipher::SetStartingVector(const std::uint8_t* vector)
{
    if (vector != nullptr) {
        std::copy_n(vector, blockSize_, startingVector_.begin());
    } else {
        EncryptBlock(startingVector_.data());
    }
    feedback_ = startingVector_;
    SetFlag(1, true);
}

void TCipher::ResetFeedback()
{
    feedback_ = startingVector_;
    std::fill(counter_.begin(), counter_.end(), 0);
    keystreamPosition_ = blockSize_;
}

void TCipher::Wipe()
{
    flags_ &= ~3u;
    std::fill(startingVector_.begin(), startingVector_.end(), 0xFF);
    std::fill(feedback_.begin(), feedback_.end(), 0xFF);
    za::SecureWipe(scratch_.data(), scratch_.size());
    za::SecureWipe(keySchedule_.data(), keySchedule_.size());
    za::SecureWipe(counter_.data(), counter_.size());
    za::SecureWipe(keystream_.data(), keystream_.size());
    keystreamPosition_ = blockSize_;
}

void TCipher::CheckKey() const
{
    if (!HasKey()) {
        RaiseCipherError(kCipherErrorNoKey,
                         ClassName() + " is not initialized call Init() or InitKey() before.");
    }
}

void TCipher::PrepareCoding(int action)
{
    CheckKey();
    if (action == paWipe) {
        FillRandomBytes(feedback_.data(), feedback_.size());
    } else if (action != paScan) {
        ResetFeedback();
    }
}

void TCipher::StartCoding(int action)
{
    PrepareCoding(action);
    TProtection::StartCoding(action);
}

void TCipher::FinishCoding(int action)
{
    PrepareCoding(action);
    TProtection::FinishCoding(action);
}

void TCipher::TransformBuffer(std::uint8_t* buffer, std::size_t size, int action)
{
    const bool inSet = action >= 0 && action < 8 && (actions_ & (1u << action)) != 0;
    if (action == paDecode) {
        if (inSet) {
            DecodeBuffer(buffer, buffer, size);
        }
        TProtection::TransformBuffer(buffer, size, action);
    } else {
        TProtection::TransformBuffer(buffer, size, action);
        if (inSet) {
            EncodeBuffer(buffer, buffer, size);
        }
    }
}

bool TCipher::WritesData() const
{
    return mode_ != cmFeedbackXorMAC && mode_ != cmCBCMAC && mode_ != cmCFB8MAC;
}

void TCipher::EncodeBuffer(const void* source, void* destination, std::size_t size)
{
    CheckKey();
    const auto* in = static_cast<const std::uint8_t*>(source);
    auto* out = static_cast<std::uint8_t*>(destination);
    switch (mode_) {
        case cmCFB8:
        case cmOFB8:
        case cmCFB8MAC: ByteModes(in, out, size, false); break;
        case cmCTR: CounterMode(in, out, size); break;
        default: BlockModes(in, out, size, false); break;
    }
}

void TCipher::DecodeBuffer(const void* source, void* destination, std::size_t size)
{
    CheckKey();
    const auto* in = static_cast<const std::uint8_t*>(source);
    auto* out = static_cast<std::uint8_t*>(destination);
    switch (mode_) {
        case cmCFB8: ByteModes(in, out, size, true); break;
        // Output feedback and the authentication modes run the same both ways.
        case cmOFB8:
        case cmCFB8MAC: ByteModes(in, out, size, false); break;
        case cmCTR: CounterMode(in, out, size); break;
        case cmFeedbackXorMAC:
        case cmCBCMAC: BlockModes(in, out, size, false); break;
        default: BlockModes(in, out, size, true); break;
    }
}

void TCipher::BlockModes(const std::uint8_t* in, std::uint8_t* out, std::size_t size, bool decrypt)
{
    const std::size_t b = blockSize_;
    const bool xorFeedback = mode_ == cmFeedbackXor || mode_ == cmFeedbackXorMAC;
    za::SecureBytes cipherBlock(b);
    for (; size >= b; size -= b, in += b, out += b) {
        if (mode_ == cmECB) {
            std::memmove(out, in, b);
            decrypt ? DecryptBlock(out) : EncryptBlock(out);
            continue;
        }
        if (decrypt) {
            std::copy_n(in, b, cipherBlock.begin());
            std::copy_n(in, b, scratch_.begin());
            DecryptBlock(scratch_.data());
            za::XorBuffers(scratch_.data(), feedback_.data(), b);
            std::copy_n(scratch_.begin(), b, out);
        } else {
            std::copy_n(in, b, scratch_.begin());
            za::XorBuffers(scratch_.data(), feedback_.data(), b);
            EncryptBlock(scratch_.data());
            std::copy_n(scratch_.begin(), b, cipherBlock.begin());
            if (WritesData()) {
                std::copy_n(scratch_.begin(), b, out);
            }
        }
        if (xorFeedback) {
            za::XorBuffers(feedback_.data(), cipherBlock.data(), b);
        } else {
            feedback_ = cipherBlock;
        }
    }
    if (size > 0) {
        FinalPiece(in, out, size);
    }
}

// A piece shorter than a block is XORed with E(F); the authentication modes
// take it into F instead, so that it counts in the code.
void TCipher::FinalPiece(const std::uint8_t* in, std::uint8_t* out, std::size_t size)
{
    EncryptBlock(feedback_.data());
    if (WritesData()) {
        for (std::size_t i = 0; i < size; ++i) {
            out[i] = in[i] ^ feedback_[i];
        }
    } else {
        za::XorBuffers(feedback_.data(), in, size);
    }
}

void TCipher::ByteModes(const std::uint8_t* in, std::uint8_t* out, std::size_t size, bool decrypt)
{
    const std::size_t b = blockSize_;
    for (std::size_t i = 0; i < size; ++i) {
        scratch_ = feedback_;
        EncryptBlock(scratch_.data());
        const std::uint8_t key = scratch_[0];
        const std::uint8_t input = in[i];
        const std::uint8_t result = input ^ key;
        std::uint8_t fedBack = decrypt ? input : result;
        if (mode_ == cmOFB8) {
            fedBack = key;
        }
        std::memmove(feedback_.data(), feedback_.data() + 1, b - 1);
        feedback_[b - 1] = fedBack;
        if (WritesData()) {
            out[i] = result;
        }
    }
}

void TCipher::CounterMode(const std::uint8_t* in, std::uint8_t* out, std::size_t size)
{
    const std::size_t b = blockSize_;
    for (; size > 0 && keystreamPosition_ < b; --size) {
        *out++ = *in++ ^ keystream_[keystreamPosition_++];
    }
    const std::size_t blocks = size / b;
    if (blocks > 0) {
        CounterBlocks(in, out, blocks);
        in += blocks * b;
        out += blocks * b;
        size -= blocks * b;
    }
    if (size > 0) {
        IncrementCounter();
        keystream_ = counter_;
        EncryptBlock(keystream_.data());
        for (keystreamPosition_ = 0; keystreamPosition_ < size; ++keystreamPosition_) {
            out[keystreamPosition_] = in[keystreamPosition_] ^ keystream_[keystreamPosition_];
        }
    }
}

void TCipher::CounterBlocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blocks)
{
    const std::size_t b = blockSize_;
    for (; blocks > 0; --blocks, input += b, output += b) {
        IncrementCounter();
        keystream_ = counter_;
        EncryptBlock(keystream_.data());
        for (std::size_t i = 0; i < b; ++i) {
            output[i] = input[i] ^ keystream_[i];
        }
    }
    keystreamPosition_ = b;
}

void TCipher::IncrementCounter()
{
    for (std::size_t i = 0; i < 8 && ++counter_[i] == 0; ++i) {
    }
}
