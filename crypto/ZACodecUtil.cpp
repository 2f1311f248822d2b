#include "crypto/ZACodecUtil.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/ZAStream.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace za {

void SecureWipe(void* data, std::size_t size)
{
    if (data != nullptr && size > 0) {
        explicit_bzero(data, size);
    }
}

void SecureWipe(std::string& text)
{
    SecureWipe(text.data(), text.size());
    text.clear();
}

void XorBuffers(std::uint8_t* destination, const std::uint8_t* source, std::size_t size)
{
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, destination + i, 8);
        std::memcpy(&b, source + i, 8);
        a ^= b;
        std::memcpy(destination + i, &a, 8);
    }
    for (; i < size; ++i) {
        destination[i] ^= source[i];
    }
}

bool ConstantTimeEqual(const std::uint8_t* a, const std::uint8_t* b, std::size_t size)
{
    volatile std::uint8_t difference = 0;
    for (std::size_t i = 0; i < size; ++i) {
        difference = static_cast<std::uint8_t>(difference | (a[i] ^ b[i]));
    }
    return difference == 0;
}

namespace {

struct ProcessorFeatures {
    bool aes = false;
    bool sha = false;
};

ProcessorFeatures DetectFeatures()
{
    ProcessorFeatures features;
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d)) {
        const bool ssse3 = (c & bit_SSSE3) != 0;
        const bool sse41 = (c & bit_SSE4_1) != 0;
        features.aes = (c & bit_AES) != 0 && sse41;
        if (__get_cpuid_count(7, 0, &a, &b, &c, &d)) {
            features.sha = (b & bit_SHA) != 0 && ssse3 && sse41;
        }
    }
#endif
    return features;
}

const ProcessorFeatures& Features()
{
    static const ProcessorFeatures features = DetectFeatures();
    return features;
}

std::atomic<bool> accelerationEnabled{true};

}  // namespace

bool ProcessorHasAes()
{
    return Features().aes;
}
bool ProcessorHasSha()
{
    return Features().sha;
}

void SetProcessorAcceleration(bool enabled)
{
    accelerationEnabled.store(enabled, std::memory_order_relaxed);
}

bool UseProcessorAes()
{
    return Features().aes && accelerationEnabled.load(std::memory_order_relaxed);
}

bool UseProcessorSha()
{
    return Features().sha && accelerationEnabled.load(std::memory_order_relaxed);
}

}  // namespace za

namespace {

constexpr std::size_t kStreamBlock = 4096;

TProtectionProgress& ProgressCallback()
{
    static TProtectionProgress progress;
    return progress;
}

void ReportProgress(std::int64_t done, std::int64_t size)
{
    if (ProgressCallback()) {
        ProgressCallback()(done, size);
    }
}

// Two spellings of one file must not be taken for two files: creating the
// destination would then truncate the source before it is read.
bool SameFile(const std::string& a, const std::string& b)
{
    if (a == b) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

void SetProtectionProgress(TProtectionProgress progress)
{
    ProgressCallback() = std::move(progress);
}

void TProtection::SetProtection(std::shared_ptr<TProtection> protection)
{
    for (const TProtection* link = protection.get(); link != nullptr;
         link = link->protection_.get()) {
        if (link == this) {
            throw EProtection("Circular Protection detected, Protection Object is invalid.");
        }
    }
    protection_ = std::move(protection);
}

void TProtection::StartCoding(int action)
{
    if (protection_) {
        protection_->StartCoding(action);
    }
}

void TProtection::FinishCoding(int action)
{
    if (protection_) {
        protection_->FinishCoding(action);
    }
}

void TProtection::TransformBuffer(std::uint8_t* buffer, std::size_t size, int action)
{
    if (protection_) {
        protection_->TransformBuffer(buffer, size, action);
    }
}

void TProtection::TransformStream(TStream* source, TStream* destination, std::int64_t size,
                                  int action)
{
    if (source == nullptr) {
        return;
    }
    if (destination == nullptr) {
        destination = source;
    }
    if (size < 0) {
        size = source->Size() - source->Position();
    }
    StartCoding(action);
    ReportProgress(0, size);
    std::vector<std::uint8_t> buffer(kStreamBlock);
    std::int64_t sourcePosition = source->Position();
    std::int64_t destinationPosition = destination->Position();
    std::int64_t done = 0;
    while (done < size) {
        source->Seek(sourcePosition);
        const auto wanted =
            static_cast<std::size_t>(std::min<std::int64_t>(size - done, kStreamBlock));
        const std::size_t read = source->Read(buffer.data(), wanted);
        if (read == 0) {
            break;
        }
        TransformBuffer(buffer.data(), read, action);
        if (action != paScan) {
            destination->Seek(destinationPosition);
            destination->WriteBuffer(buffer.data(), read);
            destinationPosition = destination->Position();
        }
        sourcePosition += static_cast<std::int64_t>(read);
        done += static_cast<std::int64_t>(read);
        ReportProgress(done, size);
    }
    ReportProgress(0, 0);
    za::SecureWipe(buffer.data(), buffer.size());
    FinishCoding(action);
}

void TProtection::TransformFile(const std::string& sourceName, const std::string& destinationName,
                                int action)
{
    const bool separate =
        action == paScan || (!destinationName.empty() && !SameFile(sourceName, destinationName));
    if (!separate) {
        TFileStream file(sourceName, fmOpenReadWrite);
        TransformStream(&file, nullptr, file.Size(), action);
        return;
    }
    TFileStream source(sourceName, fmOpenRead | fmShareDenyNone);
    if (action == paScan) {
        TransformStream(&source, nullptr, source.Size(), action);
        return;
    }
    TFileStream destination(destinationName, fmCreate);
    TransformStream(&source, &destination, source.Size(), action);
    destination.SetSize(destination.Position());
}

std::string TProtection::TransformText(const std::string& text, int action, int formatId)
{
    if (text.empty()) {
        return {};
    }
    const std::string input =
        action == paDecode ? FormatToBytes(text.data(), static_cast<int>(text.size()), formatId)
                           : text;
    TMemoryStream stream;
    stream.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    TransformStream(&stream, nullptr, stream.Size(), action);
    const auto& bytes = stream.Memory();
    std::string result(bytes.begin(), bytes.end());
    if (action == paDecode) {
        return result;
    }
    return BytesToFormat(result.data(), static_cast<int>(result.size()), formatId);
}

std::size_t TProtection::TransformInPlace(std::uint8_t* buffer, std::size_t size, int action)
{
    StartCoding(action);
    TransformBuffer(buffer, size, action);
    FinishCoding(action);
    return size;
}
