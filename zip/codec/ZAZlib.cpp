#include "zip/codec/ZAZlib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/worker_threads.h"
#include "zip/format/ZACrc32.h"

namespace {

// How far back deflate can refer: the dictionary a block gets.
constexpr std::size_t kDictionarySize = 32768;
// Negative window bits ask zlib for raw deflate data.
constexpr int kRawWindowBits = -MAX_WBITS;
constexpr int kMemoryLevel = 8;

// zlib's memory comes from the program's heap; an overflowing request fails
// like any other, which zlib reports as Z_MEM_ERROR.
voidpf Allocate(voidpf, uInt items, uInt size)
{
    if (size != 0 && items > std::numeric_limits<std::size_t>::max() / size)
        return Z_NULL;
    return std::malloc(static_cast<std::size_t>(items) * size);
}

void Release(voidpf, voidpf block)
{
    std::free(block);
}

uInt CheckedLength(std::size_t size)
{
    if (size > std::numeric_limits<uInt>::max())
        throw ECompressionError("error");
    return static_cast<uInt>(size);
}

}  // namespace

int CheckCompression(int code)
{
    if (code < 0)
        throw ECompressionError("error");
    return code;
}

TZADeflateStream::TZADeflateStream(int level)
{
    std::memset(&stream_, 0, sizeof stream_);
    stream_.zalloc = Allocate;
    stream_.zfree = Release;
    // The version text and record size of the zlib this program is built with.
    CheckCompression(deflateInit2_(&stream_, level, Z_DEFLATED, kRawWindowBits, kMemoryLevel,
                                   Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                                   static_cast<int>(sizeof stream_)));
}

TZADeflateStream::~TZADeflateStream()
{
    deflateEnd(&stream_);
}

void TZADeflateStream::Reset()
{
    CheckCompression(deflateReset(&stream_));
}

void TZADeflateStream::SetDictionary(const void* dictionary, std::size_t size)
{
    CheckCompression(
        deflateSetDictionary(&stream_, static_cast<const Bytef*>(dictionary), CheckedLength(size)));
}

std::size_t TZADeflateStream::Deflate(const void* input, std::size_t inputSize, void* output,
                                      std::size_t outputSize, int flush)
{
    stream_.next_in = static_cast<Bytef*>(const_cast<void*>(input));
    stream_.avail_in = CheckedLength(inputSize);
    stream_.next_out = static_cast<Bytef*>(output);
    stream_.avail_out = CheckedLength(outputSize);
    CheckCompression(deflate(&stream_, flush));
    // A full output may hold back bytes that zlib still has: refuse rather than
    // lose them.
    if (stream_.avail_in != 0 || stream_.avail_out == 0)
        throw ECompressionError("error");
    return outputSize - stream_.avail_out;
}

std::size_t TZADeflateStream::OutputBound(std::size_t inputSize)
{
    return inputSize + inputSize / 10 + 267;
}

// A block on its way: its data with the dictionary in front, and its output.
struct TZABlockDeflater::Slot {
    // Room for the dictionary in front of the data when the entry has more
    // than one block.
    std::vector<std::uint8_t> input;
    std::size_t dataOffset = 0;
    std::size_t dictionarySize = 0;
    std::size_t inputSize = 0;
    bool last = false;
    std::vector<std::uint8_t> output;
    // Written by the worker, read by the caller once done is set.
    bool done = false;
    std::span<std::uint8_t> result;
    std::uint32_t crc = 0;
    std::exception_ptr error;

    std::uint8_t* Data() { return input.data() + dataOffset; }
};

TZABlockDeflater::TZABlockDeflater(bool deflate, int level, std::size_t blockSize,
                                   std::uint64_t dataSize, unsigned workers)
    : deflate_(deflate), level_(level), blockSize_(std::max<std::size_t>(blockSize, 1))
{
    const std::uint64_t blocks = (dataSize + blockSize_ - 1) / blockSize_;
    const auto threads = blocks < 2 ? 1u
                                    : static_cast<unsigned>(std::min<std::uint64_t>(
                                          blocks, workers == 0 ? DefaultWorkers() : workers));
    // Twice the workers keep every worker busy while the caller writes.
    slots_.resize(threads > 1 ? 2 * threads : 1);
    for (Slot& slot : slots_) {
        slot.dataOffset = deflate_ && blocks > 1 ? kDictionarySize : 0;
        slot.input.resize(slot.dataOffset + blockSize_);
        if (deflate_)
            slot.output.resize(TZADeflateStream::OutputBound(blockSize_));
    }
    if (threads > 1)
        workers_ = StartWorkers(threads, [this](std::stop_token stop) { Work(stop); });
    // No worker looks at the slots before a block is handed in.
    slots_.resize(workers_.empty() ? 1 : 2 * workers_.size());
}

