#include "platform/codepages.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

TEST(CodePages, EveryByteRoundTripsThroughUtf8)
{
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes);
    EXPECT_EQ(Utf8ToOem(OemToUtf8(bytes)), bytes);
}

TEST(CodePages, CharactersLandOnTheirBytes)
{
    // Checked against Python's cp1252 and cp850 codecs.
    EXPECT_EQ(Utf8ToAnsi("d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC"), "d\xE9j\xE0 \x80");
    EXPECT_EQ(Utf8ToOem("d\xC3\xA9j\xC3\xA0 \xC3\x9F"), "d\x82j\x85 \xE1");
    EXPECT_EQ(AnsiToUtf8("\x9F\xFF"), "\xC5\xB8\xC3\xBF");
    EXPECT_EQ(OemToUtf8("\xC4\xD5"), "\xE2\x94\x80\xC4\xB1");
    // The bytes that Windows-1252 leaves undefined stand for control characters.
    EXPECT_EQ(AnsiToUtf8("\x81"), "\xC2\x81");
}

TEST(CodePages, MissingCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToAnsi("\xE2\x94\x80 \xD0\x96 \xF0\x9F\x98\x80"), "? ? ?");
    EXPECT_EQ(Utf8ToOem("\xE2\x82\xAC"), "?");
    EXPECT_EQ(CharToOem("caf\xE9 \x80"), "caf\x82 ?");
    EXPECT_EQ(OemToChar("caf\x82 \xC4"), "caf\xE9 ?");
    EXPECT_EQ(OemToChar(CharToOem("\xC4\xD6\xDC\xE4\xF6\xFC\xDF")), "\xC4\xD6\xDC\xE4\xF6\xFC\xDF");
}

TEST(CodePages, MalformedUtf8CountsAsReplacementPerByte)
{
    EXPECT_EQ(Utf8ToAnsi("a\xFF"), "a?");
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");          // cut short at the end
    EXPECT_EQ(Utf8ToAnsi("\xC0\x80"), "??");       // overlong
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");  // an encoded surrogate
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82x"), "??x");     // continuation missing
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), std::u16string(4, u'\uFFFD'));
}

TEST(CodePages, Utf16CountsSurrogatePairs)
{
    const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, (std::u16string{u'a', 0x00E9, 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16(""), u"");
}

}  // namespace

TEST(CodePages, Utf8ValidityTellsTextFromOtherBytes)
{
    for (const char* text : {"plain ASCII", "Ποταμός \xEF\xBF\xBD ok", "\xF0\x9F\x92\xA7"})
        EXPECT_TRUE(IsValidUtf8(text)) << text;
    for (const char* bytes : {"K\xF6ln", "\xC0\xAF", "\xED\xA0\x80", "cut \xE2\x82"})
        EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;
}

// The first bad byte is found wherever it stands among runs of ASCII, also
// when the text comes in two pieces split at any offset; a sequence that the
// split cuts is no fault.
TEST(CodePages, TheFirstByteThatIsNotUtf8IsFound)
{
    const std::string ascii(40, 'a');
    const std::string valid = ascii + "\xCE\xA9\xEF\xBB\xBF\xF0\x9F\x92\xA7" + ascii;
    std::vector<std::pair<std::string, std::size_t>> cases = {{valid, std::string::npos}};
    for (const std::string bad :
         {"\xFF", "\xC0\xAF", "\xED\xB0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
        for (const std::size_t at : {0u, 31u, 33u})
            cases.emplace_back(ascii.substr(0, at) + bad + valid, at);
    for (const auto& [text, at] : cases) {
        EXPECT_EQ(FirstInvalidUtf8(text), std::min(at, text.size())) << text;
        for (std::size_t split = 0; split <= text.size(); ++split) {
            TUtf8Checker checker;
            checker.Check(text.substr(0, split), false);
            checker.Check(text, true);
            EXPECT_EQ(checker.FirstInvalid(), at) << text << " split at " << split;
        }
    }
}
