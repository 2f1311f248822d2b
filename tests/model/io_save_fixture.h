#pragma once

// A session in a scratch folder: tests save data files there and read the
// bytes back.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "io/ozr_io_save.h"
#include "model_session_fixture.h"

class SaveTest : public SessionTest {
protected:
    SaveTest()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "wq-save-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        country_ = new TRegion(nullptr, rtCountry, "GR");
        country_->FName = "Greece";
        session().SetCountry(country_);
    }
    ~SaveTest() override { std::filesystem::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Saves the session and gives the file's bytes with the moment of writing
    // replaced by "*", so that whole files can be compared.
    std::string SavedText()
    {
        const std::string path = PathOf("out.wqd");
        SaveDataFile(path);
        return std::regex_replace(ReadFile(path), std::regex("CreationDate=\"[0-9: -]+\""),
                                  "CreationDate=\"*\"");
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

    std::filesystem::path folder_;
    TRegion* country_ = nullptr;
};