TZABlockDeflater::~TZABlockDeflater() = default;

// Asking the system costs a file read each time.
unsigned TZABlockDeflater::DefaultWorkers()
{
    static const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return cores;
}

TZABlockDeflater::Slot& TZABlockDeflater::SlotOf(std::uint64_t block)
{
    return slots_[static_cast<std::size_t>(block % slots_.size())];
}

bool TZABlockDeflater::Full() const
{
    return submitted_ - taken_ == slots_.size();
}

std::span<std::uint8_t> TZABlockDeflater::InputBuffer()
{
    Slot& slot = SlotOf(submitted_);
    slot.dictionarySize = 0;
    if (submitted_ > 0 && deflate_) {
        // Up to 32 KiB before this block, taken from the block before (the
        // same slot when there is only one).
        Slot& previous = SlotOf(submitted_ - 1);
        const std::size_t before = previous.dictionarySize + previous.inputSize;
        slot.dictionarySize = std::min(slot.dataOffset, before);
        std::memmove(slot.Data() - slot.dictionarySize,
                     previous.Data() + previous.inputSize - slot.dictionarySize,
                     slot.dictionarySize);
    }
    return {slot.Data(), blockSize_};
}

void TZABlockDeflater::Submit(std::size_t count, bool last)
{
    Slot& slot = SlotOf(submitted_);
    slot.inputSize = std::min(count, blockSize_);
    slot.last = last;
    slot.error = nullptr;
    if (workers_.empty())
        Deflate(slot, stream_);
    {
        const std::lock_guard lock(mutex_);
        slot.done = workers_.empty();
        ++submitted_;
    }
    queued_.notify_one();
}

TZADeflatedBlock TZABlockDeflater::Take()
{
    Slot& slot = SlotOf(taken_);
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return slot.done; });
        ++taken_;
    }
    if (slot.error)
        std::rethrow_exception(slot.error);
    // Combining costs more than a small item's whole CRC: the first block's
    // stands as it is.
    crc_ = taken_ == 1 ? slot.crc
                       : static_cast<std::uint32_t>(
                             crc32_combine(crc_, slot.crc, static_cast<z_off_t>(slot.inputSize)));
    return {slot.result, slot.inputSize};
}

// Blocks are started in the order they came, so that the caller's next Take
// waits the least.
void TZABlockDeflater::Work(std::stop_token stop)
{
    std::optional<TZADeflateStream> stream;
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, stop, [&] { return started_ < submitted_; });
        if (stop.stop_requested())
            return;
        Slot& slot = SlotOf(started_++);
        lock.unlock();
        Deflate(slot, stream);
        lock.lock();
        slot.done = true;
        done_.notify_one();
    }
}

void TZABlockDeflater::Deflate(Slot& slot, std::optional<TZADeflateStream>& stream) const
{
    try {
        slot.crc = Crc32Of(slot.Data(), slot.inputSize);
        if (!deflate_) {
            slot.result = {slot.Data(), slot.inputSize};
            return;
        }
        // A stream made for each block spent near a tenth of the time at
        // level 1 in mapping and unmapping its memory.
        if (stream)
            stream->Reset();
        else
            stream.emplace(level_);
        if (slot.dictionarySize > 0)
            stream->SetDictionary(slot.Data() - slot.dictionarySize, slot.dictionarySize);
        const std::size_t size =
            stream->Deflate(slot.Data(), slot.inputSize, slot.output.data(), slot.output.size(),
                            slot.last ? Z_FINISH : Z_SYNC_FLUSH);
        slot.result = {slot.output.data(), size};
    } catch (...) {
        slot.error = std::current_exception();
    }
}
