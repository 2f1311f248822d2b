// The look-ups answer from indexes kept beside the lists; after any mix of
// changes they must give what a scan of the list in order gives.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string_view>
#include <unordered_set>

#include "model/key_index.h"
#include "tests/model/model_session_fixture.h"
#include "platform/sysutils.h"

namespace {

using KeyIndex = SessionTest;

TRegion* ScanForCode(const TListOZR& list, const std::string& code)
{
    for (TObject* item : list)
        if (static_cast<TRegion*>(item)->GetCode() == code)
            return static_cast<TRegion*>(item);
    return nullptr;
}

TEntity* ScanForID(const TListOZR& list, const std::string& id)
{
    for (TObject* item : list)
        if (AsciiLowerCase(static_cast<TEntity*>(item)->GetID()) == AsciiLowerCase(id))
            return static_cast<TEntity*>(item);
    return nullptr;
}

TEST_F(KeyIndex, RandomChangesAgreeWithAScanInListOrder)
{
    std::mt19937 random(7);
    const auto pick = [&random](int n) { return static_cast<int>(random() % n); };
    const auto code = [&pick] { return "R" + std::to_string(pick(40)); };
    const auto id = [&pick] { return std::string(pick(2) ? "w" : "W") + std::to_string(pick(40)); };
    auto* parent = new TRegion(nullptr, rtCountry, "C");
    for (int step = 0; step < 4000; ++step) {
        switch (pick(6)) {
            case 0: new TRegion(parent, rtRB, code()); break;
            case 1:
                if (session().FRBs.Count() > 0)
                    delete session().FRBs[pick(session().FRBs.Count())];
                break;
            case 2: new TWell(parent, id()); break;
            case 3:
                if (session().FWells.Count() > 0)
                    delete session().FWells[pick(session().FWells.Count())];
                break;
            case 4:
                if (session().FWells.Count() > 0)
                    static_cast<TEntity*>(session().FWells[pick(session().FWells.Count())])
                        ->SetID(id());
                break;
            default:
                if (session().FWells.Count() > 1)
                    session().FWells.Move(pick(session().FWells.Count()),
                                          pick(session().FWells.Count()));
        }
        const std::string askedCode = code();
        TRegion* region = nullptr;
        FindRegion(askedCode, rtRB, region);
        ASSERT_EQ(region, ScanForCode(session().FRBs, askedCode)) << "step " << step;
        const std::string askedID = id();
        TEntity* station = nullptr;
        FindStation(askedID, skWell, station);
        ASSERT_EQ(station, ScanForID(session().FWells, askedID)) << "step " << step;
        FindEntityByID(session().FEntities, askedID, station);
        ASSERT_EQ(station, ScanForID(session().FEntities, askedID)) << "step " << step;
    }
}

TEST_F(KeyIndex, ManyCodesStayFindableAsTheTableGrowsAndShrinks)
{
    std::vector<TRegion*> regions;
    TRegion* found = nullptr;
    FindRegion("none", rtNUTS3, found);
    for (int i = 0; i < 5000; ++i)
        regions.push_back(new TRegion(nullptr, rtNUTS3, "N" + std::to_string(i)));
    for (int i = 0; i < 5000; i += 2)
        delete regions[static_cast<std::size_t>(i)];
    for (int i = 0; i < 5000; ++i) {
        const bool kept = i % 2 == 1;
        ASSERT_EQ(FindRegion("N" + std::to_string(i), rtNUTS3, found), kept) << i;
        if (kept) {
            ASSERT_EQ(found, regions[static_cast<std::size_t>(i)]);
        }
    }
}

// Stations added in bulk reach the index a batch at a time: look-ups after
// many adds, deletes and renames without a look-up between them, with each ID
// three times in the list in varying case, must still give the first in list
// order; a list that also holds regions finds only stations.
TEST_F(KeyIndex, BulkAddsDeletesAndRenamesAgreeWithAScanInListOrder)
{
    constexpr int kIDs = 700;
    auto* rbd = new TRegion(nullptr, rtRBD, "GR01");
    const auto id = [](int i) { return std::string(i % 2 ? "w" : "W") + std::to_string(i % kIDs); };
    const auto agree = [this, &id](const char* stage) {
        for (int i = 0; i < kIDs + 5; ++i) {
            TEntity* found = nullptr;
            FindStation(id(i), skWell, found);
            ASSERT_EQ(found, ScanForID(session().FWells, id(i))) << stage << " " << i;
            FindEntityByID(session().FEntities, id(i), found);
            ASSERT_EQ(found, ScanForID(session().FEntities, id(i))) << stage << " " << i;
        }
    };
    TEntity* none = nullptr;
    FindStation("none", skWell, none);
    FindEntityByID(session().FEntities, "none", none);
    for (int i = 0; i < 3 * kIDs; ++i)
        new TWell(rbd, id(i * 7));
    agree("added");
    for (int i = session().FWells.Count() - 1; i >= 0; i -= 5)
        delete session().FWells[i];
    agree("deleted");
    for (int i = 0; i < session().FWells.Count(); i += 11)
        static_cast<TEntity*>(session().FWells[i])->SetID(id(i + 3));
    agree("renamed");

    TListOZR mixed;
    mixed.Add(rbd);
    mixed.Add(session().FWells[0]);
    TEntity* found = nullptr;
    EXPECT_FALSE(FindEntityByID(mixed, "GR01", found));
    EXPECT_TRUE(FindEntityByID(mixed, static_cast<TEntity*>(session().FWells[0])->GetID(), found));
    EXPECT_EQ(found, session().FWells[0]);
    mixed.Clear();
}

// The caseless fingerprint folds the case of each word in place; it must be
// the fingerprint of the key in lower case, for every byte at every place,
// the bytes around A to Z and above 0x7F included.
TEST(KeyFingerprint, CaselessIsTheFingerprintOfTheLowerCaseKey)
{
    for (std::size_t length = 1; length <= 19; ++length)
        for (int byte = 0; byte < 256; ++byte)
            for (std::size_t at = 0; at < length; at += 3) {
                std::string key(length, 'Q');
                key[at] = static_cast<char>(byte);
                ASSERT_EQ(CaselessKeyFingerprint(key), KeyFingerprint(AsciiLowerCase(key)))
                    << "length " << length << ", byte " << byte << " at " << at;
            }
}

// Keys are read a word at a time, the last word overlapping the one before:
// every byte must count, and none beyond the key may be read (the keys below
// stand in buffers of their exact size, where a sanitizer sees any overrun).
TEST(KeyFingerprint, EveryByteAndTheLengthCount)
{
    for (std::size_t length = 0; length <= 24; ++length) {
        auto bytes = std::make_unique<char[]>(length);
        std::fill_n(bytes.get(), length, 'a');
        const std::string_view key(bytes.get(), length);
        const std::uint32_t print = KeyFingerprint(key);
        EXPECT_NE(print, 0u);
        EXPECT_EQ(print, KeyFingerprint(std::string(length, 'a'))) << length;
        EXPECT_NE(print, KeyFingerprint(std::string(length + 1, 'a'))) << length;
        for (std::size_t at = 0; at < length; ++at) {
            bytes[at] = 'b';
            EXPECT_NE(KeyFingerprint(key), print) << "length " << length << ", byte " << at;
            bytes[at] = 'a';
        }
    }
}

TEST(KeyFingerprint, CodesOfOneStemAndGrowingNumbersSpread)
{
    std::unordered_set<std::uint32_t> prints;
    for (int i = 0; i < 20000; ++i)
        prints.insert(KeyFingerprint("K" + std::to_string(i)));
    EXPECT_EQ(prints.size(), 20000u);
}

}  // namespace
