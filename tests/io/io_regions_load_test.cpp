#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "io/ozr_io_load.h"
#include "model/key_index.h"
#include "platform/exception.h"
#include "tests/io/io_regions_fixture.h"
#include "tests/io/not_utf8_file.h"
#include "xml/xml_error.h"

namespace {

class LoadRegionsFile : public RegionsFileTest {};

// Two codes that the code index cannot tell apart by their fingerprints.
std::pair<std::string, std::string> CodesOfOneFingerprint()
{
    std::unordered_map<std::uint32_t, std::string> seen;
    for (int i = 0;; ++i) {
        std::string code = "K" + std::to_string(i);
        const auto [at, added] = seen.emplace(KeyFingerprint(code), code);
        if (!added)
            return {at->second, code};
    }
}

TEST_F(LoadRegionsFile, BuildsTheTreeDepthFirst)
{
    UseRegionsText(RegionsFile(
        Region("Country", "AT", "Österreich",
               Region("RB", "ATRB", "Basin") +
                   Region("NUTS1", "AT1", "OST",
                          Region("NUTS2", "AT11", "Burgenland", Region("NUTS3", "AT111", "Mitte")) +
                              Region("NUTS2", "AT12", "NÖ")) +
                   Region("RBD", "AT1000", "Danube", Region("SU", "S1", "Su")) +
                   Region("NUTS1", "AT2", "SÜD"))));
    LoadRegions();
    EXPECT_EQ(Describe(session().FRegions),
              (std::vector<std::string>{
                  "Country|AT|Österreich|-", "NUTS1|AT1|OST|AT", "NUTS2|AT11|Burgenland|AT1",
                  "NUTS3|AT111|Mitte|AT11", "NUTS2|AT12|NÖ|AT1", "NUTS1|AT2|SÜD|AT",
                  "RBD|AT1000|Danube|AT", "SU|S1|Su|AT1000", "RB|ATRB|Basin|AT"}));
    EXPECT_TRUE(dialogs_.Messages().empty());
}

TEST_F(LoadRegionsFile, DuplicatesAreWarnedAndMerged)
{
    UseRegionsText(RegionsFile(
        Region("Country", "GR", "Greece",
               Region("NUTS1", "GR1", "Voreia", Region("NUTS2", "GR11", "Thraki"))) +
        Region("Country", "GR", "Hellas",
               Region("NUTS1", "GR2", "Kentriki") +
                   Region("NUTS1", "GR1", "again", Region("NUTS2", "GR12", "Makedonia"))) +
        Region("Country", "CY", "Cyprus",
               Region("NUTS1", "CY0", "Kypros", Region("NUTS2", "GR11", "elsewhere")))));
    LoadRegions();

    EXPECT_EQ(Codes(session().FCountries), (std::vector<std::string>{"GR", "CY"}));
    EXPECT_EQ(static_cast<const TRegion*>(session().FCountries[0])->FName, "Greece");
    EXPECT_EQ(Describe(session().FNUTS1),
              (std::vector<std::string>{"NUTS1|GR1|Voreia|GR", "NUTS1|GR2|Kentriki|GR",
                                        "NUTS1|CY0|Kypros|CY"}));
    // Children of a duplicate hang under the region read first.
    EXPECT_EQ(Describe(session().FNUTS2),
              (std::vector<std::string>{"NUTS2|GR11|Thraki|GR1", "NUTS2|GR12|Makedonia|GR1"}));
    std::vector<std::string> expected = {
        "Found two countries with the same code: GR. Second one has been ignored. ",
        "Found two regions NUTS1 with the same code: GR1. Second one has been ignored. ",
        "Found two regions NUTS2 with the same code: GR11. Second one has been ignored. "};
    EXPECT_EQ(dialogs_.Texts(), expected);
    for (const auto& shown : dialogs_.Messages()) {
        EXPECT_EQ(shown.Type, TMsgDlgType::mtWarning);
        EXPECT_EQ(shown.Buttons, TMsgDlgButtons{mbOK});
    }
}

TEST_F(LoadRegionsFile, ASubUnitIsADuplicateOnlyUnderADistrictOfTheSameCode)
{
    UseRegionsText(RegionsFile(
        Region(
            "Country", "ES", "Spain",
            Region("RBD", "ES010", "Minho", Region("SU", "S", "first")) +
                Region("RBD", "ES020", "Duero", Region("SU", "S", "second")) +
                Region("RBD", "ES010", "Minho again", Region("SU", "S", "third")) +
                Region("RBD", "ES030", "Tajo", Region("SU", "T", "t") + Region("SU", "T", "t2"))) +
        Region("Country", "FR", "France",
               Region("RBD", "FRA", "Escaut",
                      Region("SU", "S", "fourth") + Region("SU", "S", "5th"))) +
        Region("Country", "PT", "Portugal", Region("RB", "R1", "b") + Region("RB", "R1", "b2"))));
    LoadRegions();
    EXPECT_EQ(Describe(session().FSUs),
              (std::vector<std::string>{"SU|S|first|ES010", "SU|S|second|ES020", "SU|T|t|ES030",
                                        "SU|S|fourth|FRA"}));
    EXPECT_EQ(dialogs_.Texts(),
              (std::vector<std::string>{
                  "Found two RBDs with the same code: ES010. Second one has been ignored. ",
                  "Found two Sub-units with the same code: S. Second one has been ignored. ",
                  "Found two Sub-units with the same code: T. Second one has been ignored. ",
                  "Found two Sub-units with the same code: S. Second one has been ignored. ",
                  "Found two RBs with the same code: R1. Second one has been ignored. "}));
}

// A file is first read without look-ups; what that reading cannot settle
// alone must come out as a look-up per element gives it.
TEST_F(LoadRegionsFile, RegionsAlreadyInTheSessionCountAsReadBefore)
{
    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    UseRegionsText(RegionsFile(Region("Country", "GR", "Hellas", Region("RB", "GRB", "b")) +
                               Region("Country", "CY", "Cyprus")));
    LoadRegions();
    EXPECT_EQ(Describe(session().FRegions),
              (std::vector<std::string>{"Country|GR|Unknown country|-", "RB|GRB|b|GR",
                                        "Country|CY|Cyprus|-"}));
    EXPECT_EQ(session().FRBs[0], greece->GetChild(0));
    EXPECT_EQ(dialogs_.Texts(),
              (std::vector<std::string>{
                  "Found two countries with the same code: GR. Second one has been ignored. "}));
}

TEST_F(LoadRegionsFile, TheNameOfADuplicateIsNeverRead)
{
    UseRegionsText(RegionsFile(Region("Country", "GR", "Greece") +
                               "<Country><Code>GR</Code><Name><b>not a text</b></Name>" +
                               Region("NUTS1", "GR1", "Voreia") + "</Country>"));
    LoadRegions();
    EXPECT_EQ(Describe(session().FRegions),
              (std::vector<std::string>{"Country|GR|Greece|-", "NUTS1|GR1|Voreia|GR"}));
    EXPECT_EQ(dialogs_.Texts().size(), 1u);
}

TEST_F(LoadRegionsFile, CodesOfOneFingerprintAreStillTwoRegions)
{
    const auto [first, second] = CodesOfOneFingerprint();
    UseRegionsText(RegionsFile(Region("Country", "PT", "Portugal",
                                      Region("RB", first, "one") + Region("RB", second, "two")) +
                               Region("Country", "ES", "Spain", Region("RB", first, "again"))));
    LoadRegions();
    EXPECT_EQ(Describe(session().FRBs),
              (std::vector<std::string>{"RB|" + first + "|one|PT", "RB|" + second + "|two|PT"}));
    EXPECT_EQ(dialogs_.Texts(),
              (std::vector<std::string>{"Found two RBs with the same code: " + first +
                                        ". Second one has been ignored. "}));
    TRegion* found = nullptr;
    ASSERT_TRUE(FindRegion(second, rtRB, found));
    EXPECT_EQ(found->FName, "two");
}

TEST_F(LoadRegionsFile, MissingCodesAndNamesAreEmptyAndOtherChildrenIgnored)
{
    UseRegionsText(
        RegionsFile("<!-- c --><Remarks/><Country><NUTS1><Name>x</Name></NUTS1><Code>LI</Code>"
                    "</Country>"));
    LoadRegions();
    EXPECT_EQ(Describe(session().FRegions),
              (std::vector<std::string>{"Country|LI||-", "NUTS1||x|LI"}));
}

TEST_F(LoadRegionsFile, AnUnusableFileRaisesAndCreatesNothing)
{
    session().FRegionsFile = "/nonexistent-folder/OZR_wq_regions.xml";
    try {
        LoadRegions();
        FAIL() << "a missing regions file loaded";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find("\"/nonexistent-folder/OZR_wq_regions.xml\""),
                  std::string::npos);
    }
    UseRegionsText("<OZR_WQ_Regions>\n<Country>\n</OZR_WQ_Regions>");
    try {
        LoadRegions();
        FAIL() << "a malformed regions file loaded";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find("(line 3, column 3)"), std::string::npos);
    }
    UseRegionsText("<ozr_wq/>");
    EXPECT_THROW(LoadRegions(), Exception);
    UseRegionsText("");
    EXPECT_THROW(LoadRegions(), Exception);
    EXPECT_EQ(session().FRegions.Count(), 0);
}

