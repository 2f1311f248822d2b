#include <cerrno>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/ZAStream.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_stream.h"

namespace {

using wqtest::ReadFileBytes;
using wqtest::TempFolder;
using wqtest::TTestStream;

std::string ReadAll(TStream& stream)
{
    std::string text(static_cast<std::size_t>(stream.Size()), '\0');
    stream.Seek(0);
    stream.ReadBuffer(text.data(), text.size());
    return text;
}

// The file and the memory stream must agree on every operation the archiver uses.
class StreamContractTest : public ::testing::TestWithParam<bool> {
protected:
    std::unique_ptr<TStream> Make()
    {
        if (GetParam()) {
            return std::make_unique<TFileStream>(folder_ / "s.bin", fmCreate);
        }
        return std::make_unique<TMemoryStream>();
    }
    TempFolder folder_;
};

TEST_P(StreamContractTest, WritesReadsSeeksAndCuts)
{
    auto stream = Make();
    stream->WriteBuffer("hello world", 11);
    EXPECT_EQ(stream->Position(), 11);
    EXPECT_EQ(stream->Size(), 11);

    char buffer[16] = {};
    stream->Seek(6);
    EXPECT_EQ(stream->Read(buffer, sizeof buffer), 5u);  // short at the end of the data
    EXPECT_EQ(std::string(buffer, 5), "world");
    EXPECT_EQ(stream->Read(buffer, 1), 0u);
    EXPECT_THROW(stream->ReadBuffer(buffer, 1), EStreamError);

    stream->SetSize(5);  // the position beyond the new end moves back to it
    EXPECT_EQ(stream->Position(), 5);
    EXPECT_EQ(ReadAll(*stream), "hello");

    stream->Seek(8);  // writing past the end fills the gap with zeros
    stream->WriteBuffer("!", 1);
    EXPECT_EQ(ReadAll(*stream), std::string("hello\0\0\0!", 9));
    EXPECT_THROW(stream->Seek(-1), EStreamError);
}

TEST_P(StreamContractTest, CopyFromZeroCopiesTheWholeSourceFromItsStart)
{
    TMemoryStream source;
    source.WriteBuffer("abcdef", 6);
    source.Seek(4);
    auto target = Make();
    EXPECT_EQ(target->CopyFrom(source, 0), 6);
    source.Seek(1);
    EXPECT_EQ(target->CopyFrom(source, 2), 2);
    EXPECT_EQ(ReadAll(*target), "abcdefbc");
    source.Seek(5);
    EXPECT_THROW(target->CopyFrom(source, 3), EStreamError);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, StreamContractTest, ::testing::Values(true, false));

TEST(FileStreamTest, CreateTruncatesAndTheOpenModesGiveTheirAccess)
{
    TempFolder folder;
    const std::string name = folder / "a.zip";
    wqtest::WriteTextFile(name, "old content");
    {
        TFileStream created(name, fmCreate);
        EXPECT_EQ(created.Size(), 0);
        created.WriteBuffer("new", 3);
    }
    {
        TFileStream readOnly(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(ReadAll(readOnly), "new");
        EXPECT_EQ(readOnly.Write("x", 1), 0u);
        EXPECT_THROW(readOnly.WriteBuffer("x", 1), EStreamError);
    }
    {
        TFileStream readWrite(name, fmOpenReadWrite | fmShareDenyWrite);
        readWrite.Seek(3);
        readWrite.WriteBuffer("er", 2);
        readWrite.Flush();
    }
    const auto bytes = ReadFileBytes(name);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "newer");
}

// The size is read once on opening; every change made through the stream
// must keep it equal to the file's.
TEST(FileStreamTest, SizeFollowsTheStreamsOwnChanges)
{
    TempFolder folder;
    const std::string name = folder / "a.zip";
    wqtest::WriteTextFile(name, "hello world");
    const auto onDisk = [&] { return static_cast<std::int64_t>(ReadFileBytes(name).size()); };
    {
        TFileStream readOnly(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(readOnly.Size(), 11);
        readOnly.Seek(20);
        EXPECT_EQ(readOnly.Write("x", 1), 0u);  // a failed write changes nothing
        EXPECT_EQ(readOnly.Size(), 11);
    }
    TFileStream stream(name, fmOpenReadWrite | fmShareDenyWrite);
    EXPECT_EQ(stream.Size(), 11);
    stream.Seek(2);
    stream.WriteBuffer("LL", 2);  // inside the data
    EXPECT_EQ(stream.Size(), 11);
    stream.Seek(9);
    stream.WriteBuffer("LD!", 3);  // across the end
    EXPECT_EQ(stream.Size(), 12);
    stream.Seek(20);
    stream.WriteBuffer("?", 1);  // beyond it
    EXPECT_EQ(stream.Size(), 21);
    EXPECT_EQ(stream.Size(), onDisk());
    stream.SetSize(4);
    EXPECT_EQ(stream.Size(), 4);
    EXPECT_EQ(stream.Size(), onDisk());
    stream.SetSize(10);
    EXPECT_EQ(stream.Size(), 10);
    EXPECT_EQ(stream.Size(), onDisk());
}

TEST(FileStreamTest, FailuresToOpenNameTheFile)
{
    TempFolder folder;
    try {
        TFileStream missing(folder / "missing.zip", fmOpenRead | fmShareDenyNone);
        FAIL() << "a missing file opened";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.zip"), std::string::npos);
    }
    EXPECT_THROW(TFileStream(folder.Path(), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(folder / "no/such/folder.zip", fmCreate), EFOpenError);

    const std::string locked = folder / "locked.zip";
    wqtest::WriteTextFile(locked, "x");
    chmod(locked.c_str(), 0444);
    if (geteuid() != 0) {  // root writes whatever the mode says
        EXPECT_THROW(TFileStream(locked, fmOpenReadWrite | fmShareDenyWrite), EFOpenError);
    }
    EXPECT_NO_THROW(TFileStream(locked, fmOpenRead | fmShareDenyNone));
}

TEST(FileStreamTest, AShortWriteNamesTheSystemsReason)
{
    TFileStream full("/dev/full", fmOpenWrite);
    EXPECT_EQ(full.Write("data", 4), 0u);
    EXPECT_EQ(full.WriteError(), ENOSPC);
    EXPECT_EQ(WriteFailureText("Cannot write", full), "Cannot write. No space left on device");
    EXPECT_EQ(full.Write("", 0), 0u);
    EXPECT_EQ(WriteFailureText("Cannot write", full), "Cannot write");
}

TEST(TestStreamTest, RunsShortAndFailsOnDemand)
{
    TTestStream stream;
    stream.SetWriteLimit(4);
    EXPECT_EQ(stream.Write("abcdef", 6), 4u);
    EXPECT_EQ(stream.Write("g", 1), 0u);
    EXPECT_EQ(stream.Size(), 4);

    stream.SetWriteLimit(-1);
    stream.WriteBuffer("efgh", 4);
    stream.SetReadLimit(6);
    stream.Seek(2);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 4u);
    EXPECT_EQ(std::string(buffer, 4), "cdef");

    stream.FailAfter(2);
    stream.Seek(0);
    EXPECT_EQ(stream.Read(buffer, 1), 1u);
    EXPECT_THROW(stream.Read(buffer, 1), EStreamError);
    EXPECT_EQ(stream.Read(buffer, 1), 1u);  // one failure, then the device works again
}

}  // namespace
