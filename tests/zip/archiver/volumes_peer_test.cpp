// Split and spanned archives written through AddFiles, judged by 7-Zip, which
// reads a split set directly when its volumes carry lower-case ".z01" names.

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "tests/zip/error_codes.h"
#include "tests/zip/volumes_test_support.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/format/ZARecords.h"

namespace {

using wqtest::FilesIn;
using wqtest::ReadFileBytes;
using wqtest::TempFolder;
using zatest::DiskDrives;
using zatest::ErrorCodeOf;
using zatest::TestArchiver;

constexpr std::int64_t kVolumeSize = 65536;

// Sources that fill several volumes: data that does not compress, text that
// does, and an empty file.
void MakeSources(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    std::mt19937 random(7);
    std::vector<std::uint8_t> noise(150000);
    for (auto& byte : noise) {
        byte = static_cast<std::uint8_t>(random());
    }
    wqtest::WriteFileBytes(folder + "/noise.bin", noise);
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text +=
            "<value month=\"" + std::to_string(i % 12) + "\">" + std::to_string(i) + "</value>\n";
    }
    wqtest::WriteTextFile(folder + "/values.xml", text);
    wqtest::WriteTextFile(folder + "/empty.txt", "");
    std::mt19937 more(11);
    for (auto& byte : noise) {
        byte = static_cast<std::uint8_t>(more());
    }
    wqtest::WriteFileBytes(folder + "/noise2.bin", noise);
}

void SplitArchive(TestArchiver& zip, const std::string& name, bool advanced)
{
    zip.SetFileName(name);
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions().AdvancedNaming = advanced;
    zip.SpanningOptions().VolumeSize = vsCustom;
    zip.SpanningOptions().SetCustomVolumeSize(kVolumeSize);
}

void AddSources(TestArchiver& zip, const std::string& sources)
{
    zip.SetBaseDir(sources);
    zip.OpenArchive(ZAModeCreate);
    zip.AddFiles(sources + "/*");
    zip.CloseArchive();
}

// The volumes in order, the last being the archive's own name.
std::vector<std::string> Volumes(const std::string& folder, const std::string& prefix,
                                 const std::string& suffix)
{
    std::vector<std::string> volumes;
    for (int n = 1;; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, suffix.empty() ? "%.2d" : "%.3d", n);
        const std::string name = folder + "/" + prefix + number + suffix;
        if (!FileExists(name)) {
            break;
        }
        volumes.push_back(name);
    }
    volumes.push_back(folder + "/data.zip");
    return volumes;
}

// Every local header, name and extra field lies whole on the volume that the
// central directory names for it.
void ExpectHeadersOnOneVolume(const std::vector<std::string>& volumes, std::size_t entries)
{
    const auto last = ReadFileBytes(volumes.back());
    ASSERT_GE(last.size(), TZAEndRecord::Size);
    const auto end = TZAEndRecord::Read(TZAByteSpan(last).subspan(last.size() - 22));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->DiskNumber, volumes.size() - 1);
    ASSERT_EQ(end->DirectoryDisk, volumes.size() - 1) << "the directory fits the last volume";
    ASSERT_EQ(end->TotalEntries, entries);
    std::size_t at = end->DirectoryOffset;
    for (std::size_t i = 0; i < entries; ++i) {
        const auto central = TZACentralHeader::Read(TZAByteSpan(last).subspan(at));
        ASSERT_TRUE(central);
        ASSERT_LT(central->DiskNumberStart, volumes.size());
        const auto volume = ReadFileBytes(volumes[central->DiskNumberStart]);
        const std::size_t offset = central->LocalHeaderOffset;
        ASSERT_LE(offset + TZALocalHeader::Size, volume.size());
        const auto local = TZALocalHeader::Read(TZAByteSpan(volume).subspan(offset));
        ASSERT_TRUE(local);
        EXPECT_EQ(local->Signature, ZAStandardSignatures.LocalHeader);
        EXPECT_LE(offset + TZALocalHeader::Size + local->FileNameLength + local->ExtraFieldLength,
                  volume.size());
        at += TZACentralHeader::Size + central->FileNameLength + central->ExtraFieldLength +
              central->FileCommentLength;
    }
}

