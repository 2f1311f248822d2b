#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/zip/directory/hostile_archives.h"
#include "tests/zip/zip_builder.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

using zatest::BuildEntry;
using zatest::BuildZip;

// A directory manager over an archive held in memory, as the archiver opens it.
struct Opened {
    explicit Opened(const za::Bytes& bytes, bool tolerant = true)
    {
        stream.LoadFromBytes(bytes.data(), bytes.size());
        zip.SetTolerateDamage(tolerant);
        manager = std::make_unique<TZADirManager>(zip, &stream, false);
    }
    TZipArchiver zip;
    TMemoryStream stream;
    std::unique_ptr<TZADirManager> manager;
};

// The code of the archiver error a read raises; 0 when it reads, -1 when it
// finds no directory.
int ReadResult(const za::Bytes& bytes, bool tolerant)
{
    Opened opened(bytes, tolerant);
    try {
        return opened.manager->ReadDirectory() ? 0 : -1;
    } catch (const EZAException& e) {
        return e.ErrorCode();
    }
}

const std::vector<BuildEntry> kTwoFiles = {{"readme.txt", "hello", false, ""},
                                           {"dir/data.bin", std::string(300, 'x'), false, ""}};

TEST(DirectoryReadTest, ReadsNamesSizesOffsetsAndComments)
{
    auto entries = kTwoFiles;
    entries[1].Comment = "item comment";
    zatest::BuildOptions options;
    options.Comment = "archive comment";
    Opened opened(BuildZip(entries, options));
    ASSERT_TRUE(opened.manager->ReadDirectory());
    auto& items = opened.manager->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.ItemPtr(0).FileName(), "readme.txt");
    EXPECT_EQ(items.ItemPtr(0).UncompressedSize(), 5u);
    EXPECT_EQ(items.ItemPtr(0).LocalHeaderOffset(), 0u);
    EXPECT_EQ(items.ItemPtr(1).FileName(), "dir/data.bin");
    EXPECT_EQ(items.ItemPtr(1).CompressedSize(), 300u);
    EXPECT_EQ(items.ItemPtr(1).LocalHeaderOffset(), 30u + 10 + 5);
    EXPECT_EQ(items.ItemPtr(1).Comment(), "item comment");
    EXPECT_EQ(opened.manager->ArchiveComment(), "archive comment");
    EXPECT_EQ(opened.manager->DataOffset(), 0);
    EXPECT_FALSE(opened.manager->Rebuilt());
    int index = -1;
    EXPECT_TRUE(items.FindName("DIR/DATA.BIN", index));
    EXPECT_EQ(index, 1);

    // A copy keeps its texts when the directory goes.
    const TDirItem copy = items.Item(1);
    opened.manager.reset();
    EXPECT_EQ(copy.FileName(), "dir/data.bin");
    EXPECT_EQ(copy.NameBytes(), "dir/data.bin");
    EXPECT_EQ(copy.Comment(), "item comment");
}

TEST(DirectoryReadTest, EndRecordMustBeFollowedByExactlyItsComment)
{
    zatest::BuildOptions options;
    options.Comment = "note";
    za::Bytes bytes = BuildZip(kTwoFiles, options);
    EXPECT_EQ(ReadResult(bytes, false), 0);
    bytes.push_back('!');  // one byte more than the comment length
    EXPECT_EQ(ReadResult(bytes, false), -1);
    EXPECT_EQ(ReadResult(bytes, true), 0);  // rebuilt from the local headers

    // Zeros after it are padding, not damage, as long as they are all zeros.
    bytes.back() = 0;
    bytes.resize(bytes.size() + 9000, 0);
    {
        Opened padded(bytes, false);
        ASSERT_TRUE(padded.manager->ReadDirectory());
        EXPECT_FALSE(padded.manager->Rebuilt());
        EXPECT_EQ(padded.manager->ArchiveComment(), "note");
    }
    bytes.back() = 1;
    EXPECT_EQ(ReadResult(bytes, false), -1);

    // A record inside the comment that does not fit is passed over for the
    // real one nearer the start.
    TZAEndRecord fake;
    fake.CommentLength = 3;
    za::Bytes fakeBytes;
    fake.Write(fakeBytes);
    options.Comment = std::string(fakeBytes.begin(), fakeBytes.end()) + "ab";
    Opened opened(BuildZip(kTwoFiles, options), false);
    ASSERT_TRUE(opened.manager->ReadDirectory());
    EXPECT_EQ(opened.manager->Items().Count(), 2);
    EXPECT_EQ(opened.manager->ArchiveComment().size(), 24u);
}

TEST(DirectoryReadTest, IsArchiveOnlyTellsWhenDamageIsNotTolerated)
{
    const za::Bytes junk(1000, 'j');
    EXPECT_TRUE(Opened(junk, true).manager->IsArchive());
    EXPECT_FALSE(Opened(junk, false).manager->IsArchive());
    EXPECT_TRUE(Opened(BuildZip(kTwoFiles), false).manager->IsArchive());
}

