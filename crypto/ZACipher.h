#pragma once

// Block ciphers of the archiver's cipher library: the chaining modes shared by
// every cipher, the Rijndael (AES) cipher, and the registry of cipher classes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "crypto/ZACodecUtil.h"

class ECipherException : public Exception {
public:
    ECipherException(int errorCode, const std::string& message)
        : Exception(message), errorCode_(errorCode)
    {
    }
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

constexpr int kCipherErrorKeySize = 2;
constexpr int kCipherErrorNoKey = 3;

[[noreturn]] void RaiseCipherError(int code, const std::string& message);

// Off unless a program turns it on: keys longer than the cipher takes are
// then refused instead of cut.
extern bool StrictCipherKeySize;

// F is the feedback register, E the block encryption.
enum TCipherMode : std::uint8_t {
    cmFeedbackXor = 0,     // C = E(P xor F), F := F xor C
    cmCBC = 1,             // C = E(P xor F), F := C
    cmCFB8 = 2,            // per byte, the cipher byte fed back
    cmOFB8 = 3,            // per byte, the key byte fed back
    cmCTR = 4,             // little-endian counter in the first 8 bytes, numbered from 1
    cmECB = 5,             // each block by itself
    cmFeedbackXorMAC = 6,  // as mode 0, only F changes
    cmCBCMAC = 7,          // as mode 1, only F changes
    cmCFB8MAC = 8,         // as mode 2, only F changes
};

constexpr std::uint32_t kCipherFlagKeySet = 1u << 1;

// A known answer that every cipher carries for its own check.
struct TCipherTestVector {
    const std::uint8_t* Key;
    std::size_t KeySize;
    const std::uint8_t* Plain;
    const std::uint8_t* Cipher;
};

class TCipher : public TProtection {
public:
    ~TCipher() override = default;

    virtual std::string ClassName() const = 0;

    TCipherMode Mode() const { return mode_; }
    void SetMode(TCipherMode mode) { mode_ = mode; }
    std::uint32_t Flags() const { return flags_; }
    virtual void SetFlag(int bit, bool on);
    bool HasKey() const { return (flags_ & kCipherFlagKeySet) != 0; }
    // Bit n set: action n encrypts or decrypts in TransformBuffer. All by default.
    std::uint8_t ActionSet() const { return actions_; }
    void SetActionSet(std::uint8_t actions) { actions_ = actions; }

    std::size_t BlockSize() const { return blockSize_; }
    std::size_t MaxKeySize() const { return maxKeySize_; }
    std::size_t ContextSize() const { return contextSize_; }
    virtual TCipherTestVector TestVector() const = 0;

    // A negative size counts as 0, a longer key is cut to MaxKeySize (or
    // refused with code 2 under StrictCipherKeySize). No starting vector: the
    // encryption of the current one.
    void SetKey(const void* key, int size, const std::uint8_t* startingVector = nullptr);
    virtual void SetStartingVector(const std::uint8_t* vector);
    virtual void EncryptBlock(std::uint8_t* block) = 0;
    virtual void DecryptBlock(std::uint8_t* block) = 0;
    // Feedback from the starting vector; counter mode starts again from 1.
    virtual void ResetFeedback();
    // Forgets the key: starting vector and feedback all bytes 255, the rest 0.
    virtual void Wipe();

    // In the current mode; source and destination may be the same buffer.
    // Code 3 when no key is set.
    void EncodeBuffer(const void* source, void* destination, std::size_t size);
    void DecodeBuffer(const void* source, void* destination, std::size_t size);

    const std::uint8_t* StartingVector() const { return startingVector_.data(); }
    const std::uint8_t* Feedback() const { return feedback_.data(); }
    const std::uint8_t* Counter() const { return counter_.data(); }

    void StartCoding(int action) override;
    void FinishCoding(int action) override;
    void TransformBuffer(std::uint8_t* buffer, std::size_t size, int action) override;

protected:
    TCipher(std::size_t blockSize, std::size_t maxKeySize, std::size_t contextSize);

    // The subclass's key setup into KeySchedule().
    virtual void ExpandKey(const std::uint8_t* key, std::size_t size) = 0;
    // Whole blocks of counter mode: output = input xor E(counter + 1), ...,
    // the counter advanced. Subclasses may do this faster.
    virtual void CounterBlocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blocks);
    void IncrementCounter();
    std::uint8_t* KeySchedule() { return keySchedule_.data(); }
    std::uint8_t* CounterBlock() { return counter_.data(); }

private:
    void CheckKey() const;
    void PrepareCoding(int action);
    void BlockModes(const std::uint8_t* in, std::uint8_t* out, std::size_t size, bool decrypt);
    void FinalPiece(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
    void ByteModes(const std::uint8_t* in, std::uint8_t* out, std::size_t size, bool decrypt);
    void CounterMode(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
    bool WritesData() const;

    std::size_t blockSize_;
    std::size_t maxKeySize_;
    std::size_t contextSize_;
    TCipherMode mode_ = cmFeedbackXor;
    std::uint32_t flags_ = 0;
    std::uint8_t actions_ = 0xFF;
    za::SecureBytes startingVector_;
    za::SecureBytes feedback_;
    za::SecureBytes scratch_;
    za::SecureBytes keySchedule_;
    za::SecureBytes counter_;
    za::SecureBytes keystream_;
    std::size_t keystreamPosition_;
};

// AES (FIPS-197). Keys of up to 16, 24 and 32 bytes take 10, 12 and 14
// rounds; a shorter key is padded with zero bytes to that size.
class TCipher_Rijndael : public TCipher {
public:
    TCipher_Rijndael();
    TCipher_Rijndael(const void* key, int size, const std::uint8_t* startingVector = nullptr);

    std::string ClassName() const override { return "TCipher_Rijndael"; }
    TCipherTestVector TestVector() const override;
    void EncryptBlock(std::uint8_t* block) override;
    void DecryptBlock(std::uint8_t* block) override;

protected:
    void ExpandKey(const std::uint8_t* key, std::size_t size) override;
    void CounterBlocks(const std::uint8_t* input, std::uint8_t* output,
                       std::size_t blocks) override;

private:
    int rounds_ = 0;
};

// The registry of cipher classes: one entry "Name=Description" per class.
struct TCipherClass {
    const char* ClassName;
    std::unique_ptr<TCipher> (*Create)();
};

extern const TCipherClass CipherClass_Rijndael;

struct TCipherEntry {
    std::string Text;
    const TCipherClass* Class;
};

// An empty name stands for the class name without its leading "T" and up to
// its first "_". Registering a listed class replaces its text. False for no class.
bool RegisterCipher(const TCipherClass* cipherClass, const std::string& name,
                    const std::string& description);
const std::vector<TCipherEntry>& CipherList();
