#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "io/ozr_io_csv_file.h"
#include "platform/codepages.h"
#include "platform/exception.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// The file is read a piece of this many bytes at a time.
constexpr std::size_t kPiece = 256 * 1024;

class CsvTextFileTest : public ::testing::Test {
protected:
    // The lines as a reader that follows a start over sees them.
    Lines LinesOf(std::string_view bytes)
    {
        TTextFile file(wqtest::WriteTextFile(folder_ / "in.csv", bytes));
        Lines lines;
        startedOver_ = false;
        while (true) {
            lines.clear();
            for (std::string_view line; file.NextLine(line);)
                lines.emplace_back(line);
            if (!file.StartedOver())
                return lines;
            startedOver_ = true;
        }
    }

    bool startedOver_ = false;

    wqtest::TempFolder folder_;
};

std::string Utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST_F(CsvTextFileTest, LineEndsOfEveryKind)
{
    EXPECT_EQ(LinesOf("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(LinesOf("a\n\r\n\nb\r"), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(LinesOf("\n\r"), (Lines{"", ""}));
    EXPECT_EQ(LinesOf(""), Lines{});
}

TEST_F(CsvTextFileTest, EachEncodingReadsAsUtf8)
{
    const std::u16string text = u"Köln;€;\U0001D11E\r\nÅ";
    const Lines expected{"Köln;€;\U0001D11E", "Å"};
    EXPECT_EQ(LinesOf(Utf16ToUtf8(text)), expected);
    EXPECT_EQ(LinesOf("\xEF\xBB\xBF" + Utf16ToUtf8(text)), expected);
    EXPECT_EQ(LinesOf(Utf16(text, false)), expected);
    EXPECT_EQ(LinesOf(Utf16(text, true)), expected);
    EXPECT_EQ(LinesOf("K\xF6ln;\x80;\xA7\r\n\xC5"), (Lines{"Köln;€;§", "Å"}));
    // An odd last byte is no character; half a surrogate pair is a replacement character.
    EXPECT_EQ(LinesOf(Utf16(u"a\xD834", false) + "b"), Lines{"a\uFFFD"});
}

// What stands where one piece ends and the next begins is read as if the file
// were read whole.
TEST_F(CsvTextFileTest, PiecesJoinWhereTheyMeet)
{
    // A CR LF cut by the end of the first piece is one line end.
    EXPECT_EQ(LinesOf(std::string(kPiece - 1, 'a') + "\r\nb"),
              (Lines{std::string(kPiece - 1, 'a'), "b"}));
    // A character cut by the end of the first piece keeps the file UTF-8.
    const std::string clef = "\U0001D11E";
    EXPECT_EQ(LinesOf(std::string(kPiece - 2, 'a') + clef + "\nb"),
              (Lines{std::string(kPiece - 2, 'a') + clef, "b"}));
    // A surrogate pair cut by the end of the first piece (after the two bytes of the mark).
    const std::u16string units = std::u16string(kPiece / 2 - 1, u'a') + u"\U0001D11E";
    EXPECT_EQ(LinesOf(Utf16(units, false)), Lines{Utf16ToUtf8(units)});
    // A line longer than two pieces, in Windows-1252, which grows as it is decoded.
    const std::string longLine(3 * kPiece, '\xE9');
    const Lines lines = LinesOf("x\r" + longLine + "\ry\r");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], AnsiToUtf8(longLine));
    EXPECT_EQ(lines[2], "y");
}

// A file without a mark is read once, as UTF-8 while it is: bytes that are
// not make the whole file Windows-1252, from its first line, also when lines
// were handed out before them.
TEST_F(CsvTextFileTest, AFileFoundToBeWindows1252StartsOverFromItsFirstLine)
{
    const std::string filler(kPiece, 'a');
    EXPECT_EQ(LinesOf("K\xC3\xB6ln\n" + filler + "\ncaf\xE9"),
              (Lines{AnsiToUtf8("K\xC3\xB6ln"), filler, "café"}));
    EXPECT_TRUE(startedOver_);
    // Found before the first line is handed out, nothing starts over.
    EXPECT_EQ(LinesOf("K\xC3\xB6ln\ncaf\xE9\n"), (Lines{AnsiToUtf8("K\xC3\xB6ln"), "café"}));
    EXPECT_FALSE(startedOver_);
    // A character that the end of a piece cuts is judged whole, at the end of the file too.
    const std::string clef = "\U0001D11E";
    EXPECT_EQ(LinesOf(std::string(kPiece - 2, 'a') + clef),
              Lines{std::string(kPiece - 2, 'a') + clef});
    EXPECT_EQ(LinesOf("x\n" + std::string(kPiece, 'a') + clef.substr(0, 3)),
              (Lines{"x", std::string(kPiece, 'a') + AnsiToUtf8(clef.substr(0, 3))}));
    EXPECT_TRUE(startedOver_);
}

TEST_F(CsvTextFileTest, AFileThatCannotBeOpenedIsNamed)
{
    const std::string missing = folder_ / "missing.csv";
    try {
        TTextFile file(missing);
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ(error.what(), "Cannot open the file \"" + missing + "\"");
    }
}

}  // namespace
