#include "zip/ZAZlib.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

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
    CheckCompression(deflateInit_(&stream_, level, ZLIB_VERSION, static_cast<int>(sizeof stream_)));
}

TZADeflateStream::~TZADeflateStream()
{
    deflateEnd(&stream_);
}

std::size_t TZADeflateStream::Deflate(const void* input, std::size_t inputSize, void* output,
                                      std::size_t outputSize, int flush)
{
    constexpr std::size_t kLimit = std::numeric_limits<uInt>::max();
    if (inputSize > kLimit || outputSize > kLimit)
        throw ECompressionError("error");
    stream_.next_in = static_cast<Bytef*>(const_cast<void*>(input));
    stream_.avail_in = static_cast<uInt>(inputSize);
    stream_.next_out = static_cast<Bytef*>(output);
    stream_.avail_out = static_cast<uInt>(outputSize);
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
