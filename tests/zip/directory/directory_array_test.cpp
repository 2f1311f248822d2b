#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/zip/error_codes.h"
#include "zip/directory/ZADirectoryItems.h"
#include "zip/directory/ZAItemsByPlace.h"
#include "zip/format/ZAExcept.h"

namespace {

using zatest::ErrorCodeOf;

TDirItem Named(const std::string& name)
{
    TDirItem item;
    item.SetFileName(name);
    return item;
}

za::Bytes AreaOf(const TZAExtraField& field)
{
    za::Bytes area;
    field.Write(area);
    return area;
}

za::Bytes FirstFieldData(const TDirItem& item)
{
    return ReadExtraFields(item.ExtraArea()).at(0).Data;
}

TEST(DirArrayTest, GrowsInDoublingStepsUpToTheLimitAndReleasesAtZero)
{
    TZADirArray array;
    array.SetCount(1);
    EXPECT_EQ(array.Capacity(), 1000);
    array.SetCount(1001);
    EXPECT_EQ(array.Capacity(), 3000);
    array.SetCount(3001);
    EXPECT_EQ(array.Capacity(), 7000);
    array.SetCount(7001);
    EXPECT_EQ(array.Capacity(), 15000);
    array.SetCount(15001);
    EXPECT_EQ(array.Capacity(), 25000);  // the step stays at 10000 from here on
    array.SetCount(100000);
    EXPECT_EQ(array.Capacity(), 100000);  // a jump past the step takes the count
    array.SetCount(10);
    EXPECT_EQ(array.Capacity(), 100000);
    array.SetCount(0);
    EXPECT_EQ(array.Capacity(), 0);
    EXPECT_EQ(array.Count(), 0);
}

TEST(DirArrayTest, NewRecordsStartEmptyAfterShrinkingAndGrowing)
{
    TZADirArray array;
    array.SetCount(2);
    array.SetItem(0, Named("a"));
    TDirItem full = Named("b");
    full.Pending = true;
    full.EditSource().Password = "pw";
    full.SetExtraFields(AreaOf({0x5455, {1, 2, 3}}));
    array.SetItem(1, full);
    array.SetCount(1);
    array.SetCount(2);
    const TDirItem& fresh = array.ItemPtr(1);
    EXPECT_TRUE(fresh.FileName().empty());
    EXPECT_FALSE(fresh.Pending);
    EXPECT_TRUE(fresh.Source().Password.empty());
    EXPECT_TRUE(fresh.ExtraArea().empty());
    int index = -1;
    EXPECT_FALSE(array.FindName("b", index));  // its name left with it
}

TEST(DirArrayTest, IndexErrorsCarryTheirCodes)
{
    TZADirArray array;
    array.SetCount(2);
    EXPECT_EQ(ErrorCodeOf([&] { array.SetItem(2, Named("x")); }), 1);
    EXPECT_EQ(ErrorCodeOf([&] { array.Item(-1); }), 2);
    EXPECT_EQ(ErrorCodeOf([&] { array.ItemPtr(2); }), 3);
    EXPECT_EQ(ErrorCodeOf([&] { array.Delete(5); }), 4);
    // Names must hold the items before the one set: item 1 cannot come first.
    EXPECT_EQ(ErrorCodeOf([&] { array.SetItem(1, Named("x")); }), 58);
    // Renaming an item while one in front of it has no name entered.
    array.SetItem(0, Named("a"));
    array.SetCount(3);
    EXPECT_EQ(ErrorCodeOf([&] { array.Rename(2, "b"); }), 59);
}

TEST(DirArrayTest, SetItemCopiesDeeplyAndItemHandsOutCopies)
{
    TZADirArray array;
    array.SetCount(1);
    TDirItem item = Named("Docs/Readme.TXT");
    item.SetExtraFields(AreaOf({0x5455, {1, 2, 3}}));
    item.EditSource().Password = "pw";
    array.SetItem(0, item);
    item.SetExtraFields(AreaOf({0x5455, {9, 2, 3}}));
    item.EditSource().Password = "changed";
    TDirItem copy = array.Item(0);
    copy.SetExtraFields(AreaOf({0x5455, {1, 9, 3}}));
    copy.EditSource().Password = "changed";
    EXPECT_EQ(FirstFieldData(array.ItemPtr(0)), (za::Bytes{1, 2, 3}));
    EXPECT_EQ(array.ItemPtr(0).Source().Password, "pw");
    EXPECT_EQ(FirstFieldData(copy), (za::Bytes{1, 9, 3}));
    int index = -1;
    EXPECT_TRUE(array.FindName("docs/readme.txt", index));
    EXPECT_EQ(index, 0);
    array.SetItem(0, Named("other"));
    EXPECT_FALSE(array.FindName("docs/readme.txt", index));
    EXPECT_TRUE(array.FindName("OTHER", index));
}

TEST(DirArrayTest, LookupsIgnoreCaseOfAsciiLettersOnly)
{
    TZADirArray array;
    array.SetCount(2);
    array.SetItem(0, Named("\xC3\xA9t\xC3\xA9.txt"));  // "été.txt"
    array.SetItem(1, Named("ABC"));
    int index = -1;
    EXPECT_TRUE(array.FindName("\xC3\xA9T\xC3\xA9.TXT", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(array.FindName("\xC3\x89t\xC3\x89.txt", index));  // "ÉtÉ.txt"
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(array.FindName("abc", index));
    EXPECT_EQ(index, 1);
}

TEST(DirArrayTest, DeleteAndRenameKeepTheIndexInStep)
{
    TZADirArray array;
    array.SetCount(3);
    array.SetItem(0, Named("a"));
    array.SetItem(1, Named("b"));
    array.SetItem(2, Named("c"));
    array.Delete(0);
    int index = -1;
    EXPECT_TRUE(array.FindName("c", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(array.FindName("a", index));

    array.Rename(1, "New/C");
    EXPECT_EQ(array.ItemPtr(1).FileName(), "New/C");
    EXPECT_TRUE(array.FindName("new/c", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(array.FindName("c", index));

    // Items whose index holds no name yet take theirs in turn.
    array.SetCount(3);
    array.Rename(2, "d");
    EXPECT_TRUE(array.FindName("D", index));
    EXPECT_EQ(index, 2);
}

TEST(DirArrayTest, DuplicateNamesCanEachBeRenamed)
{
    TZADirArray array;
    array.SetCount(2);
    array.SetItem(0, Named("same"));
    array.SetItem(1, Named("same"));
    array.Rename(0, "first");
    array.Rename(1, "second");
    int index = -1;
    EXPECT_TRUE(array.FindName("first", index));
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(array.FindName("second", index));
    EXPECT_EQ(index, 1);
}

TEST(DirArrayTest, TheLastItemOfANameIsFoundUntilItGoes)
{
    TZADirArray array;
    array.SetCount(3);
    array.SetItem(0, Named("same"));
    array.SetItem(1, Named("other"));
    array.SetItem(2, Named("SAME"));
    int index = -1;
    EXPECT_TRUE(array.FindName("same", index));
    EXPECT_EQ(index, 2);
    array.Delete(2);
    EXPECT_TRUE(array.FindName("same", index));
    EXPECT_EQ(index, 0);
}

// An update finds the old record of each kept item by name and place, also
// among many copies of one name and items that share a place.
TEST(ItemsByPlaceTest, FindsTheLastItemOfTheNameAtThePlace)
{
    const std::vector<std::pair<std::string, std::uint32_t>> items = {
        {"copy", 300}, {"copy", 100}, {"Other", 100}, {"COPY", 100}, {"copy", 200}};
    TZADirArray array;
    array.SetCount(static_cast<int>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        TDirItem item = Named(items[i].first);
        item.Header.LocalHeaderOffset = items[i].second;
        array.SetItem(static_cast<int>(i), item);
    }
    TZAItemsByPlace byPlace(array);
    EXPECT_EQ(byPlace.Find("copy", 100), 3);
    EXPECT_EQ(byPlace.Find("copy", 200), 4);
    EXPECT_EQ(byPlace.Find("Copy", 300), 0);
    EXPECT_EQ(byPlace.Find("other", 100), 2);
    EXPECT_EQ(byPlace.Find("copy", 150), -1);
    EXPECT_EQ(byPlace.Find("other", 200), -1);
    EXPECT_EQ(byPlace.Find("cop", 100), -1);
}

// Each text lies in the one run of bytes of its item; changing one must keep
// the others, whether the stored name is set apart from the name bytes or not.
TEST(DirItemTest, EachTextSetterKeepsTheOtherTexts)
{
    for (const std::string name : {"a.txt", "\xC3\xA4.txt"}) {  // "ä.txt" is set apart
        const auto start = [&] {
            TDirItem item;
            item.SetNameBytes({"a.txt", false});
            item.SetFileName(name);
            item.SetComment("note");
            item.SetExtraFields(AreaOf({0x5455, {1, 2}}));
            return item;
        };
        TDirItem item = start();
        item.SetNameBytes({"b.txt", true});
        EXPECT_EQ(item.NameBytes(), "b.txt");
        EXPECT_EQ(item.Header.Flags, ZAFlagUtf8Name);
        EXPECT_EQ(item.FileName(), name);
        EXPECT_EQ(item.Comment(), "note");
        EXPECT_EQ(FirstFieldData(item), (za::Bytes{1, 2}));

        item = start();
        item.SetComment("");
        item.SetExtraFields({});
        EXPECT_EQ(item.NameBytes(), "a.txt");
        EXPECT_EQ(item.FileName(), name);
        EXPECT_TRUE(item.Comment().empty());
        EXPECT_TRUE(item.ExtraArea().empty());

        item = start();
        item.SetFileName("a.txt");
        item.SetFileName("c.txt");
        EXPECT_EQ(item.FileName(), "c.txt");
        EXPECT_EQ(item.NameBytes(), "a.txt");
        EXPECT_EQ(item.Comment(), "note");
    }
}

TEST(DirArrayTest, RenamesOverManyBlocksKeepEveryName)
{
    TZADirArray array;
    const int count = 20000;
    array.SetCount(count);
    const auto name = [](int i, const char* kind) {
        return std::string(kind) + "/\xC3\xA9t\xC3\xA9_" + std::to_string(i) + ".txt";
    };
    for (int i = 0; i < count; ++i) {
        array.Rename(i, name(i, "first"));
    }
    // A name renamed to itself is copied from the block it lies in.
    for (int i = 0; i < count; ++i) {
        array.Rename(i, array.ItemPtr(i).FileName());
        array.Rename(i, name(i, "second"));
    }
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(array.ItemPtr(i).FileName(), name(i, "second")) << i;
    }
    int index = -1;
    EXPECT_TRUE(array.FindName(name(12345, "SECOND"), index));
    EXPECT_EQ(index, 12345);
    EXPECT_FALSE(array.FindName(name(12345, "first"), index));
}

TEST(DirArrayTest, AssignCopiesEveryItemAndName)
{
    TZADirArray source;
    source.SetCount(2);
    source.SetItem(0, Named("x"));
    source.SetItem(1, Named("y"));
    TZADirArray copy;
    copy.SetCount(5);
    copy.Assign(source);
    EXPECT_EQ(copy.Count(), 2);
    int index = -1;
    EXPECT_TRUE(copy.FindName("y", index));
    EXPECT_EQ(index, 1);
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_FALSE(copy.FindName("x", index));
    EXPECT_EQ(source.Count(), 2);
}

TEST(DirArrayTest, NameLookupsAcross100000Items)
{
    TZADirArray array;
    const int count = 100000;
    array.SetCount(count);
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "Data/Station_%06d.xml", i);
        array.Rename(i, name);
    }
    int index = -1;
    for (int i = 0; i < count; i += 7919) {
        std::snprintf(name, sizeof name, "DATA/STATION_%06d.XML", i);
        ASSERT_TRUE(array.FindName(name, index)) << name;
        EXPECT_EQ(index, i);
    }
    EXPECT_FALSE(array.FindName("Data/Station_100000.xml", index));
    array.Delete(0);
    EXPECT_TRUE(array.FindName("data/station_099999.xml", index));
    EXPECT_EQ(index, count - 2);
}

}  // namespace