// 7-Zip tests and extracts a copy of the set named data.z01, data.z02, ...,
// data.zip; the extracted files equal the sources.
void ExpectSevenZipReadsTheSet(const std::vector<std::string>& volumes, const std::string& sources)
{
    const std::string tool = wqtest::SevenZipProgram();
    if (tool.empty()) {
        GTEST_SKIP() << "no 7-Zip on this machine";
    }
    TempFolder copy;
    for (std::size_t i = 0; i + 1 < volumes.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "data.z%.2zu", i + 1);
        std::filesystem::copy_file(volumes[i], copy / name);
    }
    std::filesystem::copy_file(volumes.back(), copy / "data.zip");
    const std::string archive = wqtest::Quoted(copy / "data.zip");
    EXPECT_EQ(wqtest::Run(tool + " t " + archive + " >/dev/null"), 0);
    const std::string out = copy / "out";
    EXPECT_EQ(wqtest::Run(tool + " x -o" + wqtest::Quoted(out) + " " + archive + " >/dev/null"), 0);
    for (const std::string& name : FilesIn(sources)) {
        EXPECT_EQ(ReadFileBytes(out + "/" + name), ReadFileBytes(sources + "/" + name)) << name;
    }
}

void ExpectVolumesWithinLimit(const std::vector<std::string>& volumes, std::int64_t limit)
{
    for (const std::string& volume : volumes) {
        EXPECT_LE(static_cast<std::int64_t>(ReadFileBytes(volume).size()), limit) << volume;
    }
}

TEST(SplitArchiveTest, NumberedVolumesEndInTheArchiveAndReadAsOneSet)
{
    TempFolder folder;
    const std::string sources = folder / "src";
    MakeSources(sources);
    const std::string temp = folder / "temp";
    std::filesystem::create_directories(temp);
    TestArchiver zip;
    zip.SetTempDir(temp);
    SplitArchive(zip, folder / "data.zip", false);
    AddSources(zip, sources);

    const auto volumes = Volumes(folder.Path(), "data.z", "");
    ASSERT_GE(volumes.size(), 4u);
    EXPECT_EQ(FilesIn(folder.Path()).size(), volumes.size() + 2);
    EXPECT_TRUE(FilesIn(temp).empty());
    ExpectVolumesWithinLimit(volumes, kVolumeSize);
    ExpectHeadersOnOneVolume(volumes, 4);
    ExpectSevenZipReadsTheSet(volumes, sources);
}

TEST(SplitArchiveTest, AdvancedNamesNumberEveryVolumeButTheLast)
{
    TempFolder folder;
    const std::string sources = folder / "src";
    MakeSources(sources);
    TestArchiver zip;
    SplitArchive(zip, folder / "data.zip", true);
    AddSources(zip, sources);

    const auto volumes = Volumes(folder.Path(), "data_", ".zip");
    ASSERT_GE(volumes.size(), 4u);
    EXPECT_FALSE(FileExists(folder / "data.z01"));
    ExpectVolumesWithinLimit(volumes, kVolumeSize);
    ExpectHeadersOnOneVolume(volumes, 4);
    ExpectSevenZipReadsTheSet(volumes, sources);
}

// A first volume too small for the first local header leaves it to the next.
TEST(SplitArchiveTest, AFirstVolumeSmallerThanTheFirstHeaderPassesItOn)
{
    for (const std::int64_t firstSize : {1, 20, 22, 40, 100}) {
        SCOPED_TRACE(firstSize);
        TempFolder folder;
        const std::string sources = folder / "src";
        MakeSources(sources);
        TestArchiver zip;
        SplitArchive(zip, folder / "data.zip", false);
        zip.SpanningOptions().FirstVolumeSize = firstSize;
        AddSources(zip, sources);

        const auto volumes = Volumes(folder.Path(), "data.z", "");
        EXPECT_LE(static_cast<std::int64_t>(ReadFileBytes(volumes.front()).size()), firstSize);
        ExpectVolumesWithinLimit(volumes, kVolumeSize);
        ExpectHeadersOnOneVolume(volumes, 4);
        ExpectSevenZipReadsTheSet(volumes, sources);
    }
}

