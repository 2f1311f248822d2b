// The regions file delivered with the program: it must load cleanly, list
// every country of the reporting area and nest its regions consistently.

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "model/ozr_types.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

std::string DeliveredFile()
{
    const char* sourceDir = std::getenv("WQ_SOURCE_DIR");
    return std::string(sourceDir != nullptr ? sourceDir : ".") + "/data/OZR_wq_regions.xml";
}

std::vector<TRegion*> Regions(const TListOZR& list)
{
    std::vector<TRegion*> regions;
    for (TObject* item : list) {
        regions.push_back(static_cast<TRegion*>(item));
    }
    return regions;
}

// Strict UTF-8: no stray continuation bytes, no overlong or surrogate forms.
bool IsValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80                   ? 1
                     : lead >= 0xC2 && lead < 0xE0 ? 2
                     : lead >= 0xE0 && lead < 0xF0 ? 3
                     : lead >= 0xF0 && lead < 0xF5 ? 4
                                                   : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        unsigned int code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned int smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
            return false;
        }
        i += length;
    }
    return true;
}

// The file is loaded once into a session of its own for the whole suite.
class DeliveredRegionsFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        session_ = std::make_unique<TSession>();
        session_->FRegionsFile = DeliveredFile();
        Session = session_.get();
        dialogs_ = std::make_unique<TScriptedDialogs>();
        ScopedDialogs scoped(*dialogs_);
        LoadRegions();
        Session = nullptr;
    }

    void SetUp() override { Session = session_.get(); }
    void TearDown() override { Session = nullptr; }

    static void TearDownTestSuite()
    {
        session_.reset();
        dialogs_.reset();
    }

    static std::unique_ptr<TSession> session_;
    static std::unique_ptr<TScriptedDialogs> dialogs_;
};

std::unique_ptr<TSession> DeliveredRegionsFile::session_;
std::unique_ptr<TScriptedDialogs> DeliveredRegionsFile::dialogs_;

