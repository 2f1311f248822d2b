#include <string>

#include <gtest/gtest.h>

#include "tests/zip/volumes_test_support.h"

namespace {

using zatest::TestArchiver;

TEST(EventsTest, VolumeHandlersCountVolumesFromOne)
{
    TestArchiver zip;
    zip.SetSpanningMode(smSplitting);
    std::vector<int> numbers;
    const auto record = [&](TObject* sender, int number, std::string& name, bool& cancel) {
        EXPECT_EQ(sender, &zip);
        EXPECT_FALSE(cancel);
        numbers.push_back(number);
        name = "chosen";
    };
    zip.OnRequestBlankVolume = record;
    zip.OnRequestMiddleVolume = record;
    zip.OnDiskFull = [&](TObject*, int number, const std::string&, bool& cancel) {
        EXPECT_FALSE(cancel);
        numbers.push_back(number);
    };
    std::string name = "/d/data.zip";
    bool cancel = true;
    zip.DoRequestBlankVolume(0, name, cancel);
    EXPECT_EQ(name, "chosen");
    name = "/d/data.zip";
    zip.DoRequestBlankVolume(-1, name, cancel);
    cancel = true;
    zip.DoRequestMiddleVolume(2, name, cancel);
    cancel = true;
    zip.DoDiskFull(4, name, cancel);
    cancel = true;
    zip.DoDiskFull(-1, name, cancel);
    EXPECT_EQ(numbers, (std::vector<int>{1, 1, 3, 5, 0}));
}

TEST(EventsTest, HandlersSeeBackslashesAndStoredNamesGetSlashesBack)
{
    TestArchiver zip;
    std::string seen;
    zip.OnFileProgress = [&](TObject*, const std::string& name, double, TZAProcessOperation,
                             TZAProgressPhase, bool&) { seen = name; };
    bool cancel = true;
    zip.DoFileProgress("a/b/c.txt", 50.0, poAdd, ppProcess, cancel);
    EXPECT_EQ(seen, "a\\b\\c.txt");
    EXPECT_FALSE(cancel);

    zip.OnStoreFile = [&](TObject*, std::string& name, std::uint32_t& attr, std::string& comment,
                          const std::string& original) {
        EXPECT_EQ(name, "docs\\a.txt");
        EXPECT_EQ(original, "/src/docs/a.txt");
        name = "other\\place\\a.txt";
        attr = 1;
        comment = "note";
    };
    std::string name = "docs/a.txt";
    std::uint32_t attr = 32;
    std::string comment;
    zip.DoStoreFile(name, attr, comment, "/src/docs/a.txt");
    EXPECT_EQ(name, "other/place/a.txt");
    EXPECT_EQ(attr, 1u);
    EXPECT_EQ(comment, "note");

    // Without a handler the stored name is left alone; extraction names turn anyway.
    zip.OnStoreFile = nullptr;
    zip.DoStoreFile(name, attr, comment, "x");
    EXPECT_EQ(name, "other/place/a.txt");
    zip.DoExtractFile(name, attr, comment);
    EXPECT_EQ(name, "other\\place\\a.txt");
}

}  // namespace
