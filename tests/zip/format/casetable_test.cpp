#include <string>

#include <gtest/gtest.h>

#include "zip/format/ZACaseTables.h"
#include "zip/format/ZAUnicodeExtendedInfo.h"

namespace {

TEST(CaseTablesTest, TheUsersLocaleMapsTheWholeCodePage)
{
    const TZACaseTables tables = BuildCaseTables("C.UTF-8");
    EXPECT_EQ(tables.Upper['a'], 'A');
    EXPECT_EQ(tables.Lower['Z'], 'z');
    EXPECT_EQ(tables.Upper['1'], '1');
    EXPECT_EQ(tables.Upper[0xE9], 0xC9);  // e acute
    EXPECT_EQ(tables.Lower[0xC0], 0xE0);  // A grave
    EXPECT_EQ(tables.Upper[0x9A], 0x8A);  // s caron, in the 0x80 row of the code page
    EXPECT_EQ(tables.Upper[0xFF], 0x9F);  // y diaeresis has its capital at 0x9F
    EXPECT_EQ(tables.Lower[0x9F], 0xFF);
    // Case forms outside the code page leave the character as it is.
    EXPECT_EQ(tables.Upper[0xB5], 0xB5);  // micro sign: its capital is Greek
    EXPECT_EQ(tables.Upper[0xDF], 0xDF);  // sharp s
    EXPECT_EQ(tables.Upper[0x81], 0x81);  // no character at all
    for (int c = 0; c < 256; ++c) {
        const auto upper = tables.Upper[static_cast<std::size_t>(c)];
        EXPECT_EQ(tables.Upper[upper], upper) << c;
    }
}

TEST(CaseTablesTest, AnUnknownLocaleLeavesTheIdentityMaps)
{
    const TZACaseTables tables = BuildCaseTables("xx_NOWHERE.nothing");
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(tables.Upper[static_cast<std::size_t>(c)], c);
        EXPECT_EQ(tables.Lower[static_cast<std::size_t>(c)], c);
    }
    EXPECT_EQ(ZACaseTables().Upper['q'], 'Q');
}

std::vector<std::uint8_t> Field(std::uint32_t signature, const std::u16string& name,
                                std::uint32_t count)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(signature >> (8 * i)));
    }
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    }
    for (char16_t c : name) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

TEST(UnicodeExtendedInfoTest, ReadsTheNameAfterItsSignatureOnly)
{
    TUnicodeExtendedInfo info;
    const auto good = Field(ZAUnicodeExtendedSignature, u"\u00e9t\u00e9/\u65e5.txt", 9);
    ASSERT_TRUE(ReadUnicodeExtendedInfo(info, good.data(), good.size()));
    EXPECT_EQ(info.FileName, "\xC3\xA9t\xC3\xA9/\xE6\x97\xA5.txt");
    EXPECT_EQ(info.Signature, ZAUnicodeExtendedSignature);
    EXPECT_EQ(std::string(good.begin(), good.begin() + 4), "NUCX");

    info.FileName = "kept";
    const auto other = Field(0x58435556, u"abc", 3);
    EXPECT_FALSE(ReadUnicodeExtendedInfo(info, other.data(), other.size()));
    EXPECT_EQ(info.FileName, "kept");
    EXPECT_EQ(info.Signature, 0x58435556u);

    // A count that runs past the field is not believed.
    const auto cut = Field(ZAUnicodeExtendedSignature, u"abc", 4);
    EXPECT_FALSE(ReadUnicodeExtendedInfo(info, cut.data(), cut.size()));
    EXPECT_FALSE(ReadUnicodeExtendedInfo(info, cut.data(), 6));
    EXPECT_EQ(info.FileName, "kept");
    const auto empty = Field(ZAUnicodeExtendedSignature, u"", 0);
    EXPECT_TRUE(ReadUnicodeExtendedInfo(info, empty.data(), empty.size()));
    EXPECT_EQ(info.FileName, "");
}

}  // namespace
