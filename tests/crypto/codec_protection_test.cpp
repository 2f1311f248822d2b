#include "crypto/ZACipher.h"
#include "platform/ZAStream.h"
#include "tests/crypto/codec_test_support.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using codec_test::Pattern;
using Bytes = std::vector<std::uint8_t>;
using wqtest::ReadFileBytes;
using wqtest::WriteFileBytes;

// Records the calls that reach it through a chain and adds 1 to every byte.
class Recorder : public TProtection {
public:
    void StartCoding(int action) override { log += "start" + std::to_string(action) + " "; }
    void FinishCoding(int action) override { log += "finish" + std::to_string(action) + " "; }
    void TransformBuffer(std::uint8_t* buffer, std::size_t size, int action) override
    {
        log += "buffer" + std::to_string(action) + " ";
        for (std::size_t i = 0; i < size; ++i) {
            ++buffer[i];
        }
    }
    std::string log;
};

std::shared_ptr<TCipher_Rijndael> MakeCipher(TCipherMode mode)
{
    const Bytes key = Pattern(16);
    auto cipher = std::make_shared<TCipher_Rijndael>(key.data(), 16);
    cipher->SetMode(mode);
    return cipher;
}

TEST(ProtectionChain, RefusesCircles)
{
    auto a = std::make_shared<Recorder>();
    auto b = std::make_shared<Recorder>();
    auto c = std::make_shared<Recorder>();
    const auto expectCircle = [](TProtection& from, std::shared_ptr<TProtection> to) {
        try {
            from.SetProtection(std::move(to));
            ADD_FAILURE() << "circle taken";
        } catch (const EProtection& error) {
            EXPECT_STREQ(error.what(),
                         "Circular Protection detected, Protection Object is invalid.");
        }
    };
    expectCircle(*a, a);
    a->SetProtection(b);
    b->SetProtection(c);
    expectCircle(*c, a);
    EXPECT_EQ(c->Protection(), nullptr);
    a->SetProtection(nullptr);
    c->SetProtection(a);  // no circle any more
    EXPECT_EQ(c->Protection(), a);
    c->SetProtection(nullptr);
}

// Encoding hands the data down the chain before encrypting it, decoding
// decrypts first: the two undo each other.
TEST(ProtectionChain, CipherOrdersItselfAroundTheChain)
{
    auto cipher = MakeCipher(cmECB);
    auto recorder = std::make_shared<Recorder>();
    cipher->SetProtection(recorder);
    Bytes data(16, 0);
    cipher->TransformInPlace(data.data(), data.size(), paEncode);
    EXPECT_EQ(recorder->log, "start0 buffer0 finish0 ");

    auto plain = MakeCipher(cmECB);
    Bytes ones(16, 1);
    plain->EncodeBuffer(ones.data(), ones.data(), 16);
    EXPECT_EQ(data, ones);

    cipher->TransformInPlace(data.data(), data.size(), paDecode);
    EXPECT_EQ(data, Bytes(16, 2));

    // Outside the action set the cipher only passes the data on.
    cipher->SetActionSet(static_cast<std::uint8_t>(~(1u << paEncode)));
    Bytes passed(16, 0);
    cipher->TransformInPlace(passed.data(), passed.size(), paEncode);
    EXPECT_EQ(passed, Bytes(16, 1));
}

