#pragma once

// A session with a small region tree and a data file that a test builds
// element by element through paths such as "region/flow/river".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/ozr_io_load.h"
#include "model/session_observer.h"
#include "tests/model/model_session_fixture.h"
#include "tests/xml/xml_test_file.h"
#include "xml/xml_document.h"

// The element at a path of tags below Parent; the last tag is always added
// anew, the ones before are reused when present.
inline TXMLNode AddElementPath(TXMLNode Parent, std::string_view path)
{
    std::size_t slash;
    while ((slash = path.find('/')) != std::string_view::npos) {
        const std::string tag(path.substr(0, slash));
        TXMLNode next = Parent.ChildNode(tag.c_str());
        Parent = next.IsNull() ? Parent.AddChild(tag.c_str()) : next;
        path.remove_prefix(slash + 1);
    }
    return Parent.AddChild(std::string(path).c_str());
}

// The main window's side of the session, as a record.
class RecordingObserver : public TSessionObserver {
public:
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void updateCmBoxCountries() override { ++countryUpdates; }
    void ShowSessionInfo() override { ++shown; }
    std::vector<std::string> captions;
    int countryUpdates = 0;
    int shown = 0;
};

class DataFileTest : public SessionTest {
protected:
    DataFileTest()
    {
        greece_ = new TRegion(nullptr, rtCountry, "GR");
        greece_->FName = "Greece";
        nuts1_ = new TRegion(greece_, rtNUTS1, "GR1");
        district_ = new TRegion(greece_, rtRBD, "GR01");
        root_ = document_.AddRoot("ozr_wq");
        root_.SetAttribute("Country", "GR");
        root_.SetAttribute("Responsible", "Maria");
        root_.SetAttribute("Email", "m@example.org");
        root_.SetAttribute("Remarks", " first ");
        root_.SetAttribute("CreationDate", "2009-3-7 9:5:2");
        region_ = AddRegion("GR1", "NUTS1");
    }

    TXMLNode AddRegion(const std::string& code, const std::string& type)
    {
        TXMLNode region = root_.AddChild("region");
        region.SetAttribute("code", code);
        region.SetAttribute("name", "ignored");
        region.SetAttribute("type", type);
        return region;
    }

    static void AddItem(TXMLNode Parent, const char* tag, const std::string& index,
                        const std::string& value)
    {
        TXMLNode item = Parent.AddChild(tag);
        item.AddChild("indx").SetText(index);
        item.AddChild("value").SetText(value);
    }

    // Writes the document and loads it into the session.
    void Load()
    {
        file_ = std::make_unique<TTestFile>(document_.SaveToString(), "load.wqd");
        session().FDataFile = file_->Path();
        LoadDataFile();
    }

    std::string SavedText() const { return document_.SaveToString(); }

    TRegion* greece_;
    TRegion* nuts1_;
    TRegion* district_;
    TXMLDocument document_;
    TXMLNode root_;
    TXMLNode region_;
    std::unique_ptr<TTestFile> file_;
};
