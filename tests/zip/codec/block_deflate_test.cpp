// An entry deflated in blocks on worker threads: the same bytes whatever the
// number of workers, one raw deflate stream that inflates to the data, and
// archives written that way that the peers read back.

#include <cstring>

#include "platform/worker_threads.h"
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

// The same bytes with one worker or eight, the data's CRC, and data that come
// back whole; an entry of one block or less keeps the bytes that a single
// deflate stream gives it.
void ExpectOneStreamForAnyWorkers(const za::Bytes& data, bool deflate, int level, std::size_t block)
{
    SCOPED_TRACE(testing::Message() << data.size() << " bytes, level " << level);
    const Deflated alone = DeflateInBlocks(data, deflate, level, block, 1);
    EXPECT_EQ(DeflateInBlocks(data, deflate, level, block, 8).bytes, alone.bytes);
    EXPECT_EQ(alone.crc, Crc32Of(data.data(), data.size()));
    EXPECT_EQ(deflate ? Inflate(alone.bytes) : alone.bytes, data);
    if (deflate && data.size() <= block) {
        EXPECT_EQ(alone.bytes, ziptest::RawDeflate(data, level));
    }
}

TEST(BlockDeflateTest, BlocksJoinIntoOneStreamThatNoWorkerCountChanges)
{
    const za::Bytes text = ToBytes(XmlLikeText(5 * 1048576 / 2, 4));
    for (const int level : {0, 1, 6, 9}) {
        ExpectOneStreamForAnyWorkers(text, true, level,
                                     static_cast<std::size_t>(BufferSizeOfMode(level)));
    }
    for (const std::size_t size : {std::size_t{1}, std::size_t{100}, kBlock}) {
        ExpectOneStreamForAnyWorkers(ToBytes(XmlLikeText(size, 2)), true, 1, kBlock);
    }
    ExpectOneStreamForAnyWorkers(NoiseBytes(3 * kBlock + 7), false, 0, kBlock);
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

// Where the system starts only some of the workers, or none, the caller goes
// on with those it has and writes the same bytes.
TEST(BlockDeflateTest, WorkersThatDoNotStartChangeNoByte)
{
    const za::Bytes text = ToBytes(XmlLikeText(6 * kBlock + 5, 8));
    const za::Bytes all = DeflateInBlocks(text, true, 1, kBlock, 4).bytes;
    for (const std::size_t failing : {0u, 1u, 3u}) {
        const TFailingThreadStart failure(failing);
        EXPECT_EQ(DeflateInBlocks(text, true, 1, kBlock, 4).bytes, all) << failing;
    }
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
// workers, and with 8 of which only 2 start: the archives are the same, and
// the peers read them back.
TEST(BlockDeflateTest, ArchivesDoNotDependOnTheWorkers)
{
    ArchiveSetup setup;
    setup.AddSource("empty.txt", {});
    setup.AddSource("one.txt", ToBytes("x"));
    setup.AddSource("block.xml", ToBytes(XmlLikeText(kBlock, 1)));
    setup.AddSource("block1.xml", ToBytes(XmlLikeText(kBlock + 1, 2)));
    // Repeated rather than generated whole, as the tests also run under the sanitizers.
    const std::string piece = XmlLikeText(1'000'000, 3);
    std::string large;
    while (large.size() < 50 * piece.size()) {
        large += piece;
    }
    setup.AddSource("large.xml", ToBytes(large));
    const auto write = [&](unsigned workers) {
        TZipArchiver zip;
        zip.SetCompressionThreads(workers);
        setup.Prepare(zip);
        zip.AddFiles("*");
        zip.CloseArchive();
        return FileBytes(setup.archive);
    };
    const za::Bytes first = write(1);
    for (const unsigned workers : {2u, 8u}) {
        EXPECT_TRUE(write(workers) == first) << workers << " workers wrote other bytes";
    }
    // The peers read the one written where the system started 2 of 8 workers.
    const TFailingThreadStart refused(2);
    EXPECT_TRUE(write(8) == first) << "2 workers of 8 wrote other bytes";
    ExpectUnzipAccepts(setup.archive);
    ExpectSevenZipAccepts(setup.archive);
    ExpectPythonReadsBack(setup.archive, setup.source);
}

}  // namespace