// Items go into the volumes from memory, and only those beyond the bound
// through a temporary file; the volumes are the same either way.
TEST(SplitArchiveTest, ItemsHeldInMemoryLandAsThroughATemporaryFile)
{
    TempFolder folder;
    const std::string sources = folder / "src";
    MakeSources(sources);
    const std::string temp = folder / "temp";
    std::filesystem::create_directories(temp);
    std::vector<std::vector<za::Bytes>> sets;
    std::vector<int> throughFiles;
    for (const std::int64_t limit :
         {std::int64_t{0}, std::int64_t{100000}, std::int64_t{1} << 30}) {
        const std::string out = folder / ("out" + std::to_string(limit));
        std::filesystem::create_directories(out);
        TestArchiver zip;
        zip.SetTempDir(temp);
        zip.SetItemMemoryLimit(limit);
        int items = 0;
        zip.OnCopyTempFileProgress = [&](TObject*, double, TZAProgressPhase phase, bool&) {
            items += phase == ppStart && !FilesIn(temp).empty() ? 1 : 0;
        };
        SplitArchive(zip, out + "/data.zip", false);
        AddSources(zip, sources);
        EXPECT_TRUE(FilesIn(temp).empty());
        throughFiles.push_back(items);
        sets.emplace_back();
        for (const std::string& volume : Volumes(out, "data.z", "")) {
            sets.back().push_back(ReadFileBytes(volume));
        }
    }
    EXPECT_EQ(throughFiles, (std::vector<int>{4, 2, 0}));  // the noise files outgrow 100000
    ASSERT_GE(sets[0].size(), 4u);
    EXPECT_TRUE(sets[1] == sets[0]);
    EXPECT_TRUE(sets[2] == sets[0]);
}

TEST(SplitArchiveTest, OpeningASplitSetFindsItsKindAndNaming)
{
    TempFolder folder;
    const std::string sources = folder / "src";
    MakeSources(sources);
    {
        TestArchiver zip;
        SplitArchive(zip, folder / "data.zip", true);
        AddSources(zip, sources);
    }
    TestArchiver zip;
    zip.SetFileName(folder / "data.zip");
    zip.OpenArchive();
    EXPECT_EQ(zip.SpanningMode(), smSplitting);
    EXPECT_TRUE(zip.SpanningOptions().AdvancedNaming);
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.zip");
    ASSERT_NE(zip.DirManager(), nullptr);
    EXPECT_EQ(zip.DirManager()->Items().Count(), 4);
    zip.CloseArchive();

    // A strict open reads the set as valid: the items' sizes are not held
    // against the last volume alone.
    TestArchiver strict;
    strict.SetFileName(folder / "data.zip");
    strict.SetTolerateDamage(false);
    strict.OpenArchive(ZAModeReadOnly);
    EXPECT_EQ(strict.SpanningMode(), smSplitting);
    ASSERT_NE(strict.DirManager(), nullptr);
    EXPECT_EQ(strict.DirManager()->Items().Count(), 4);
    EXPECT_FALSE(strict.DirManager()->Rebuilt());
    strict.CloseArchive();

    // Taken out of its set on a fixed drive, the last volume still lists every
    // item of a set of disks, none rebuilt, and takes no change.
    TempFolder alone;
    std::filesystem::copy_file(folder / "data.zip", alone / "data.zip");
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    TestArchiver single;
    single.SetFileName(alone / "data.zip");
    single.OpenArchive();
    EXPECT_EQ(single.SpanningMode(), smSpanning);
    EXPECT_EQ(single.DirManager()->Items().Count(), 4);
    EXPECT_FALSE(single.DirManager()->Rebuilt());
    EXPECT_EQ(ErrorCodeOf([&] { single.AddFiles(sources + "/empty.txt"); }), 52);
    EXPECT_EQ(ErrorCodeOf([&] { single.BeginUpdate(); }), 62);
    single.CloseArchive();
    EXPECT_TRUE(dialogs.Messages().empty());

    // A damaged directory is not rebuilt from the local headers of a set.
    auto last = ReadFileBytes(folder / "data.zip");
    const auto end = TZAEndRecord::Read(TZAByteSpan(last).subspan(last.size() - 22)).value();
    last[end.DirectoryOffset] ^= 0xFF;
    wqtest::WriteFileBytes(folder / "data.zip", last);
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(); }), 44);
}

