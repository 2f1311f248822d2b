#pragma once

// A text as it may come pasted from another program, holding what XML 1.0
// cannot carry, and the check that a file holding it stays well-formed for a
// receiver's strict parser.

#include <pugixml.hpp>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/programs.h"

// Every C0 control character, a broken UTF-8 sequence, U+FFFF and characters
// that must survive, among them tab, CR and LF.
inline std::string AwkwardText()
{
    std::string text = " lead \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 ";
    for (char byte = 0; byte < 0x20; ++byte)
        text += byte;
    return text + "\xE2\x82 cut \xEF\xBF\xBF end ";
}

// AwkwardText as it reads back from a file: each character that XML cannot
// hold is U+FFFD.
inline std::string AwkwardTextAsRead()
{
    std::string text = " lead \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 ";
    for (char byte = 0; byte < 0x20; ++byte)
        text += byte == '\t' || byte == '\r' || byte == '\n' ? std::string(1, byte) : "\uFFFD";
    return text + "\uFFFD cut \uFFFD end ";
}

// Python's parser (expat) refuses a file that is not well-formed XML 1.0 in
// any part; pugixml is the second opinion.
inline void ExpectWellFormed(const std::string& path)
{
    if (wqtest::HasProgram("python3"))
        EXPECT_EQ(wqtest::Run("python3 -c " +
                              wqtest::Quoted("import sys, xml.etree.ElementTree as tree; "
                                             "tree.parse(sys.argv[1])") +
                              " " + wqtest::Quoted(path) + " 2>/dev/null"),
                  0)
            << "Python's XML parser refuses " << path;
    else
        ADD_FAILURE() << "python3 is needed to judge the file";
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    EXPECT_TRUE(parsed) << parsed.description();
}