TEST(DirectoryReadTest, StubInFrontRaisesOffsetsThatCountFromItsEnd)
{
    zatest::BuildOptions options;
    options.Prefix = std::string(100, 's');
    Opened unadjusted(BuildZip(kTwoFiles, options));
    ASSERT_TRUE(unadjusted.manager->ReadDirectory());
    EXPECT_EQ(unadjusted.manager->DataOffset(), 100);
    EXPECT_EQ(unadjusted.manager->Items().ItemPtr(0).LocalHeaderOffset(), 100u);
    EXPECT_EQ(unadjusted.manager->Items().ItemPtr(1).LocalHeaderOffset(), 145u);

    options.OffsetsFromFileStart = true;
    Opened adjusted(BuildZip(kTwoFiles, options));
    ASSERT_TRUE(adjusted.manager->ReadDirectory());
    EXPECT_EQ(adjusted.manager->DataOffset(), 100);
    EXPECT_EQ(adjusted.manager->Items().ItemPtr(1).LocalHeaderOffset(), 145u);

    Opened empty(BuildZip({}, options));
    ASSERT_TRUE(empty.manager->ReadDirectory());
    EXPECT_EQ(empty.manager->DataOffset(), 100);  // the end record's position
}

TEST(DirectoryReadTest, DamagedDirectoryIsRebuiltFromLocalHeadersAndDescriptors)
{
    std::vector<BuildEntry> entries = {{"one.txt", "first", true, ""},
                                       {"two.txt", "second!", true, ""}};
    za::Bytes bytes = BuildZip(entries);
    bytes.resize(bytes.size() - 10);  // the end record is cut
    Opened opened(bytes);
    ASSERT_TRUE(opened.manager->ReadDirectory());
    EXPECT_TRUE(opened.manager->Rebuilt());
    auto& items = opened.manager->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.ItemPtr(1).FileName(), "two.txt");
    EXPECT_EQ(items.ItemPtr(1).Header.CompressedSize, 7u);
    EXPECT_EQ(items.ItemPtr(1).Header.UncompressedSize, 7u);
    EXPECT_NE(items.ItemPtr(1).Header.Crc32, 0u);
    EXPECT_EQ(items.ItemPtr(1).LocalHeaderOffset(), 30u + 7 + 5 + 16);
    EXPECT_EQ(opened.manager->DirectoryStart(), static_cast<std::int64_t>(bytes.size()));
}

// Bad input: every kind gives its error code, or the rebuilt items when damage
// is tolerated, and never more memory than the file's size asks for.
struct BadInput {
    const char* Name;
    std::function<za::Bytes()> Make;
    int StrictCode;    // -1: no directory found (the archiver then raises 48)
    int TolerantCode;  // 0: rebuilt from the local headers
};

za::Bytes WithEndRecord(const std::function<void(TZAEndRecord&)>& change)
{
    za::Bytes bytes = BuildZip(kTwoFiles);
    const std::size_t at = bytes.size() - TZAEndRecord::Size;
    auto record = *TZAEndRecord::Read(TZAByteSpan(bytes).subspan(at));
    change(record);
    bytes.resize(at);
    record.Write(bytes);
    return bytes;
}

