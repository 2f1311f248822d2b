// The quick scanner of the regions file against the document binding. A
// session without regions is read by the scanner first; a session that holds
// a region already is read element by element through the binding. Both must
// give the same regions, warnings and errors for every file, whether the
// scanner reads it or gives up on it.

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "io/ozr_io_load.h"
#include "io/regions_file_scanner.h"
#include "platform/exception.h"
#include "tests/io/io_regions_fixture.h"

namespace {

// Makes no regions: a country's children get no parent, which the scanner
// must not mistake for a region still to be made.
class TCountingBuilder : public TRegionTreeBuilder {
public:
    TRegion* Take(TRegionType, TRegion* Parent, std::string_view, std::string_view) override
    {
        ++count_;
        return Parent;
    }
    int Count() const { return count_; }

private:
    int count_ = 0;
};

// What a load leaves: the region lists, the warnings shown, the error raised.
struct TLoadOutcome {
    std::vector<std::vector<std::string>> Lists;
    std::vector<std::string> Warnings;
    std::string Error;
};

constexpr const char* kSentinel = "RB|~sentinel|Unknown RB|-";

class ScannedRegionsFile : public RegionsFileTest {
protected:
    // The number of regions that the scanner hands over, or -1 when it gives up.
    int ScannedRegions(const std::string& content)
    {
        UseRegionsText(content);
        TCountingBuilder builder;
        return ScanRegionsFile(file_->Path(), builder) ? builder.Count() : -1;
    }

    // The file as the scanner reads it, or the binding where the scanner gives up.
    TLoadOutcome LoadIntoEmptySession() { return LoadInto(false); }
    // The file as the binding reads it, always.
    TLoadOutcome LoadWithLookUps() { return LoadInto(true); }

