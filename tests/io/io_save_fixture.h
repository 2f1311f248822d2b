#pragma once

// A session in a scratch folder: tests save data files there and read the
// bytes back.

#include <regex>
#include <string>

#include "io/ozr_io_save.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

class SaveTest : public SessionTest {
protected:
    SaveTest()
    {
        country_ = new TRegion(nullptr, rtCountry, "GR");
        country_->FName = "Greece";
        session().SetCountry(country_);
    }

    // Saves the session and gives the file's bytes with the moment of writing
    // replaced by "*", so that whole files can be compared.
    std::string SavedText()
    {
        const std::string path = folder_ / "out.wqd";
        SaveDataFile(path);
        return std::regex_replace(wqtest::ReadFileText(path),
                                  std::regex("CreationDate=\"[0-9: -]+\""), "CreationDate=\"*\"");
    }

    // The part of the saved file inside the first element `tag`, its own
    // lines included, without indentation; empty when it is absent.
    std::string SavedElement(const std::string& tag)
    {
        const std::string text = std::regex_replace(SavedText(), std::regex("\r\n *"), "\n");
        const auto open = text.find("<" + tag + ">");
        if (open == std::string::npos)
            return "";
        const std::string close = "</" + tag + ">";
        return text.substr(open, text.find(close, open) + close.size() - open);
    }

    TRegion* NewRegion(TRegionType type, const std::string& code)
    {
        return new TRegion(country_, type, code);
    }

    wqtest::TempFolder folder_;
    TRegion* country_ = nullptr;
};
