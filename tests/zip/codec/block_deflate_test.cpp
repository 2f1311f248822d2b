// An entry deflated in blocks on worker threads: the same bytes whatever the
// number of workers, one raw deflate stream that inflates to the data, and
// archives written that way that the peers read back.

#include <cstring>

#include "tests/zip/records_test_support.h"
#include "tests/zip/write_test_support.h"
#include "zip/codec/ZAZlib.h"

namespace {

using namespace writetest;

// The buffer, and so the block, at mode 1.
constexpr std::size_t kBlock = 524288;

struct Deflated {
    za::Bytes bytes;
    std::uint32_t crc = 0;
};

// Hands the data to the deflater as the item writer does: blocks in while
// there is room, then the oldest out.
Deflated DeflateInBlocks(const za::Bytes& data, bool deflate, int level, std::size_t blockSize,
                         unsigned workers)
{
    TZABlockDeflater deflater(deflate, level, blockSize, data.size(), workers);
    Deflated out;
    std::size_t read = 0;
    do {
        while (read < data.size() && !deflater.Full()) {
            const std::span<std::uint8_t> buffer = deflater.InputBuffer();
            const std::size_t chunk = std::min(buffer.size(), data.size() - read);
            std::memcpy(buffer.data(), data.data() + read, chunk);
            read += chunk;
            deflater.Submit(chunk, read == data.size());
        }
        const TZADeflatedBlock block = deflater.Take();
        out.bytes.insert(out.bytes.end(), block.Output.begin(), block.Output.end());
    } while (deflater.HasPending() || read < data.size());
    out.crc = deflater.Crc();
    return out;
}

TEST(BlockDeflateTest, BlocksJoinIntoOneStreamThatNoWorkerCountChanges)
{
    const za::Bytes text = ToBytes(XmlLikeText(5 * 1048576 / 2, 4));
    for (const int level : {0, 1, 6, 9}) {
        SCOPED_TRACE(level);
        const std::size_t block = static_cast<std::size_t>(BufferSizeOfMode(level));
        const Deflated alone = DeflateInBlocks(text, true, level, block, 1);
        EXPECT_EQ(Inflate(alone.bytes), text);
        EXPECT_EQ(alone.crc, Crc32Of(text.data(), text.size()));
        EXPECT_EQ(DeflateInBlocks(text, true, level, block, 3).bytes, alone.bytes);
    }
}

// Small items keep the bytes a single deflate stream gives them.
TEST(BlockDeflateTest, AnEntryOfOneBlockIsOneStream)
{
    for (const std::size_t size : {std::size_t{1}, std::size_t{100}, kBlock}) {
        const za::Bytes text = ToBytes(XmlLikeText(size, 2));
        EXPECT_EQ(DeflateInBlocks(text, true, 1, kBlock, 8).bytes, ziptest::RawDeflate(text, 1))
            << size;
    }
}

TEST(BlockDeflateTest, StoredBlocksPassThroughWithTheirCrc)
{
    const za::Bytes noise = NoiseBytes(3 * kBlock + 7);
    const Deflated stored = DeflateInBlocks(noise, false, 0, kBlock, 2);
    EXPECT_EQ(stored.bytes, noise);
    EXPECT_EQ(stored.crc, Crc32Of(noise.data(), noise.size()));
}

TEST(BlockDeflateTest, AFailureOnAWorkerIsRaisedToTheCaller)
{
    const za::Bytes text = ToBytes(XmlLikeText(3 * kBlock, 6));
    for (const unsigned workers : {1u, 4u}) {
        // zlib knows no level 10.
        EXPECT_THROW(DeflateInBlocks(text, true, 10, kBlock, workers), ECompressionError)
            << workers;
    }
}

// Made quickly, as the tests also run under the sanitizers.
za::Bytes Repeated(const za::Bytes& piece, int times)
{
    za::Bytes bytes;
    bytes.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    }
    return bytes;
}

// The whole file in one read: a byte at a time takes long under the sanitizers.
za::Bytes FileBytes(const std::string& name)
{
    TFileStream file(name, fmOpenRead);
    za::Bytes bytes(static_cast<std::size_t>(file.Size()));
    file.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

// The sizes around a block's end and one of 50 MB, written with 1, 2 and 8
// workers: the archives are the same, and the peers read them back.
TEST(BlockDeflateTest, ArchivesDoNotDependOnTheWorkers)
{
    ArchiveSetup setup;
    setup.AddSource("empty.txt", {});
    setup.AddSource("one.txt", ToBytes("x"));
    setup.AddSource("block.xml", ToBytes(XmlLikeText(kBlock, 1)));
    setup.AddSource("block1.xml", ToBytes(XmlLikeText(kBlock + 1, 2)));
    setup.AddSource("large.xml", Repeated(ToBytes(XmlLikeText(1'000'000, 3)), 50));
    za::Bytes first;
    for (const unsigned workers : {1u, 2u, 8u}) {
        TZipArchiver zip;
        zip.SetCompressionThreads(workers);
        setup.Prepare(zip);
        zip.AddFiles("*");
        zip.CloseArchive();
        const za::Bytes archive = FileBytes(setup.archive);
        if (first.empty()) {
            first = archive;
        } else {
            EXPECT_TRUE(archive == first) << workers << " workers wrote other bytes";
        }
    }
    ExpectUnzipAccepts(setup.archive);
    ExpectSevenZipAccepts(setup.archive);
    ExpectPythonReadsBack(setup.archive, setup.source);
}

}  // namespace
