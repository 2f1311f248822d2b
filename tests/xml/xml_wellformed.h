#pragma once

// Texts pasted from other programs hold what XML 1.0 cannot carry; the files
// written must stay well-formed all the same.

#include <pugixml.hpp>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/programs.h"

// Every C0 control character, UTF-8 cut short, overlong and encoding a
// surrogate, U+FFFF, and characters that must survive; asRead gives it as it
// reads back from a file, each character XML cannot hold being U+FFFD.
inline std::string AwkwardText(bool asRead = false)
{
    const std::string r = "\uFFFD";
    std::string text = " lead \u00E9\u20AC\U0001F600 ";
    for (char byte = 0; byte < 0x20; ++byte)
        text += !asRead || byte == '\t' || byte == '\r' || byte == '\n' ? std::string(1, byte) : r;
    return text + (asRead ? r + " cut " + r + r + " long " + r + r + r + " half " + r + " end "
                          : "\xE2\x82 cut \xC0\xAF long \xED\xA0\x80 half \xEF\xBF\xBF end ");
}

// A receiver's strict parsers, Python's (expat) and pugixml, take the file.
inline void ExpectWellFormed(const std::string& path)
{
    ASSERT_TRUE(wqtest::HasProgram("python3"));
    const std::string parse = "import sys, xml.etree.ElementTree as t; t.parse(sys.argv[1])";
    EXPECT_EQ(wqtest::Run("python3 -c '" + parse + "' " + wqtest::Quoted(path)), 0) << path;
    pugi::xml_document document;
    EXPECT_TRUE(document.load_file(path.c_str())) << path;
}