// The set opens strictly with every item and 7-Zip tests it; both end records
// name the volume where the directory starts, and each volume after that one
// begins with a whole central record. Returns that volume.
std::size_t ExpectWholeRecords(const std::string& folder, int items)
{
    TestArchiver reader;
    reader.SetFileName(folder + "/data.zip");
    reader.SetTolerateDamage(false);
    reader.OpenArchive();
    TZADirManager& dir = *reader.DirManager();
    EXPECT_EQ(dir.Items().Count(), items);
    const std::size_t first = dir.EndRecord().DirectoryDisk;
    EXPECT_EQ(dir.Zip64Present(), items >= 0xFFFF);
    EXPECT_EQ(dir.Zip64Present() ? dir.Zip64EndRecord().DirectoryDisk : first, first);
    const auto volumes = Volumes(folder, "data.z", "");
    EXPECT_LT(first + 1, volumes.size()) << "the directory covers two volumes or more";
    for (std::size_t disk = first + 1; disk < volumes.size(); ++disk) {
        const za::Bytes volume = ReadFileBytes(volumes[disk]);
        EXPECT_TRUE(volume.size() >= 4 &&
                    za::GetU32(volume.data()) == ZAStandardSignatures.CentralHeader)
            << volumes[disk];
    }
    if (!wqtest::SevenZipProgram().empty()) {
        const auto test = wqtest::RunWithOutput(wqtest::SevenZipProgram() + " t " +
                                                wqtest::Quoted(folder + "/data.zip"));
        EXPECT_EQ(test.exitCode, 0) << test.output;
        EXPECT_NE(test.output.find("Files: " + std::to_string(items) + "\n"), std::string::npos);
    }
    return first;
}

// Sets whose directory runs over volumes: ours of files with long names, one
// that Info-ZIP splits, and ours of 65536 empty entries written straight
// through the volume writer, which needs the Zip64 end records.
TEST(SplitArchiveTest, ADirectoryOverSeveralVolumesKeepsEachRecordWhole)
{
    for (const std::string writer : {"ours", "Info-ZIP", "Zip64"}) {
        SCOPED_TRACE(writer);
        TempFolder folder;
        const std::string sources = folder / "src";
        MakeSources(sources);
        for (int i = 0; i < 300; ++i) {
            wqtest::WriteTextFile(sources + "/" + std::string(190, 'n') + std::to_string(i), "");
        }
        TestArchiver zip;
        SplitArchive(zip, folder / "data.zip", false);
        if (writer == "ours") {
            AddSources(zip, sources);
        } else if (writer == "Info-ZIP") {
            ASSERT_EQ(
                wqtest::Run("cd " + wqtest::Quoted(sources) + " && zip -q -s 64k ../data.zip *"),
                0);
        } else {
            zip.OpenArchive(ZAModeCreate);
            TZADirArray& items = zip.DirManager()->Items();
            items.SetCount(65536);
            for (int i = 0; i < items.Count(); ++i) {
                const std::string name = "f" + std::to_string(i);
                TDirItem item;
                item.SetFileName(name);
                TZALocalHeader header;
                header.FileNameLength = static_cast<std::uint16_t>(name.size());
                za::Bytes local;
                header.Write(local);
                za::PutBytes(local, name.data(), name.size());
                const auto at =
                    zip.WriteRecordsToVolumes(*zip.ArchiveStream(), local, {local.size()});
                item.SetDiskNumberStart(static_cast<std::uint32_t>(at.Volume));
                item.Header.LocalHeaderOffset = static_cast<std::uint32_t>(at.Offset);
                items.SetItem(i, item);
            }
            zip.DirManager()->WriteDirectory(true);
            zip.CloseArchive();
        }
        const auto first = ExpectWholeRecords(folder.Path(), writer == "Zip64" ? 65536 : 304);

        // The last volume alone asks for the disk where the directory starts.
        TempFolder alone;
        std::filesystem::copy_file(folder / "data.zip", alone / "data.zip");
        TScriptedDialogs dialogs;
        ScopedDialogs scoped(dialogs);
        dialogs.Answer(mrCancel);
        TestArchiver single;
        single.SetFileName(alone / "data.zip");
        EXPECT_EQ(ErrorCodeOf([&] { single.OpenArchive(); }), 45);
        ASSERT_EQ(dialogs.Messages().size(), 1u);
        EXPECT_EQ(dialogs.Messages()[0].Text, "Please insert disk #" + std::to_string(first + 1));
    }
}