TEST(ProtectionStreams, TransformInPlaceToAnotherStreamAndFromThePosition)
{
    const Bytes data = Pattern(10000);
    TMemoryStream expected;
    {
        Bytes copy = data;
        MakeCipher(cmCBC)->TransformInPlace(copy.data(), copy.size(), paEncode);
        expected.LoadFromBytes(copy.data(), copy.size());
    }
    TMemoryStream source;
    source.LoadFromBytes(data.data(), data.size());
    TMemoryStream destination;
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;
    SetProtectionProgress(
        [&](std::int64_t done, std::int64_t size) { progress.emplace_back(done, size); });
    MakeCipher(cmCBC)->TransformStream(&source, &destination, -1, paEncode);
    SetProtectionProgress(nullptr);
    EXPECT_EQ(destination.Memory(), expected.Memory());
    const std::vector<std::pair<std::int64_t, std::int64_t>> steps = {
        {0, 10000}, {4096, 10000}, {8192, 10000}, {10000, 10000}, {0, 0}};
    EXPECT_EQ(progress, steps);

    destination.Seek(0);
    auto roundTrip = MakeCipher(cmCBC);
    roundTrip->TransformStream(&destination, nullptr, static_cast<std::int64_t>(data.size()),
                               paDecode);
    EXPECT_EQ(destination.Memory(), data);

    // From position 100 to the end; reading through writes nothing.
    TMemoryStream partial;
    partial.LoadFromBytes(data.data(), data.size());
    partial.Seek(100);
    MakeCipher(cmCTR)->TransformStream(&partial, nullptr, -1, paScan);
    EXPECT_EQ(partial.Memory(), data);
    partial.Seek(100);
    MakeCipher(cmCTR)->TransformStream(&partial, nullptr, -1, paEncode);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 100, partial.Memory().begin()));
    EXPECT_NE(partial.Memory(), data);
    MakeCipher(cmCTR)->TransformStream(nullptr, &partial, -1, paEncode);
}

class ProtectionFiles : public ::testing::Test {
protected:
    wqtest::TempFolder folder_;
};

TEST_F(ProtectionFiles, WritesASeparateFileOrTransformsInPlace)
{
    const Bytes data = Pattern(9000);
    const std::string source = WriteFileBytes(folder_ / "plain.bin", data);
    const std::string target = folder_ / "secret.bin";
    WriteFileBytes(folder_ / "secret.bin", Bytes(20000, 7));  // longer than the result: cut
    MakeCipher(cmCTR)->TransformFile(source, target, paEncode);
    const Bytes encrypted = ReadFileBytes(target);
    EXPECT_EQ(encrypted.size(), data.size());
    EXPECT_NE(encrypted, data);
    EXPECT_EQ(ReadFileBytes(source), data);

    MakeCipher(cmCTR)->TransformFile(target, "", paDecode);
    EXPECT_EQ(ReadFileBytes(target), data);
}

// The same file named two ways is transformed in place, not truncated by
// creating the destination.
TEST_F(ProtectionFiles, SameFileUnderAnotherNameIsTransformedInPlace)
{
    const Bytes data = Pattern(5000);
    const std::string source = WriteFileBytes(folder_ / "same.bin", data);
    const std::string otherName = folder_ / "./same.bin";
    MakeCipher(cmCTR)->TransformFile(source, otherName, paEncode);
    const Bytes encrypted = ReadFileBytes(source);
    ASSERT_EQ(encrypted.size(), data.size());
    MakeCipher(cmCTR)->TransformFile(otherName, source, paDecode);
    EXPECT_EQ(ReadFileBytes(source), data);
}

TEST(ProtectionText, EncodesToTheTextFormatAndDecodesBack)
{
    auto cipher = MakeCipher(cmCBC);
    EXPECT_EQ(cipher->TransformText("", paEncode, 16), "");
    const std::string text = "Water quantity, 2008";
    const std::string hex = cipher->TransformText(text, paEncode, 16);
    EXPECT_EQ(hex.size(), 2 * text.size());
    EXPECT_EQ(cipher->TransformText(hex, paDecode, 16), text);

    const std::string base64 = cipher->TransformText(text, paEncode, -1);
    EXPECT_EQ(FormatToBytes(base64.data(), -1, 4196), FormatToBytes(hex.data(), -1, 16));
    // The counter starts again for every text, so the same object decodes.
    auto counter = MakeCipher(cmCTR);
    EXPECT_EQ(
        counter->TransformText(counter->TransformText(text, paEncode, 21845), paDecode, 21845),
        text);
}

}  // namespace