// Two codes that differ only in bytes that are not UTF-8 would be saved as
// one: the file is refused where the bytes stand, whether it is scanned into
// an empty session or read into one that holds regions, which keeps its tree.
TEST_F(LoadRegionsFile, BytesThatAreNotUtf8AreRefusedWithTheirLine)
{
    const std::string regions =
        "<OZR_WQ_Regions Remarks='@attribute@'>\r\n" +
        Region("Country", "GR", "\r\n@name@",
               Region("RBD", "R\xCE\xA9", "") + "\r\n" + Region("RBD", "R@code@", "")) +
        "</OZR_WQ_Regions>";
    for (const bool holdsRegions : {false, true}) {
        if (holdsRegions)
            new TRegion(nullptr, rtCountry, "CY");
        const auto before = DescribeAll(session());
        for (const auto& [marker, bytes] : {std::pair{"@code@", "\xFE"},
                                            {"@name@", "\xC0\xAF"},
                                            {"@attribute@", "\xF4\x90\x80\x80"}}) {
            const TSpoiledText spoiled = Spoil(regions, marker, bytes);
            UseRegionsText(spoiled.Text);
            const std::string refusal = NotUtf8Refusal(file_->Path(), spoiled.Line);
            try {
                LoadRegions();
                ADD_FAILURE() << marker << " loaded";
            } catch (const EXMLDocError& error) {
                EXPECT_EQ(std::string(error.what()).substr(0, refusal.size()), refusal);
            }
            EXPECT_EQ(DescribeAll(session()), before) << marker;
        }
    }
}

