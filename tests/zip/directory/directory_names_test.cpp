#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sysutils.h"
#include "tests/zip/directory/hostile_archives.h"
#include "zip/directory/ZADirectoryHash.h"

namespace {

std::uint32_t HashOfUnits(std::initializer_list<std::uint32_t> units)
{
    std::uint32_t hash = 0x811C9DC5;
    for (const std::uint32_t unit : units) {
        hash = (hash ^ unit) * 16777619u;
    }
    return hash;
}

TEST(StringHashTest, HashRunsOverUtf16CodeUnits)
{
    TZAStringHash hash(16);
    EXPECT_EQ(hash.HashOf(""), HashOfUnits({}));
    EXPECT_EQ(hash.HashOf("ab"), HashOfUnits({'a', 'b'}));
    // "é" is one code unit 0xE9, not its two UTF-8 bytes.
    EXPECT_EQ(hash.HashOf("\xC3\xA9"), HashOfUnits({0xE9}));
    // A character beyond the basic plane hashes as its surrogate pair.
    EXPECT_EQ(hash.HashOf("\xF0\x9F\x98\x80"), HashOfUnits({0xD83D, 0xDE00}));
    // A byte that starts no character still counts, as itself.
    EXPECT_EQ(hash.HashOf("\xFF"
                          "a"),
              HashOfUnits({0xFF, 'a'}));
}

TEST(StringHashTest, NamesThatDifferInDigitsSpreadOverTheBuckets)
{
    const int count = 100000;
    TZAStringHash hash(count);
    std::vector<int> perBucket(count);
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "data/Station_%06d.xml", i);
        ++perBucket[hash.HashOf(name) % count];
    }
    // Random spreading leaves about 37 % of the buckets empty and none crowded.
    EXPECT_LT(std::count(perBucket.begin(), perBucket.end(), 0), count / 2);
    EXPECT_LT(*std::max_element(perBucket.begin(), perBucket.end()), 16);
}

TEST(StringHashTest, NewestEntryOfAKeyWinsAndRemovalUncoversTheOlder)
{
    TZAStringHash hash(1);
    hash.Add("x", 1);
    hash.Add("y", 2);
    hash.Add("x", 3);
    EXPECT_EQ(hash.ValueOf("x"), 3);
    EXPECT_EQ(hash.ValueOf("y"), 2);
    EXPECT_EQ(hash.ValueOf("X"), -1);
    hash.Remove("x");
    EXPECT_EQ(hash.ValueOf("x"), 1);
    hash.Clear();
    EXPECT_EQ(hash.ValueOf("y"), -1);
    EXPECT_EQ(hash.BucketCount(), 1);
}

TEST(StringHashTest, LongChainOfEqualKeysIsFreedWithoutRecursion)
{
    auto hash = std::make_unique<TZAStringHash>(1);
    for (int i = 0; i < 200000; ++i) {
        hash->Add("same", i);
    }
    EXPECT_EQ(hash->ValueOf("same"), 199999);
    hash.reset();
}

TEST(HashedStringListTest, IgnoresCaseOfAsciiLettersOnly)
{
    TZAHashedStringList list;
    list.Add("readme.txt");
    list.Add("\xC3\xA9t\xC3\xA9.txt");  // "été.txt"
    EXPECT_EQ(list.IndexOf("README.TXT"), 0);
    EXPECT_EQ(list.IndexOf("\xC3\xA9T\xC3\xA9.TXT"), 1);
    EXPECT_EQ(list.IndexOf("\xC3\x89T\xC3\x89.TXT"), -1);  // "ÉTÉ.TXT"
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("README.TXT"), -1);
    EXPECT_EQ(list.IndexOf("readme.txt"), 0);
}

TEST(HashedStringListTest, IndexFollowsAddsPastTheRebuildThresholdDeletesAndPuts)
{
    TZAHashedStringList list;
    list.Add("first");
    ASSERT_EQ(list.IndexOf("first"), 0);  // the index exists from here on
    for (int i = 1; i < 12000; ++i) {
        list.Add("name" + std::to_string(i));
    }
    for (int i = 1; i < 12000; i += 997) {
        EXPECT_EQ(list.IndexOf("NAME" + std::to_string(i)), i);
    }
    list.Delete(0);
    EXPECT_EQ(list.IndexOf("first"), -1);
    EXPECT_EQ(list.IndexOf("name1"), 0);
    list.Put(0, "renamed");
    EXPECT_EQ(list.IndexOf("name1"), -1);
    EXPECT_EQ(list.IndexOf("renamed"), 0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf("renamed"), -1);
    EXPECT_THROW(list.Delete(0), std::out_of_range);
}

