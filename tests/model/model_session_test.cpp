#include "model/session_observer.h"
#include "tests/model/model_session_fixture.h"
#include "platform/exception.h"
#include "platform/program_folder.h"

namespace {

class RecordingObserver : public TSessionObserver {
public:
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void updateCmBoxCountries() override { ++countryRefreshes; }
    void ShowSessionInfo() override {}

    std::vector<std::string> captions;
    int countryRefreshes = 0;
};

using SessionLifetime = SessionTest;
using SessionLookups = SessionTest;

TEST_F(SessionLifetime, StartsEmptyWithTheFilesInTheDataFolder)
{
    EXPECT_EQ(session().GetCountry(), nullptr);
    EXPECT_FALSE(session().GetModified());
    EXPECT_EQ(session().FYear, 2008);
    EXPECT_EQ(session().FDataFile, ProgramFolder() + "data/OZR_wq.xml");
    EXPECT_EQ(session().FRegionsFile, ProgramFolder() + "data/OZR_wq_regions.xml");
    EXPECT_EQ(session().FRegions.Count(), 0);
    EXPECT_EQ(session().FEntities.Count(), 0);
}

TEST_F(SessionLifetime, SecondCountryIsRefusedWithAWarning)
{
    RecordingObserver observer;
    session().SetObserver(&observer);
    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    auto* italy = new TRegion(nullptr, rtCountry, "IT");
    session().SetCountry(greece);
    EXPECT_TRUE(dialogs_.Messages().empty());
    session().SetCountry(italy);
    EXPECT_EQ(session().GetCountry(), greece);
    ASSERT_EQ(dialogs_.Messages().size(), 1u);
    EXPECT_EQ(dialogs_.Messages()[0].Text,
              "In order to change the selected country restart the application.");
    EXPECT_EQ(dialogs_.Messages()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(dialogs_.Messages()[0].Buttons, mbOK);
    EXPECT_EQ(observer.countryRefreshes, 2);
}

TEST_F(SessionLifetime, ModifiedFlagSetsTheCaption)
{
    RecordingObserver observer;
    session().SetObserver(&observer);
    session().SetModified(true);
    EXPECT_TRUE(session().GetModified());
    session().SetModified(false);
    EXPECT_EQ(observer.captions, (std::vector<std::string>{"Tavrel-SoE WQ Data Request*",
                                                           "Tavrel-SoE WQ Data Request"}));
}

// A large import marks the session modified once per station: the window
// hears of the flag only when it changes.
TEST_F(SessionLifetime, TheObserverHearsOnlyChangesOfTheFlag)
{
    RecordingObserver observer;
    session().SetObserver(&observer);
    auto* rbd = new TRegion(nullptr, rtRBD, "GR01");
    for (int i = 0; i < 100; ++i)
        new TWell(rbd, "W" + std::to_string(i));
    delete session().FWells[0];
    session().SetModified(false);
    session().SetModified(false);
    new TWell(rbd, "W0");
    EXPECT_EQ(observer.captions,
              (std::vector<std::string>{"Tavrel-SoE WQ Data Request*", "Tavrel-SoE WQ Data Request",
                                        "Tavrel-SoE WQ Data Request*"}));
    session().SetObserver(nullptr);
}

TEST_F(SessionLifetime, WorksWithoutObserver)
{
    session().SetModified(true);
    session().SetCountry(new TRegion(nullptr, rtCountry, "GR"));
    EXPECT_TRUE(session().GetModified());
}

TEST(SessionGlobal, ObjectsNeedASessionAndFreeingClearsTheGlobal)
{
    Session = nullptr;
    EXPECT_THROW(TRegion(nullptr, rtCountry, "GR"), Exception);
    auto session = std::make_unique<TSession>();
    Session = session.get();
    auto* country = new TRegion(nullptr, rtCountry, "GR");
    new TWell(new TRegion(country, rtRBD, "GR01"), "W1");
    session.reset();
    EXPECT_EQ(Session, nullptr);
}

TEST_F(SessionLifetime, FreeingALargeSessionLeavesNothingBehind)
{
    for (int c = 0; c < 20; ++c) {
        auto* country = new TRegion(nullptr, rtCountry, "C" + std::to_string(c));
        for (int n = 0; n < 50; ++n) {
            auto* nuts = new TRegion(country, rtNUTS1, country->GetCode() + std::to_string(n));
            new TRegion(nuts, rtNUTS2, nuts->GetCode() + "A");
            new TStreamFlow(nuts, "F" + nuts->GetCode());
        }
    }
    session().SetCountry(static_cast<TRegion*>(session().FCountries[0]));
    EXPECT_EQ(session().FRegions.Count(), 20 * 101);
    session_.reset();
    EXPECT_EQ(Session, nullptr);
}

TEST_F(SessionLookups, RegionCodesAreCaseSensitiveAndFirstMatchWins)
{
    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    auto* first = new TRegion(greece, rtRBD, "GR01");
    new TRegion(greece, rtRBD, "GR01");
    TRegion* found = nullptr;
    EXPECT_TRUE(FindRegionByCode(session().FCountries, "GR", found));
    EXPECT_EQ(found, greece);
    EXPECT_FALSE(FindRegionByCode(session().FCountries, "gr", found));
    EXPECT_EQ(found, nullptr);
    EXPECT_TRUE(FindRegion("GR01", rtRBD, found));
    EXPECT_EQ(found, first);
    EXPECT_FALSE(FindRegion("GR01", rtSU, found));
    EXPECT_FALSE(FindRegion("GR01", static_cast<TRegionType>(7), found));
    EXPECT_TRUE(FindRegionByCode(session().FRegions, "GR01", found));
    EXPECT_EQ(found, first);
}

TEST_F(SessionLookups, StationIDsIgnoreTheCaseOfAsciiLetters)
{
    auto* rbd = new TRegion(nullptr, rtRBD, "GR01");
    auto* well = new TWell(rbd, "W-01");
    new TReservoir(rbd, "w-01");
    TEntity* found = nullptr;
    EXPECT_TRUE(FindStation("w-01", skWell, found));
    EXPECT_EQ(found, well);
    EXPECT_TRUE(FindEntityByID(session().FEntities, "W-01", found));
    EXPECT_EQ(found, well);
    EXPECT_FALSE(FindStation("W-01", skStreamFlow, found));
    EXPECT_EQ(found, nullptr);
    EXPECT_FALSE(FindStation("W-01", static_cast<TStationKind>(4), found));
    new TWell(rbd, "\xC3\x84-1");
    EXPECT_FALSE(FindStation("\xC3\xA4-1", skWell, found));
}

// The look-ups answer from indexes; these are the changes that could leave an
// index behind the list.
TEST_F(SessionLookups, AnswersFollowEveryChangeOfTheLists)
{
    auto* rbd = new TRegion(nullptr, rtRBD, "GR01");
    auto* a = new TWell(rbd, "A");
    auto* b = new TWell(rbd, "B");
    TEntity* found = nullptr;
    ASSERT_TRUE(FindStation("a", skWell, found));

    b->SetID("a");
    a->SetID("c");
    EXPECT_TRUE(FindStation("A", skWell, found));
    EXPECT_EQ(found, b);
    EXPECT_TRUE(FindStation("C", skWell, found));
    EXPECT_EQ(found, a);

    a->SetID("a");
    EXPECT_TRUE(FindStation("a", skWell, found));
    EXPECT_EQ(found, a);
    session().FWells.Move(1, 0);
    EXPECT_TRUE(FindStation("a", skWell, found));
    EXPECT_EQ(found, b);

    delete b;
    EXPECT_TRUE(FindStation("a", skWell, found));
    EXPECT_EQ(found, a);
    delete a;
    EXPECT_FALSE(FindStation("a", skWell, found));
    EXPECT_FALSE(FindEntityByID(session().FEntities, "a", found));
}

TEST_F(SessionLookups, RemovingTheFirstOfTwoEqualCodesFindsTheSecond)
{
    auto* first = new TRegion(nullptr, rtRB, "X");
    auto* second = new TRegion(nullptr, rtRB, "X");
    TRegion* found = nullptr;
    ASSERT_TRUE(FindRegion("X", rtRB, found));
    EXPECT_EQ(found, first);
    delete first;
    ASSERT_TRUE(FindRegion("X", rtRB, found));
    EXPECT_EQ(found, second);
    auto* third = new TRegion(nullptr, rtRB, "X");
    TListOZR list;
    list.Add(second);
    list.Insert(0, third);
    ASSERT_TRUE(FindRegionByCode(list, "X", found));
    EXPECT_EQ(found, third);
    list.Delete(0);
    ASSERT_TRUE(FindRegionByCode(list, "X", found));
    EXPECT_EQ(found, second);
    list.Clear();
    EXPECT_FALSE(FindRegionByCode(list, "X", found));
}

TEST_F(SessionLookups, CountryHasRegionsOfTypeLooksAtNutsAsOneList)
{
    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    auto* italy = new TRegion(nullptr, rtCountry, "IT");
    auto* rbd = new TRegion(greece, rtRBD, "GR01");
    new TRegion(rbd, rtSU, "GR01S");
    new TRegion(italy, rtNUTS1, "ITC");
    EXPECT_TRUE(CountryHasRegionsOfType(greece, rtSU));
    EXPECT_TRUE(CountryHasRegionsOfType(greece, rtRBD));
    EXPECT_FALSE(CountryHasRegionsOfType(greece, rtNUTS1));
    EXPECT_FALSE(CountryHasRegionsOfType(italy, rtRBD));
    EXPECT_TRUE(CountryHasRegionsOfType(italy, rtNUTS3));
    EXPECT_FALSE(CountryHasRegionsOfType(italy, static_cast<TRegionType>(9)));
}

TEST(ListOZR, FreesWhatItStillHoldsLastFirst)
{
    static std::vector<int> freed;
    struct Counted : TObject {
        explicit Counted(int n) : n(n) {}
        ~Counted() override { freed.push_back(n); }
        int n;
    };
    {
        TListOZR list;
        for (int n = 1; n <= 3; ++n)
            list.Add(new Counted(n));
        delete list[1];
        list.Delete(1);
    }
    EXPECT_EQ(freed, (std::vector<int>{2, 3, 1}));
}

}  // namespace