TEST(SplitArchiveTest, ACancelledSplitWriteLeavesTheOldArchiveAndNoTemporaryFile)
{
    TempFolder folder;
    const std::string sources = folder / "src";
    MakeSources(sources);
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    wqtest::WriteFileBytes(folder / "data.zip", old);
    const std::string temp = folder / "temp";
    std::filesystem::create_directories(temp);
    TestArchiver zip;
    zip.SetTempDir(temp);
    SplitArchive(zip, folder / "data.zip", false);
    int files = 0;
    zip.OnFileProgress = [&](TObject*, const std::string&, double, TZAProcessOperation,
                             TZAProgressPhase phase, bool& cancel) {
        files += phase == ppStart ? 1 : 0;
        cancel = files == 3;
    };
    AddSources(zip, sources);
    EXPECT_EQ(ReadFileBytes(folder / "data.zip"), old);
    EXPECT_TRUE(FilesIn(temp).empty());
}

// Every disk is a folder of its own; the disk-change question sends the
// volume there.
class SpannedArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drives_.Capacity = 70000;
        sources_ = folder_ / "src";
        MakeSources(sources_);
        zip_.SetFileName(folder_ / "data.zip");
        zip_.SetSpanningMode(smSpanning);
        zip_.SetTempDir(folder_.Path());
        zip_.OnRequestBlankVolume = [this](TObject*, int number, std::string& name, bool&) {
            const std::string disk = folder_ / ("disk" + std::to_string(number));
            std::filesystem::create_directories(disk);
            name = disk + "/data.zip";
        };
    }

    // The volumes in order: the last one has moved to the archive's own name.
    std::vector<std::string> Disks() const
    {
        std::vector<std::string> disks;
        for (int n = 1; FileExists(folder_ / ("disk" + std::to_string(n)) + "/data.zip"); ++n) {
            disks.push_back(folder_ / ("disk" + std::to_string(n)) + "/data.zip");
        }
        disks.push_back(folder_ / "data.zip");
        return disks;
    }

    TempFolder folder_;
    std::string sources_;
    DiskDrives drives_;
    ScopedDriveLayer layer_{drives_};
    TScriptedDialogs dialogs_;
    ScopedDialogs scopedDialogs_{dialogs_};
    TestArchiver zip_;
};

TEST_F(SpannedArchiveTest, EachDiskIsFilledLabelledAndTheSetReadsBack)
{
    AddSources(zip_, sources_);
    const auto disks = Disks();
    ASSERT_GE(disks.size(), 4u);
    for (std::size_t n = 1; n <= disks.size(); ++n) {
        char label[32];
        std::snprintf(label, sizeof label, "pkback# %.3zu", n);
        EXPECT_EQ(drives_.Labels[folder_ / ("disk" + std::to_string(n)) + "/"], label);
    }
    EXPECT_TRUE(FilesIn(folder_ / ("disk" + std::to_string(disks.size()))).empty());
    ExpectVolumesWithinLimit(disks, drives_.Capacity);
    ExpectHeadersOnOneVolume(disks, 4);
    ExpectSevenZipReadsTheSet(disks, sources_);
    // The sources, a folder per disk and the archive: no temporary file is left.
    EXPECT_EQ(FilesIn(folder_.Path()).size(), disks.size() + 2);
    EXPECT_TRUE(dialogs_.Messages().empty());
}

TEST_F(SpannedArchiveTest, AFullDiskCanBeCleanedOrTheWriteGivenUp)
{
    int asked = 0;
    zip_.OnDiskFull = [&](TObject*, int number, const std::string&, bool& cancel) {
        ++asked;
        EXPECT_EQ(number, 3);
        cancel = asked > 1;
    };
    // The third disk has a file on it already and too little room.
    std::filesystem::create_directories(folder_ / "disk3");
    wqtest::WriteFileBytes(folder_ / "disk3/other.bin", std::vector<std::uint8_t>(10000));
    drives_.Capacity = 75000;
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    wqtest::WriteFileBytes(folder_ / "data.zip", old);
    AddSources(zip_, sources_);
    EXPECT_EQ(asked, 2);
    // The disks written before are cleared again; the file found on the
    // third stays.
    for (const char* disk : {"disk1", "disk2", "disk3"}) {
        EXPECT_FALSE(FileExists(folder_ / disk + "/data.zip")) << disk;
    }
    EXPECT_TRUE(FileExists(folder_ / "disk3/other.bin"));
    EXPECT_EQ(ReadFileBytes(folder_ / "data.zip"), old);
    for (const std::string& name : FilesIn(folder_.Path())) {
        EXPECT_NE(name.substr(0, 2), "FC") << name;
    }
}

}  // namespace