za::Bytes WithFirstCentralHeader(const std::function<void(TZACentralHeader&)>& change)
{
    za::Bytes bytes = BuildZip(kTwoFiles);
    const auto end = *TZAEndRecord::Read(TZAByteSpan(bytes).subspan(bytes.size() - 22));
    const std::size_t at = end.DirectoryOffset;
    auto header = *TZACentralHeader::Read(TZAByteSpan(bytes).subspan(at));
    change(header);
    za::Bytes patched;
    header.Write(patched);
    std::copy(patched.begin(), patched.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

// An end record whose Zip64 locator says where the Zip64 record is.
za::Bytes WithZip64Records(std::uint64_t recordOffset, std::uint64_t entries)
{
    za::Bytes bytes = BuildZip(kTwoFiles);
    const auto end = *TZAEndRecord::Read(TZAByteSpan(bytes).subspan(bytes.size() - 22));
    bytes.resize(bytes.size() - 22);
    TZAZip64EndRecord record;
    record.EntriesOnDisk = entries;
    record.TotalEntries = entries;
    record.DirectorySize = end.DirectorySize;
    record.DirectoryOffset = end.DirectoryOffset;
    const std::uint64_t at = bytes.size();
    record.Write(bytes);
    TZAZip64Locator locator;
    locator.Zip64EndOffset = recordOffset == 0 ? at : recordOffset;
    locator.TotalDisks = 1;
    locator.Write(bytes);
    end.Write(bytes);
    return bytes;
}

class DirectoryBadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(DirectoryBadInputTest, FailsWithItsCodeOrRebuilds)
{
    const za::Bytes bytes = GetParam().Make();
    EXPECT_EQ(ReadResult(bytes, false), GetParam().StrictCode);
    EXPECT_EQ(ReadResult(bytes, true), GetParam().TolerantCode);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DirectoryBadInputTest,
    ::testing::Values(
        BadInput{"Empty", [] { return za::Bytes{}; }, -1, 35},
        BadInput{"Zeros", [] { return za::Bytes(70000, 0); }, -1, 35},
        BadInput{"TruncatedInTheDirectory",
                 [] {
                     za::Bytes b = BuildZip(kTwoFiles);
                     b.resize(b.size() - 40);
                     return b;
                 },
                 -1, 0},
        BadInput{"TruncatedInTheFirstHeader",
                 [] {
                     za::Bytes b = BuildZip(kTwoFiles);
                     b.resize(20);
                     return b;
                 },
                 -1, 35},
        BadInput{"CountBeyondTheDirectory",
                 [] { return WithEndRecord([](TZAEndRecord& r) { r.TotalEntries = 60000; }); }, 48,
                 0},
        BadInput{
            "DirectorySizeBeyondTheFile",
            [] { return WithEndRecord([](TZAEndRecord& r) { r.DirectorySize = 0xFFFFFFF0; }); }, 48,
            0},
        BadInput{"DirectorySizeTooSmall",
                 [] { return WithEndRecord([](TZAEndRecord& r) { r.DirectorySize -= 20; }); }, 48,
                 0},
        BadInput{"ZeroCountWithoutZip64",
                 [] { return WithEndRecord([](TZAEndRecord& r) { r.TotalEntries = 0xFFFF; }); }, -1,
                 0},
        BadInput{"NameRunsPastTheDirectory",
                 [] {
                     return WithFirstCentralHeader(
                         [](TZACentralHeader& h) { h.FileNameLength = 0xFFFF; });
                 },
                 48, 0},
        BadInput{"ExtraRunsPastTheDirectory",
                 [] {
                     return WithFirstCentralHeader(
                         [](TZACentralHeader& h) { h.ExtraFieldLength = 500; });
                 },
                 48, 0},
        BadInput{
            "CentralSignatureWrong",
            [] { return WithFirstCentralHeader([](TZACentralHeader& h) { h.Signature = 1; }); }, 48,
            0},
        BadInput{"SizesLargerThanTheFile",
                 [] {
                     return WithFirstCentralHeader(
                         [](TZACentralHeader& h) { h.CompressedSize = 0x7FFFFFFF; });
                 },
                 57, 0},
        BadInput{"Zip64LocatorPointingNowhere",
                 [] { return WithZip64Records(0x7FFFFFFFFFFFull, 2); }, 40, 40},
        BadInput{"Zip64LocatorBeyondAnySignedOffset",
                 [] { return WithZip64Records(0xFFFFFFFFFFFFFFF0ull, 2); }, 40, 40},
        BadInput{"Zip64CountOfAllItemsThereCanBe",
                 [] { return WithZip64Records(0, 0xFFFFFFFFFFFFFFFFull); }, 48, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

// Counts what the directory reads, so that a test can weigh its work.
class CountingStream : public TMemoryStream {
public:
    std::size_t Read(void* buffer, std::size_t count) override
    {
        const std::size_t got = TMemoryStream::Read(buffer, count);
        bytesRead += got;
        return got;
    }
    std::uint64_t bytesRead = 0;
};

// Headers inside the fields of others, or waiting for a descriptor that never
// comes, must not make the rebuild read the file over and over or hold more
// than the file's bytes.
TEST(DirectoryReadTest, RebuildReadsTheFileOnceAndHoldsNoMoreThanItsHeaders)
{
    const std::size_t size = 64 * 1024;
    for (const za::Bytes& bytes :
         {zatest::RepeatedLocalHeaderSignatures(size), zatest::HeadersAwaitingDescriptors(size)}) {
        TZipArchiver zip;
        CountingStream stream;
        stream.LoadFromBytes(bytes.data(), bytes.size());
        TZADirManager manager(zip, &stream, false);
        ASSERT_TRUE(manager.ReadDirectory());
        const TZADirArray& items = manager.Items();
        std::size_t held = 0;
        for (int i = 0; i < items.Count(); ++i) {
            held += items.ItemPtr(i).NameBytes().size() + items.ItemPtr(i).ExtraArea().size();
        }
        EXPECT_LE(static_cast<std::size_t>(items.Count()), size / TZALocalHeader::Size);
        EXPECT_LE(held, size);
        EXPECT_LE(stream.bytesRead, 4 * size);
    }
}

TEST(DirectoryReadTest, Zip64RecordsGiveCountAndPlaceOfTheDirectory)
{
    Opened opened(WithZip64Records(0, 2), false);
    ASSERT_TRUE(opened.manager->ReadDirectory());
    EXPECT_TRUE(opened.manager->Zip64Present());
    EXPECT_EQ(opened.manager->Items().Count(), 2);
    EXPECT_EQ(opened.manager->Items().ItemPtr(1).FileName(), "dir/data.bin");
    EXPECT_EQ(opened.manager->DataOffset(), 0);
}

}  // namespace
