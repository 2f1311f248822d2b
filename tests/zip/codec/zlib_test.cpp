#include <gtest/gtest.h>

#include "zip/codec/ZAZlib.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes InflateRaw(const Bytes& raw, std::size_t expected)
{
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, -15), Z_OK);
    Bytes out(expected + 1);
    stream.next_in = const_cast<Bytef*>(raw.data());
    stream.avail_in = static_cast<uInt>(raw.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return out;
}

Bytes Text(std::size_t size)
{
    Bytes text(size);
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<std::uint8_t>("station;flow;2008\n"[i % 18]);
    return text;
}

TEST(Zlib, CheckPassesResultsAndRaisesOnNegative)
{
    EXPECT_EQ(CheckCompression(Z_OK), Z_OK);
    EXPECT_EQ(CheckCompression(Z_STREAM_END), Z_STREAM_END);
    EXPECT_EQ(CheckCompression(Z_NEED_DICT), Z_NEED_DICT);
    try {
        CheckCompression(Z_BUF_ERROR);
        FAIL();
    } catch (const EZlibError& e) {
        EXPECT_NE(dynamic_cast<const ECompressionError*>(&e), nullptr);
        EXPECT_EQ(e.Message(), "error");
    }
    EXPECT_THROW(CheckCompression(Z_VERSION_ERROR), ECompressionError);
}

TEST(Zlib, BadLevelFailsAtSetUp)
{
    EXPECT_THROW(TZADeflateStream(10), ECompressionError);
}

// The archiver's way: pieces sync-flushed, the last finished; joined they
// inflate as one raw deflate stream.
TEST(Zlib, SyncFlushedPiecesMakeOneRawStream)
{
    const Bytes text = Text(600000);
    for (int level : {0, 1, 6, 9}) {
        TZADeflateStream stream(level);
        const std::size_t piece = 524288;
        Bytes out(TZADeflateStream::OutputBound(piece));
        Bytes raw(out.begin(),
                  out.begin() + static_cast<std::ptrdiff_t>(stream.Deflate(
                                    text.data(), piece, out.data(), out.size(), Z_SYNC_FLUSH)));
        ASSERT_GE(raw.size(), 4u);
        // A sync flush ends in an empty stored block.
        EXPECT_EQ(Bytes(raw.end() - 4, raw.end()), (Bytes{0x00, 0x00, 0xFF, 0xFF}));
        const std::size_t last = stream.Deflate(text.data() + piece, text.size() - piece,
                                                out.data(), out.size(), Z_FINISH);
        raw.insert(raw.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(last));
        EXPECT_EQ(InflateRaw(raw, text.size()), text) << "level " << level;
    }
}

TEST(Zlib, FullOutputRaisesInsteadOfLosingBytes)
{
    const Bytes text = Text(10000);
    TZADeflateStream stream(0);
    Bytes out(100);
    EXPECT_THROW(stream.Deflate(text.data(), text.size(), out.data(), out.size(), Z_FINISH),
                 ECompressionError);
}

TEST(Zlib, EmptyLastPieceFinishesTheStream)
{
    TZADeflateStream stream(6);
    Bytes out(TZADeflateStream::OutputBound(0));
    out.resize(stream.Deflate(nullptr, 0, out.data(), out.size(), Z_FINISH));
    EXPECT_EQ(InflateRaw(out, 0), Bytes{});
}

}  // namespace
