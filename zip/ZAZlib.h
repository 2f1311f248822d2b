#pragma once

// The layer between the archiver and zlib: the exceptions of compression
// failures, the check every zlib result passes through, and a deflate stream
// set up the way the archiver uses it.

#include <cstddef>
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

// One deflate stream with zlib's defaults (deflate, 15 window bits, memory
// level 8, default strategy) at a level of 0 to 9, ended when destroyed.
class TZADeflateStream {
public:
    explicit TZADeflateStream(int level);
    ~TZADeflateStream();
    TZADeflateStream(const TZADeflateStream&) = delete;
    TZADeflateStream& operator=(const TZADeflateStream&) = delete;

    // Deflates the input (Z_SYNC_FLUSH or Z_FINISH) into the output, which
    // must have room for the whole result (OutputBound); an output that runs
    // full raises ECompressionError. Returns the bytes written.
    std::size_t Deflate(const void* input, std::size_t inputSize, void* output,
                        std::size_t outputSize, int flush);
    // Room enough for deflating a piece of that size with a flush.
    static std::size_t OutputBound(std::size_t inputSize);
    z_stream& Stream() { return stream_; }

private:
    z_stream stream_;
};
