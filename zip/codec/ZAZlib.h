#pragma once

// The layer between the archiver and zlib: the exceptions of compression
// failures, the check every zlib result passes through, a raw deflate stream
// set up the way the archiver uses it, and the deflate of one entry block by
// block on worker threads.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <thread>
#include <vector>
#include <zlib.h>

#include "platform/exception.h"

class EZlibError : public Exception {
public:
    using Exception::Exception;
};

class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

// A negative zlib result raises ECompressionError("error"); zero or a positive
// result is handed back.
int CheckCompression(int code);

// One raw deflate stream (no zlib header, trailer or Adler-32 sum) with zlib's
// defaults otherwise (32 KiB window, memory level 8, default strategy) at a
// level of 0 to 9, ended when destroyed.
class TZADeflateStream {
public:
    explicit TZADeflateStream(int level);
    ~TZADeflateStream();
    TZADeflateStream(const TZADeflateStream&) = delete;
    TZADeflateStream& operator=(const TZADeflateStream&) = delete;

    // Starts a new stream at the same level, as a new object would, on the
    // memory of this one.
    void Reset();
    // Lets the data that follow refer back into the bytes given (at most the
    // last 32 KiB count), as if they had been deflated just before.
    void SetDictionary(const void* dictionary, std::size_t size);
    // Deflates the input (Z_SYNC_FLUSH or Z_FINISH) into the output, which
    // must have room for the whole result (OutputBound); an output that runs
    // full raises ECompressionError. Returns the bytes written.
    std::size_t Deflate(const void* input, std::size_t inputSize, void* output,
                        std::size_t outputSize, int flush);
    // Room enough for deflating a piece of that size with a flush.
    static std::size_t OutputBound(std::size_t inputSize);

private:
    z_stream stream_;
};

// One block of an entry as it goes into the archive.
struct TZADeflatedBlock {
    // Valid until the next InputBuffer.
    std::span<std::uint8_t> Output;
    std::size_t InputSize = 0;
};

// Deflates one entry in blocks of a fixed size: each block is deflated on its
// own stream with the 32 KiB before it as dictionary and ends on a byte
// boundary (Z_SYNC_FLUSH, the last one Z_FINISH), so the blocks joined make
// one raw deflate stream, and a block that fits the entry whole comes out as a
// single stream would write it. The bytes depend only on the data, the level
// and the block size, never on how many workers share the blocks. Stored
// entries pass through unchanged. The CRC-32 of the data is worked out on the
// way.
//
// Entries of more than one block are spread over worker threads, which live
// as long as this object; with one worker, or one block, or when the system
// starts no thread, everything runs on the caller's thread. The caller hands blocks in order
// (InputBuffer, Submit) while there is room (Full) and takes them back in the same order (Take).
class TZABlockDeflater {
public:
    // workers 0: one per processor core.
    TZABlockDeflater(bool deflate, int level, std::size_t blockSize, std::uint64_t dataSize,
                     unsigned workers);
    ~TZABlockDeflater();
    TZABlockDeflater(const TZABlockDeflater&) = delete;
    TZABlockDeflater& operator=(const TZABlockDeflater&) = delete;

    // Where the next block is to be read, blockSize bytes long; only while
    // there is room.
    std::span<std::uint8_t> InputBuffer();
    // Hands in the block just read, of count bytes; last marks the entry's end.
    void Submit(std::size_t count, bool last);
    bool Full() const;
    bool HasPending() const { return submitted_ != taken_; }
    // The oldest block handed in, once deflated; a failure of its deflate is
    // raised here.
    TZADeflatedBlock Take();
    // The CRC-32 of the data of the blocks taken so far.
    std::uint32_t Crc() const { return crc_; }

    // The worker count when none is asked for: the processor cores.
    static unsigned DefaultWorkers();

private:
    struct Slot;

    void Work(std::stop_token stop);
    // The stream is made on the first block and reused for those after it.
    void Deflate(Slot& slot, std::optional<TZADeflateStream>& stream) const;
    Slot& SlotOf(std::uint64_t block);

    bool deflate_;
    int level_;
    std::size_t blockSize_;
    std::vector<Slot> slots_;
    // Blocks handed in, handed to a worker and taken back; a worker reads
    // them under the mutex.
    std::uint64_t submitted_ = 0;
    std::uint64_t started_ = 0;
    std::uint64_t taken_ = 0;
    std::uint32_t crc_ = 0;
    // The stream of the caller's thread when there are no workers.
    std::optional<TZADeflateStream> stream_;
    std::mutex mutex_;
    // Waited on with the workers' stop token, so that they end when this
    // object goes, even from a constructor that did not finish.
    std::condition_variable_any queued_;
    std::condition_variable done_;
    // Last, so that the workers end before what they use goes.
    std::vector<std::jthread> workers_;
};