TEST_F(DeliveredRegionsFile, ListsEveryCountryOfTheReportingAreaOnce)
{
    const std::map<std::string, std::string> expected = {
        {"AT", "Austria"},        {"BE", "Belgium"},
        {"BG", "Bulgaria"},       {"CY", "Cyprus"},
        {"CZ", "Czech Republic"}, {"DE", "Germany"},
        {"DK", "Denmark"},        {"EE", "Estonia"},
        {"ES", "Spain"},          {"FI", "Finland"},
        {"FR", "France"},         {"GR", "Greece"},
        {"HU", "Hungary"},        {"IE", "Ireland"},
        {"IT", "Italy"},          {"LT", "Lithuania"},
        {"LU", "Luxembourg"},     {"LV", "Latvia"},
        {"MT", "Malta"},          {"NL", "Netherlands"},
        {"PL", "Poland"},         {"PT", "Portugal"},
        {"RO", "Romania"},        {"SE", "Sweden"},
        {"SI", "Slovenia"},       {"SK", "Slovakia"},
        {"UK", "United Kingdom"}, {"NO", "Norway"},
        {"IS", "Iceland"},        {"LI", "Liechtenstein"},
        {"CH", "Switzerland"},    {"HR", "Croatia"},
        {"TR", "Turkey"},         {"MK", "The former Yugoslav Republic of Macedonia"},
    };
    std::map<std::string, std::string> found;
    for (TRegion* country : Regions(session_->FCountries)) {
        found.emplace(country->GetCode(), country->FName);
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(session_->FCountries.Count(), static_cast<int>(expected.size()));
}

TEST_F(DeliveredRegionsFile, RegionsNestUnderTheirOwnCountry)
{
    // A NUTS code is its parent's code with one more character, so a region
    // filed under the wrong parent shows in its code.
    for (TRegion* nuts1 : Regions(session_->FNUTS1)) {
        ASSERT_NE(nuts1->GetParent(), nullptr) << nuts1->GetCode();
        EXPECT_EQ(nuts1->GetParent()->GetRegionType(), rtCountry) << nuts1->GetCode();
        EXPECT_EQ(nuts1->GetCode().substr(0, 2), nuts1->GetParent()->GetCode());
        EXPECT_EQ(nuts1->GetCode().size(), 3u) << nuts1->GetCode();
    }
    for (TRegion* nuts2 : Regions(session_->FNUTS2)) {
        TRegion* parent = nuts2->GetParent();
        ASSERT_NE(parent, nullptr) << nuts2->GetCode();
        EXPECT_EQ(parent->GetRegionType(), rtNUTS1) << nuts2->GetCode();
        EXPECT_EQ(nuts2->GetCode().substr(0, 3), parent->GetCode());
        EXPECT_EQ(nuts2->GetCode().size(), 4u) << nuts2->GetCode();
        EXPECT_EQ(nuts2->GetCountry(), parent->GetCountry()) << nuts2->GetCode();
    }
    for (TRegion* rbd : Regions(session_->FRBDs)) {
        ASSERT_NE(rbd->GetParent(), nullptr) << rbd->GetCode();
        EXPECT_EQ(rbd->GetParent()->GetRegionType(), rtCountry) << rbd->GetCode();
        // Every country names its districts with its own code first.
        EXPECT_TRUE(rbd->GetCode().starts_with(rbd->GetParent()->GetCode())) << rbd->GetCode();
    }
}

TEST_F(DeliveredRegionsFile, EveryCountryHasNutsRegionsOfBothLevels)
{
    std::set<const TRegion*> withNuts1;
    std::set<const TRegion*> withNuts2;
    for (TRegion* nuts1 : Regions(session_->FNUTS1)) {
        withNuts1.insert(nuts1->GetCountry());
    }
    for (TRegion* nuts2 : Regions(session_->FNUTS2)) {
        withNuts2.insert(nuts2->GetCountry());
    }
    for (TRegion* country : Regions(session_->FCountries)) {
        EXPECT_TRUE(withNuts1.count(country)) << country->GetCode();
        EXPECT_TRUE(withNuts2.count(country)) << country->GetCode();
    }
}

TEST_F(DeliveredRegionsFile, CountsMatchTheNutsVersionOfTheReportingYears)
{
    // NUTS 2006 divides the 27 member states into 97 regions of level 1 and
    // 271 of level 2; the other countries add 18 and 46.
    EXPECT_EQ(session_->FNUTS1.Count(), 97 + 18);
    EXPECT_EQ(session_->FNUTS2.Count(), 271 + 46);
    EXPECT_EQ(session_->FNUTS3.Count(), 0);
    EXPECT_GE(session_->FRBDs.Count(), 100);
    EXPECT_LE(session_->FRBDs.Count(), 200);
}

TEST_F(DeliveredRegionsFile, NamesAreProperUtf8)
{
    for (TRegion* region : Regions(session_->FRegions)) {
        EXPECT_FALSE(region->FName.empty()) << region->GetCode();
        EXPECT_TRUE(IsValidUtf8(region->FName)) << region->GetCode();
        // "Ã" and "Â" followed by another byte are the marks of text that was
        // encoded twice.
        EXPECT_EQ(region->FName.find("\xC3\x83"), std::string::npos) << region->FName;
        EXPECT_EQ(region->FName.find("\xC3\x82"), std::string::npos) << region->FName;
    }
    TRegion* region = nullptr;
    ASSERT_TRUE(FindRegionByCode(session_->FNUTS2, "FR10", region));
    EXPECT_EQ(region->FName, "Île de France");
}

// Everything below the root's start tag, whose date and maintainer texts
// change with every writing.
std::string BelowRootTag(const std::string& bytes)
{
    const std::size_t root = bytes.find("<OZR_WQ_Regions ");
    return root == std::string::npos ? std::string() : bytes.substr(bytes.find('\n', root));
}

TEST_F(DeliveredRegionsFile, IsLaidOutAsTheProgramWritesIt)
{
    const std::string delivered = wqtest::ReadFileText(DeliveredFile());
    EXPECT_EQ(delivered.rfind(
                  "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<OZR_WQ_Regions ", 0),
              0u);
    // Byte for byte as Save Regions writes it, so that the file can be kept
    // up with the program itself without a spurious difference.
    const wqtest::TempFolder folder;
    session_->FRegionsFile = folder / "regions.xml";
    SaveRegions();
    session_->FRegionsFile = DeliveredFile();
    const std::string written = wqtest::ReadFileText(folder / "regions.xml");
    EXPECT_TRUE(BelowRootTag(written) == BelowRootTag(delivered));
}

}  // namespace