TEST(HashedStringListTest, PutOnADuplicateKeepsTheOtherCopyFindable)
{
    TZAHashedStringList list;
    list.Add("dup");
    list.Add("dup");
    ASSERT_EQ(list.IndexOf("dup"), 1);
    list.Put(0, "other");
    EXPECT_EQ(list.IndexOf("dup"), 1);
    EXPECT_EQ(list.IndexOf("other"), 0);
    list.Put(1, "again");
    EXPECT_EQ(list.IndexOf("dup"), -1);
}

TEST(HashedStringListTest, IndexOfNameLooksAtThePartBeforeTheFirstEquals)
{
    TZAHashedStringList list;
    list.Add("a=1");
    list.Add("Key=x=y");
    list.Add("plain");
    EXPECT_EQ(list.IndexOfName("KEY"), 1);
    EXPECT_EQ(list.IndexOfName("a"), 0);
    EXPECT_EQ(list.IndexOfName("plain"), -1);
    list.Add("plain=2");
    EXPECT_EQ(list.IndexOfName("plain"), 3);
}

// Removal moves entries back into the hole it leaves; a slip there loses
// entries that lie behind it in their run of slots, or moves one in front of
// the slot its hash points to, where no look-up finds it. Half full, the most
// the index allows, runs are long, and over the rounds some wrap around the
// end of the table.
TEST(NameIndexTest, EntriesStayFindableWhateverIsRemovedAroundThem)
{
    const int count = 4096;
    const int distinct = 1024;
    for (int round = 0; round < 40 && !HasFailure(); ++round) {
        std::vector<std::string> names;
        TZANameIndex index;
        for (int i = 0; i < count; ++i) {
            names.push_back(std::to_string(round) + "/n" + std::to_string(i % distinct));
            index.Add(names[i], i);
        }
        std::vector<bool> present(count, true);
        const auto expectEveryNameFound = [&] {
            for (int n = 0; n < distinct; ++n) {
                int expected = -1;
                for (int i = n; i < count; i += distinct) {
                    expected = present[i] ? i : expected;
                }
                const auto hasName = [&](std::int32_t i) { return names[i] == names[n]; };
                ASSERT_EQ(index.Find(names[n], hasName), expected) << names[n];
            }
        };
        std::vector<int> order(count);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), std::mt19937(round));
        for (int k = 0; k < 2 * count / 3; ++k) {
            index.Remove(names[order[k]], order[k]);
            present[order[k]] = false;
            if (k % 64 == 0) {
                expectEveryNameFound();
            }
        }
        index.Remove(names[order[0]], order[0]);  // gone already: nothing happens
        index.Add(names[order[0]], order[0]);
        present[order[0]] = true;
        expectEveryNameFound();
    }
}

// Names that share a hash, made on purpose or copied, must not make a
// look-up ask about every one of them: it reads the highest index of the
// name and is done.
// Names equal but for the case of A-Z meet, whatever byte stands where in the
// eight-byte words the hash reads; a byte outside A-Z, a-z keeps its own place.
TEST(NameIndexTest, OnlyTheCaseOfAToZIsIgnored)
{
    TZANameIndex index;
    std::vector<std::string> names;
    for (int byte = 1; byte < 256; ++byte) {
        names.push_back(std::string(static_cast<std::size_t>(byte % 11), 'q') +
                        static_cast<char>(byte) + "Tail");
        index.Add(names.back(), byte - 1);
    }
    for (int byte = 1; byte < 256; ++byte) {
        const std::string& name = names[static_cast<std::size_t>(byte - 1)];
        for (const std::string& probe : {AsciiUpperCase(name), AsciiLowerCase(name)}) {
            std::int32_t asked = -1;
            index.Find(probe, [&](std::int32_t i) {
                asked = i;
                return true;
            });
            EXPECT_EQ(asked, byte - 1) << "byte " << byte;
        }
    }
}

TEST(NameIndexTest, ALookupAsksAboutOneCandidateHoweverManyShareTheHash)
{
    const int count = 1 << 14;
    const std::vector<std::vector<std::string>> kinds = {
        zatest::NamesSharingOneFnvHash(14), std::vector<std::string>(count, "data/same.xml")};
    for (const auto& names : kinds) {
        TZANameIndex index;
        for (int i = 0; i < count; ++i) {
            index.Add(names[i], i);
        }
        int asked = 0;
        for (const int probe : {0, count / 2, count - 1}) {
            const std::int32_t found = index.Find(names[probe], [&](std::int32_t i) {
                ++asked;
                return names[i] == names[probe];
            });
            EXPECT_EQ(found, names[0] == names[1] ? count - 1 : probe) << names[probe];
        }
        EXPECT_LE(asked, 3 * 2) << names[0];
    }
}

}  // namespace
