#include <gtest/gtest.h>

#include "zip/format/ZAExcept.h"

namespace {

TEST(ZAErrors, EveryCodeHasItsMessageIndex)
{
    // The codes that share a text, as callers of the error codes rely on them.
    const std::pair<int, std::vector<int>> groups[] = {
        {1, {1, 2, 3, 4, 7, 16, 21, 24}},
        {5, {9, 10, 29}},
        {6, {11, 12, 15, 18, 30, 31, 38, 42, 53, 54}},
        {7, {13, 14}},
        {9, {19, 23}},
        {11, {22, 25}},
        {23, {41, 43}},
        {24, {44, 45}},
        {27, {48, 57}},
        {34, {58, 59}},
    };
    for (const auto& [index, codes] : groups)
        for (int code : codes)
            EXPECT_EQ(ZAMessageIndexOf(code), index) << "code " << code;
    const std::pair<int, int> singles[] = {
        {0, 0},   {5, 2},   {6, 3},   {8, 4},   {17, 8},  {20, 10}, {33, 12},
        {26, 13}, {27, 14}, {28, 15}, {32, 16}, {34, 17}, {35, 18}, {36, 19},
        {37, 20}, {39, 21}, {40, 22}, {46, 25}, {47, 26}, {49, 28}, {50, 29},
        {51, 30}, {52, 31}, {55, 32}, {56, 33}, {60, 35}, {61, 36}, {62, 37},
    };
    for (const auto& [code, index] : singles)
        EXPECT_EQ(ZAMessageIndexOf(code), index) << "code " << code;
}

TEST(ZAErrors, TextsStandLetterForLetter)
{
    EXPECT_EQ(EZAException(37, "").Message(),
              "Archive is open. You should close it beore performing this operation. - Native "
              "error: 00037");
    EXPECT_EQ(EZAException(49, "").Message(),
              "MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before "
              "archive creation instead of MakeSFX - Native error: 00049");
    EXPECT_EQ(EZAException(61, "", {"/tmp/x"}).Message(),
              "File name is too long: \r\n\"/tmp/x\" - Native error: 00061");
    EXPECT_EQ(EZAException(62, "").Message(),
              "Multiple transactions are not supported for multi-volume archives - Native "
              "error: 00062");
}

TEST(ZAErrors, MessageCarriesPrefixArgumentsAndFiveDigits)
{
    const EZAException plain(12, "", {"C:\\a.zip"});
    EXPECT_EQ(plain.Message(), "File \"C:\\a.zip\" not found - Native error: 00012");
    EXPECT_EQ(plain.ErrorCode(), 12);
    EXPECT_EQ(plain.MessageIndex(), 6);

    EXPECT_EQ(EZAException(9, "Zip1").Message(),
              "Zip1: File name is blank. Specify appropriate file name - Native error: 00009");
    EXPECT_EQ(EZAException(34, "", {std::int64_t{100}, std::int64_t{42}}).Message(),
              "Invalid compressed size, rfs.size = 100, count = 42 - Native error: 00034");
    EXPECT_EQ(EZAException(12345, "").Message(), "Unknown error - Native error: 12345");
}

TEST(ZAErrors, UnknownCodesAndMissingArguments)
{
    for (int code : {0, 63, 1000, -1}) {
        const EZAException e(code, "");
        EXPECT_EQ(e.MessageIndex(), 0);
        EXPECT_EQ(e.ErrorCode(), code);
    }
    EXPECT_EQ(EZAException(63, "").Message(), "Unknown error - Native error: 00063");
    EXPECT_EQ(EZAException(-1, "").Message(), "Unknown error - Native error: 000-1");
    // Raised without arguments, the placeholder stays as it is.
    EXPECT_EQ(EZAException(33, "").Message(), "Cannot open file \"%s\" - Native error: 00033");
    EXPECT_EQ(EZAException(34, "", {std::int64_t{7}}).Message(),
              "Invalid compressed size, rfs.size = 7, count = %d - Native error: 00034");
}

TEST(ZAErrors, CaughtAsTheRootException)
{
    try {
        throw EZAException(13, "Zip1");
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Zip1: Archive is not open - Native error: 00013");
    }
}

TEST(ZAErrors, PromptsFormatTheirArguments)
{
    EXPECT_EQ(ZAFormat(SZAConfirmOverwrite, {"a/b.txt", "/tmp/b.txt"}),
              "Overwrite file \"a/b.txt\" with \"/tmp/b.txt\"");
    EXPECT_EQ(ZAFormat(SZARequestBlankDisk, {std::int64_t{2}}), "Please insert a blank disk #2");
    EXPECT_EQ(ZAFormat(SZADiskFull, {std::int64_t{4928307200}, std::int64_t{65536}}),
              "Disk is full. Required free space: 4928307200 bytes, but available only: 65536 "
              "bytes. Clean the disk or find another blank disk");
    EXPECT_EQ(ZAFormat("100%% of %s", {"x"}), "100% of x");
    EXPECT_EQ(ZAFormat("%x %", {"x"}), "%x %");
}

}  // namespace
