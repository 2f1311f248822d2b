#include "crypto/ZACodecUtil.h"
#include "tests/crypto/codec_test_support.h"

namespace {

std::string Encode(const std::string& bytes, int id)
{
    return BytesToFormat(bytes.data(), static_cast<int>(bytes.size()), id);
}

std::string Decode(const std::string& text, int id)
{
    return FormatToBytes(text.data(), static_cast<int>(text.size()), id);
}

std::string ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ETextFormat& error) {
        return error.what();
    }
    return "no error";
}

TEST(TextFormats, RegistryHoldsTheSixFormatsInOrder)
{
    const struct {
        int id;
        const char* name;
    } formats[] = {
        {1, "copy Input to Output"}, {16, "Hexadecimal"},  {1016, "Hexadecimal lowercase"},
        {4196, "MIME Base 64"},      {21845, "UU Coding"}, {22616, "XX Coding"}};
    for (const auto& f : formats) {
        const TTextFormat* format = FindTextFormat(f.id);
        ASSERT_NE(format, nullptr) << f.id;
        EXPECT_EQ(format->FormatId(), f.id);
        EXPECT_EQ(format->FormatName(), f.name);
    }
    EXPECT_EQ(FindTextFormat(-1), FindTextFormat(4196));
    EXPECT_EQ(FindTextFormat(5), nullptr);
    EXPECT_EQ(ErrorOf([] { Encode("x", 5); }), "String Format \"5\" not exists.");
    EXPECT_EQ(ErrorOf([] { Decode("x", 17); }), "String Format \"17\" not exists.");
    EXPECT_EQ(Encode("abc", 0), "");
    EXPECT_EQ(Encode("", 16), "");
    EXPECT_EQ(Encode("abc", 1), "abc");
}

TEST(TextFormats, HexadecimalBothCasesAndItsDecodingRules)
{
    const std::string bytes("\x00\xAB\xFF", 3);
    EXPECT_EQ(Encode(bytes, 16), "00ABFF");
    EXPECT_EQ(Encode(bytes, 1016), "00abff");
    EXPECT_EQ(Decode("00ABFF", 16), bytes);
    EXPECT_EQ(Decode("00abff", 16), bytes);
    // Lower-case text of its own format decodes too.
    EXPECT_EQ(Decode("00abff", 1016), bytes);
    EXPECT_EQ(Decode("00ABFF", 1016), bytes);
    // Separators are skipped; the first prefix sign starts again; an odd
    // half-byte at the end is dropped.
    EXPECT_EQ(Decode("(0A-0B) {0c}", 16), "\x0A\x0B\x0C");
    EXPECT_EQ(Decode("FF FF $41 42 $43", 16), "ABC");
    EXPECT_EQ(Decode("0x41", 16), "A");
    EXPECT_EQ(Decode("4142 4", 16), "AB");
    EXPECT_EQ(ErrorOf([] { Decode("41G2", 16); }), "Input is not an valid Hexadecimal Format.");
    EXPECT_EQ(ErrorOf([] { Decode("41=2", 1016); }),
              "Input is not an valid Hexadecimal lowercase Format.");
}

// RFC 4648, section 10.
TEST(TextFormats, Base64Vectors)
{
    const std::pair<const char*, const char*> vectors[] = {
        {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"abc", "YWJj"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Encode(plain, 4196), encoded);
        EXPECT_EQ(Decode(encoded, 4196), plain);
    }
    EXPECT_EQ(Decode("Zm9v\r\nYmFy", 4196), "foobar");
    EXPECT_EQ(ErrorOf([] { Decode("Zm9v!", 4196); }), "Input is not an valid MIME Base 64 Format.");
    const auto binary = codec_test::Pattern(1000);
    const std::string data(binary.begin(), binary.end());
    EXPECT_EQ(Decode(Encode(data, -1), -1), data);
}

TEST(TextFormats, UuAndXxPiecesOfFortyFiveBytes)
{
    const std::string piece(45, 'w');
    const std::string uu = Encode(piece, 21845);
    EXPECT_EQ(uu.size(), 61u);
    EXPECT_EQ(uu[0], 'M');
    const std::string xx = Encode(piece, 22616);
    EXPECT_EQ(xx.size(), 61u);
    EXPECT_EQ(xx[0], 'h');
    EXPECT_EQ(Encode("Cat", 21845), "#0V%T");
    EXPECT_EQ(Encode(std::string(1, '\0'), 21845), "!````");

    const auto binary = codec_test::Pattern(200);
    for (std::size_t size = 1; size <= binary.size(); size += 7) {
        const std::string data(binary.begin(), binary.begin() + static_cast<std::ptrdiff_t>(size));
        for (int id : {21845, 22616}) {
            const std::string text = Encode(data, id);
            EXPECT_EQ(text.size(), (size + 44) / 45 + (size / 45) * 60 + (size % 45 + 2) / 3 * 4)
                << size;
            EXPECT_EQ(Decode(text, id), data) << size << " bytes, format " << id;
        }
    }
    // Line breaks between pieces are skipped.
    EXPECT_EQ(Decode(uu + "\r\n" + Encode("Cat", 21845), 21845), piece + "Cat");
}

TEST(TextFormats, UuRejectsCountsAboveFortyFiveAndCutPieces)
{
    EXPECT_EQ(ErrorOf([] { Decode("N" + std::string(64, '!'), 21845); }),
              "Input is not an valid UU Coding Format.");
    EXPECT_EQ(ErrorOf([] { Decode("#0V%", 21845); }), "Input is not an valid UU Coding Format.");
    EXPECT_EQ(ErrorOf([] { Decode("#0V%~", 21845); }), "Input is not an valid UU Coding Format.");
    EXPECT_EQ(ErrorOf([] { Decode("+0", 22616); }), "Input is not an valid XX Coding Format.");
}

// A negative length runs up to the first zero byte.
TEST(TextFormats, NegativeLengthStopsAtTheFirstZero)
{
    const char bytes[] = {'a', 'b', 'c', 0, 'd'};
    EXPECT_EQ(BytesToFormat(bytes, -1, 16), "616263");
    EXPECT_EQ(FormatToBytes("616263", -1, 16), "abc");
}

class Refusing : public TTextFormat {
public:
    std::string FormatName() const override { return "Refusing"; }
    int FormatId() const override { return 9001; }
    bool IsValidInput(std::string_view, bool) const override { return false; }
};

TEST(TextFormats, RegisteredFormatsAreFoundAndReplacedById)
{
    static const Refusing refusing;
    RegisterTextFormat(&refusing);
    EXPECT_EQ(FindTextFormat(9001), &refusing);
    EXPECT_EQ(ErrorOf([] { Encode("x", 9001); }), "Input can not be convert to Refusing Format.");
    EXPECT_EQ(ErrorOf([] { Decode("x", 9001); }), "Input is not an valid Refusing Format.");
    static const Refusing again;
    RegisterTextFormat(&again);
    EXPECT_EQ(FindTextFormat(9001), &again);
}

}  // namespace
