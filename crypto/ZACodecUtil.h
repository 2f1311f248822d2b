#pragma once

// Base of the archiver's cipher library: chainable transformations of bytes,
// the byte helpers they share, the choice of the processor's cryptographic
// instructions, and the text encodings that results can be handed out in.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exception.h"

class TStream;

namespace za {

// Overwrites memory in a way the compiler may not drop as a dead store.
void SecureWipe(void* data, std::size_t size);
void SecureWipe(std::string& text);

// An allocator that wipes what it hands back, so that keys and derived bytes
// do not outlive their buffers, reallocations included.
template <class T>
struct WipingAllocator {
    using value_type = T;
    WipingAllocator() = default;
    template <class U>
    WipingAllocator(const WipingAllocator<U>&)
    {
    }
    T* allocate(std::size_t n) { return std::allocator<T>().allocate(n); }
    void deallocate(T* p, std::size_t n)
    {
        SecureWipe(p, n * sizeof(T));
        std::allocator<T>().deallocate(p, n);
    }
    template <class U>
    bool operator==(const WipingAllocator<U>&) const
    {
        return true;
    }
};

using SecureBytes = std::vector<std::uint8_t, WipingAllocator<std::uint8_t>>;

// destination[i] ^= source[i]; eight bytes at a time where it can.
void XorBuffers(std::uint8_t* destination, const std::uint8_t* source, std::size_t size);

// True when every byte is equal; the time taken does not depend on where the
// buffers differ, so a stored authentication code does not leak through it.
bool ConstantTimeEqual(const std::uint8_t* a, const std::uint8_t* b, std::size_t size);

// The processor's AES and SHA instructions are used where present; tests
// switch them off to run the portable code on the same machine.
bool ProcessorHasAes();
bool ProcessorHasSha();
void SetProcessorAcceleration(bool enabled);
bool UseProcessorAes();
bool UseProcessorSha();

}  // namespace za

// Action numbers of the transformations; every number not named here encodes.
constexpr int paEncode = 0;
constexpr int paDecode = 1;
constexpr int paScan = 3;  // read through without writing
constexpr int paWipe = 4;  // fill the feedback with random bytes

class EProtection : public Exception {
public:
    using Exception::Exception;
};

// Progress of TransformStream: bytes done of the whole size; (0, 0) at the end.
using TProtectionProgress = std::function<void(std::int64_t done, std::int64_t size)>;
void SetProtectionProgress(TProtectionProgress progress);

// A transformation of bytes that may hand its data on to another one.
class TProtection {
public:
    virtual ~TProtection() = default;

    const std::shared_ptr<TProtection>& Protection() const { return protection_; }
    // Raises EProtection when the chain would lead back to this object.
    void SetProtection(std::shared_ptr<TProtection> protection);

    virtual void StartCoding(int action);
    virtual void FinishCoding(int action);
    virtual void TransformBuffer(std::uint8_t* buffer, std::size_t size, int action);

    // No source: nothing; no destination: in place; negative size: from the
    // source's position to its end.
    virtual void TransformStream(TStream* source, TStream* destination, std::int64_t size,
                                 int action);
    virtual void TransformFile(const std::string& sourceName, const std::string& destinationName,
                               int action);
    // Decoding takes the text in the given text format and returns raw bytes;
    // the other actions return their result in that format.
    virtual std::string TransformText(const std::string& text, int action, int formatId);
    virtual std::size_t TransformInPlace(std::uint8_t* buffer, std::size_t size, int action);

private:
    std::shared_ptr<TProtection> protection_;
};

// Text encodings. Each format is one constant object; the registry hands out
// pointers to them.
class ETextFormat : public Exception {
public:
    using Exception::Exception;
};

class TTextFormat {
public:
    virtual ~TTextFormat() = default;

    virtual std::string TextToBytes(std::string_view text) const;
    virtual std::string BytesToText(std::string_view bytes) const;
    virtual std::string FormatName() const;
    virtual int FormatId() const;
    virtual bool IsValidInput(std::string_view data, bool decoding) const;
};

class TTextFormat_HEX : public TTextFormat {
public:
    std::string TextToBytes(std::string_view text) const override;
    std::string BytesToText(std::string_view bytes) const override;
    std::string FormatName() const override;
    int FormatId() const override;
    bool IsValidInput(std::string_view data, bool decoding) const override;
    // The 16 digits, the two prefix signs "X$", then the characters decoding skips.
    virtual std::string_view CharTable() const;
};

class TTextFormat_HEXL : public TTextFormat_HEX {
public:
    std::string FormatName() const override;
    int FormatId() const override;
    std::string_view CharTable() const override;
};

class TTextFormat_MIME64 : public TTextFormat_HEX {
public:
    std::string TextToBytes(std::string_view text) const override;
    std::string BytesToText(std::string_view bytes) const override;
    std::string FormatName() const override;
    int FormatId() const override;
    bool IsValidInput(std::string_view data, bool decoding) const override;
    // The 64 digits, the pad "=", then the characters decoding skips.
    std::string_view CharTable() const override;
};

class TTextFormat_UU : public TTextFormat {
public:
    std::string TextToBytes(std::string_view text) const override;
    std::string BytesToText(std::string_view bytes) const override;
    std::string FormatName() const override;
    int FormatId() const override;
    bool IsValidInput(std::string_view data, bool decoding) const override;
    // The 64 digits, then the characters decoding skips.
    virtual std::string_view CharTable() const;

private:
    bool Decode(std::string_view text, std::string* bytes) const;
};

class TTextFormat_XX : public TTextFormat_UU {
public:
    std::string FormatName() const override;
    int FormatId() const override;
    std::string_view CharTable() const override;
};

constexpr int kDefaultTextFormat = 4196;

// Replaces a registered format with the same identifier, else appends.
void RegisterTextFormat(const TTextFormat* format);
// -1 stands for the default format; nullptr when none is registered.
const TTextFormat* FindTextFormat(int id);
// A negative length runs up to the first zero byte.
std::string BytesToFormat(const char* bytes, int length, int id);
std::string FormatToBytes(const char* text, int length, int id);