// A Name that holds an element stops the reading after regions were made,
// some of them under regions the session had before.
TEST_F(LoadRegionsFile, AFileThatFailsPartwayLeavesTheSessionAsItWas)
{
    const std::string brokenCountry = "<Country><Code>MT</Code><Name><b/></Name></Country>";
    UseRegionsText(RegionsFile(Region("Country", "CY", "Cyprus", Region("NUTS1", "CY0", "K")) +
                               brokenCountry));
    EXPECT_THROW(LoadRegions(), EXMLDocError);
    EXPECT_EQ(session().FRegions.Count(), 0);

    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    new TRegion(greece, rtNUTS1, "GR1");
    TRegion* found = nullptr;
    ASSERT_FALSE(FindRegionByCode(session().FNUTS1, "GR2", found));  // the index is in use
    const auto before = DescribeAll(session());
    UseRegionsText(RegionsFile(
        Region("Country", "GR", "Hellas", Region("NUTS1", "GR2", "Kentriki")) +
        Region("Country", "CY", "Cyprus", Region("RBD", "CY1", "Kypros", Region("SU", "S", "s"))) +
        brokenCountry));
    EXPECT_THROW(LoadRegions(), EXMLDocError);
    EXPECT_EQ(DescribeAll(session()), before);
    EXPECT_EQ(greece->GetChildCount(), 1);
    EXPECT_FALSE(FindRegionByCode(session().FNUTS1, "GR2", found));
    EXPECT_FALSE(FindRegionByCode(session().FCountries, "CY", found));

    // Mended, the file loads in full.
    UseRegionsText(RegionsFile(Region("Country", "GR", "Hellas", Region("NUTS1", "GR2", "K"))));
    LoadRegions();
    ASSERT_TRUE(FindRegionByCode(session().FNUTS1, "GR2", found));
    EXPECT_EQ(found->GetParent(), greece);
}

TEST_F(LoadRegionsFile, TheDeliveredFileLoadsWithoutWarnings)
{
    const char* source = std::getenv("WQ_SOURCE_DIR");
    if (!source)
        GTEST_SKIP() << "WQ_SOURCE_DIR is not set";
    session().FRegionsFile = std::string(source) + "/data/OZR_wq_regions.xml";
    LoadRegions();
    EXPECT_GT(session().FCountries.Count(), 30);
    EXPECT_TRUE(dialogs_.Messages().empty()) << dialogs_.Texts().front();
}

}  // namespace