    void ExpectSameBothWays(const std::string& content)
    {
        SCOPED_TRACE(content);
        UseRegionsText(content);
        const TLoadOutcome scanned = LoadIntoEmptySession();
        const TLoadOutcome looked = LoadWithLookUps();
        EXPECT_EQ(scanned.Lists, looked.Lists);
        EXPECT_EQ(scanned.Warnings, looked.Warnings);
        EXPECT_EQ(scanned.Error, looked.Error);
    }

private:
    TLoadOutcome LoadInto(bool withRegion)
    {
        TSession target;
        target.FRegionsFile = file_->Path();
        Session = &target;
        if (withRegion)
            new TRegion(nullptr, rtRB, "~sentinel");
        TScriptedDialogs dialogs;
        ScopedDialogs scoped(dialogs);
        TLoadOutcome outcome;
        try {
            LoadRegions();
        } catch (const Exception& error) {
            outcome.Error = error.what();
        }
        outcome.Lists = DescribeAll(target);
        for (auto& list : outcome.Lists)
            std::erase(list, kSentinel);
        outcome.Warnings = dialogs.Texts();
        Session = &session();
        return outcome;
    }
};

// Regions of every type, their child regions in the order of the tree.
const std::string kCountries =
    Region("Country", "AT", "Österreich",
           Region("NUTS1", "AT1", "Ost",
                  Region("NUTS2", "AT11", "Burgenland", Region("NUTS3", "AT111", "Mitte"))) +
               Region("RBD", "AT1000", "Danube", Region("SU", "S1", "Su")) +
               Region("RB", "ATRB", "Basin")) +
    Region("Country", "LI", "Liechtenstein");

TEST_F(ScannedRegionsFile, ReadsThePlainFormAsTheBindingDoes)
{
    const std::vector<std::string> files = {
        RegionsFile(kCountries),
        // No byte-order mark, no declaration, a lower-case encoding, standalone.
        "<OZR_WQ_Regions>" + kCountries + "</OZR_WQ_Regions>",
        "<?xml version='1.0' encoding='utf-8' standalone='yes' ?>\n<OZR_WQ_Regions>" + kCountries +
            "</OZR_WQ_Regions>",
        // Attributes of the root in either quote, blanks around '=', markup inside.
        "<OZR_WQ_Regions\n\tCreator = \"a > b\" Email='x&amp;y' Remarks=\"'\" >" + kCountries +
            "</OZR_WQ_Regions >",
        // Comments, texts and unknown elements between the regions.
        RegionsFile("<!-- before --><Remarks><Code>XX</Code><NUTS1/></Remarks>text" +
                    Region("Country", "CY", "Cyprus",
                           "<!-- c --><Extra><Country><Code>NO</Code></Country></Extra>" +
                               Region("NUTS1", "CY0", "Kypros")) +
                    "<!-- after -->") +
            "\r\n<!-- end -->\r\n",
        // Empty elements, absent names and codes, and a second Code that is not read.
        RegionsFile(
            "<Country/><Country><Code>IE</Code><Name/></Country>"
            "<Country><Code>MT</Code><Code>second</Code><Name>Malta</Name>"
            "<NUTS1><Code>MT0</Code></NUTS1><NUTS1><Code/><Name>x</Name></NUTS1></Country>"),
        // White space inside tags and as a whole name.
        RegionsFile("<Country\r\n><Code\t>IS</Code\n><Name>  </Name></Country>"),
        // Entities, character references and line ends in names and codes.
        RegionsFile(
            Region("Country", "A&amp;B", "&lt;&gt;&quot;&apos; &#65;&#x42;&#x20ac;&#128512;") +
            Region("Country", "CR", "one\r\ntwo\rthree\nfour")),
    };
    for (const std::string& file : files) {
        const int scanned = ScannedRegions(file);
        EXPECT_EQ(scanned, static_cast<int>(LoadIntoEmptySession().Lists.front().size())) << file;
        ExpectSameBothWays(file);
    }
}

TEST_F(ScannedRegionsFile, DecodesTextsAsTheDocumentLayerDoes)
{
    UseRegionsText(
        RegionsFile(Region("Country", "A&amp;B", "&lt;&#65;&#x20AC;&#128512;\r\nX\rY&#13;")));
    LoadRegions();
    const auto* country = static_cast<const TRegion*>(session().FCountries[0]);
    EXPECT_EQ(country->GetCode(), "A&B");
    EXPECT_EQ(country->FName, "<A€😀\nX\nY\r");
}

TEST_F(ScannedRegionsFile, LeavesEverythingElseToTheDocumentLayer)
{
    const std::string country = Region("Country", "CY", "Cyprus");
    std::vector<std::string> files = {
        // Forms of XML that only the document layer reads.
        RegionsFile(Region("Country", "CY", "<![CDATA[Cyprus]]>")),
        "<!DOCTYPE OZR_WQ_Regions><OZR_WQ_Regions>" + country + "</OZR_WQ_Regions>",
        RegionsFile("<?pi x?>" + country),
        "<?xml version='1.0' encoding='ISO-8859-1'?><OZR_WQ_Regions>" +
            Region("Country", "CY", "Kypros \xE9") + "</OZR_WQ_Regions>",
        RegionsFile("<Country id='1'><Code>CY</Code></Country>"),
        RegionsFile(Region("Country", "CY", "a<!-- x -->b")),
        RegionsFile("<Country><Code>CY</Code><Name>x<b/></Name></Country>"),
        // A Code after the child regions, and child regions out of their order.
        RegionsFile("<Country>" + Region("NUTS1", "CY0", "K") + "<Code>CY</Code></Country>"),
        RegionsFile(
            Region("Country", "CY", "C", Region("RB", "B", "b") + Region("NUTS1", "N", "n"))),
        // Files that are no regions file or not well-formed.
        std::string("\xFF\xFE<\0O\0/\0>\0", 10),
        RegionsFile(country + std::string("\0", 1)),
        RegionsFile("<Country><Code>CY</Cod></Country>"),
        RegionsFile("<Country><Code>CY</CodeX></Country>"),
        RegionsFile("<Country><Code>CY</Code>"),
        "text" + RegionsFile(country),
        RegionsFile(country) + "<OZR_WQ_Regions/>",
        RegionsFile("<Pa\xC3\xADs/>" + country),
        "<ozr_wq/>",
        "",
    };
    for (const char* reference : {"&#X41;", "&#0;", "&#xD800;", "&#x110000;", "&#99999999999;",
                                  "&foo;", "&#65", "&#;", "&amp"})
        files.push_back(RegionsFile(Region("Country", "CY", std::string("a") + reference + "b")));
    for (const std::string& file : files) {
        EXPECT_EQ(ScannedRegions(file), -1) << file;
        ExpectSameBothWays(file);
    }
}

// Small faults anywhere in a file: wherever the scanner reads on instead of
// giving up, it must read what the binding reads.
TEST_F(ScannedRegionsFile, DamagedFilesLoadAlikeBothWays)
{
    const std::string base = RegionsFile(
        "<!-- c -->" +
        Region("Country", "AT", "&#xD6;sterreich &amp; Co",
               Region("NUTS1", "AT1", "Ost", Region("NUTS2", "AT11", "Burgen\r\nland")) +
                   Region("RBD", "AT1000", "Danube", Region("SU", "S1", "Su")) +
                   Region("RB", "ATRB", "B&#97;sin")) +
        "<Country>\r\n  <Code>LI</Code>\r\n  <Name>Liechtenstein</Name>\r\n</Country>");
    const std::string replacements("<>&/\"'\r\n \0#;x-!?A", 18);
    std::mt19937 random(20091);
    for (int round = 0; round < 1500; ++round) {
        std::string file = base;
        const int faults = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < faults; ++i) {
            const std::size_t at = random() % file.size();
            const char c = replacements[random() % replacements.size()];
            switch (random() % 3) {
                case 0: file[at] = c; break;
                case 1: file.insert(file.begin() + static_cast<std::ptrdiff_t>(at), c); break;
                default: file.erase(at, 1);
            }
        }
        ExpectSameBothWays(file);
        if (HasFailure())
            break;
    }
}

}  // namespace
