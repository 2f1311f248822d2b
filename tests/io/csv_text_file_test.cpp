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
const std::string kClef = "\U0001D11E";

std::string Utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text)
        for (const int shift : {bigEndian ? 8 : 0, bigEndian ? 0 : 8})
            bytes += static_cast<char>((unit >> shift) & 0xFF);
    return bytes;
}

struct TextCase {
    std::string bytes;
    Lines lines;
    bool startsOver = false;
};

class CsvTextFileTest : public ::testing::Test {
protected:
    // Reads each file as a reader that follows a start over does.
    void ExpectLines(const std::vector<TextCase>& cases)
    {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            TTextFile file(wqtest::WriteTextFile(folder_ / "in.csv", cases[i].bytes));
            Lines lines;
            bool startedOver = false;
            do {
                startedOver = startedOver || file.StartedOver();
                lines.clear();
                for (std::string_view line; file.NextLine(line);)
                    lines.emplace_back(line);
            } while (file.StartedOver());
            EXPECT_EQ(lines, cases[i].lines) << "case " << i;
            EXPECT_EQ(startedOver, cases[i].startsOver) << "case " << i;
        }
    }

    wqtest::TempFolder folder_;
};

TEST_F(CsvTextFileTest, EveryEncodingAndLineEndReadsAsUtf8Lines)
{
    const std::u16string text = u"Köln;€;\U0001D11E\r\nÅ";
    const Lines expected{"Köln;€;\U0001D11E", "Å"};
    ExpectLines({{"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                 {"a\n\r\n\nb\r", {"a", "", "", "b"}},
                 {"\n\r", {"", ""}},
                 {"", {}},
                 {Utf16ToUtf8(text), expected},
                 {"\xEF\xBB\xBF" + Utf16ToUtf8(text), expected},
                 {Utf16(text, false), expected},
                 {Utf16(text, true), expected},
                 {"K\xF6ln;\x80;\xA7\r\n\xC5", {"Köln;€;§", "Å"}},
                 // An odd last byte is no character; half a surrogate pair is a
                 // replacement character.
                 {Utf16(u"a\xD834", false) + "b", {"a\uFFFD"}}});
}

// What stands where one piece ends and the next begins is read as if the file
// were read whole; a character cut there is judged whole, at the end of the
// file too.
TEST_F(CsvTextFileTest, PiecesJoinWhereTheyMeet)
{
    const std::string a(kPiece - 2, 'a');
    // A surrogate pair cut after the two bytes of the mark.
    const std::u16string units = std::u16string(kPiece / 2 - 1, u'a') + u"\U0001D11E";
    // A line longer than two pieces, in Windows-1252, which grows as it is decoded.
    const std::string longLine(3 * kPiece, '\xE9');
    ExpectLines({{a + "a\r\nb", {a + "a", "b"}},
                 {a + kClef + "\nb", {a + kClef, "b"}},
                 {a + kClef, {a + kClef}},
                 {Utf16(units, false), {Utf16ToUtf8(units)}},
                 {"x\r" + longLine + "\ry\r", {"x", AnsiToUtf8(longLine), "y"}}});
}

// A file without a mark is read once, as UTF-8 while it is: bytes that are
// not make the whole file Windows-1252 from its first line, starting over
// when lines were handed out before them.
TEST_F(CsvTextFileTest, AFileFoundToBeWindows1252StartsOverFromItsFirstLine)
{
    const std::string filler(kPiece, 'a');
    const std::string koeln = AnsiToUtf8("K\xC3\xB6ln");
    ExpectLines({{"K\xC3\xB6ln\n" + filler + "\ncaf\xE9", {koeln, filler, "café"}, true},
                 {"K\xC3\xB6ln\ncaf\xE9\n", {koeln, "café"}},
                 {"x\n" + filler + kClef.substr(0, 3),
                  {"x", filler + AnsiToUtf8(kClef.substr(0, 3))},
                  true}});
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
