#pragma once

// A session whose regions file a test writes, and the region lists of a
// session in a form that compares whole trees.

#include <memory>
#include <string>
#include <vector>

#include "tests/model/model_session_fixture.h"
#include "tests/xml/xml_test_file.h"

// The element of one region with its code, name and child elements.
inline std::string Region(const std::string& tag, const std::string& code, const std::string& name,
                          const std::string& children = "")
{
    return "<" + tag + "><Code>" + code + "</Code><Name>" + name + "</Name>" + children + "</" +
           tag + ">";
}

// A regions file around the country elements.
inline std::string RegionsFile(const std::string& countries)
{
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<OZR_WQ_Regions Creator='c' "
           "CreationDate='2009-1-1 1:1:1' Email='e' Remarks=''>Regions" +
           countries + "</OZR_WQ_Regions>";
}

class RegionsFileTest : public SessionTest {
protected:
    void UseRegionsText(const std::string& content)
    {
        file_.reset();  // its removal must not take the new file of the same name along
        file_ = std::make_unique<TTestFile>(content, "regions.xml");
        session().FRegionsFile = file_->Path();
    }

    // Type, code, name and parent code of every region of a list, in list order.
    static std::vector<std::string> Describe(const TListOZR& list)
    {
        std::vector<std::string> lines;
        for (const TObject* item : list) {
            const auto& region = *static_cast<const TRegion*>(item);
            lines.push_back(RegionTypeToStr(region.GetRegionType()) + "|" + region.GetCode() + "|" +
                            region.FName + "|" +
                            (region.GetParent() ? region.GetParent()->GetCode() : "-"));
        }
        return lines;
    }

    static std::vector<std::vector<std::string>> DescribeAll(TSession& s)
    {
        std::vector<std::vector<std::string>> all;
        for (const TListOZR* list : {&s.FRegions, &s.FCountries, &s.FNUTS, &s.FNUTS1, &s.FNUTS2,
                                     &s.FNUTS3, &s.FRBDs, &s.FSUs, &s.FRBs})
            all.push_back(Describe(*list));
        return all;
    }

    std::unique_ptr<TTestFile> file_;
};
