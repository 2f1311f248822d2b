// Archives written by the archiver, judged by unzip, 7-Zip and Python's
// zipfile: every entry tests clean and extracts to the bytes of its source.

#include "tests/zip/write_test_support.h"

namespace {

using namespace writetest;

class PeersWriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!wqtest::HasProgram("unzip") || wqtest::SevenZipProgram().empty()) {
            GTEST_SKIP() << "unzip and 7-Zip judge these archives";
        }
        setup_.AddSource("data.wqd", ToBytes(XmlLikeText(100)));
        setup_.AddSource("big.xml", ToBytes(XmlLikeText(600000, 3)));
        setup_.AddSource("noise.bin", NoiseBytes(70000));
        setup_.AddSource("empty.txt", {});
        setup_.AddSource("sub/deeper/notes.txt", ToBytes(XmlLikeText(3000, 5)));
    }
    void Write(TZipArchiver& zip)
    {
        setup_.Prepare(zip);
        zip.AddFiles("*");
        zip.CloseArchive();
    }
    ArchiveSetup setup_;
};

TEST_F(PeersWriteTest, StoredAndDeflatedAtEveryLevel)
{
    for (const int mode : {0, 1, 6, 9}) {
        SCOPED_TRACE(mode);
        TZipArchiver zip;
        zip.SetCompressionMode(static_cast<std::uint8_t>(mode));
        Write(zip);
        ExpectUnzipAccepts(setup_.archive);
        ExpectSevenZipAccepts(setup_.archive);
        ExpectPythonReadsBack(setup_.archive, setup_.source);
        ExpectSevenZipExtractsSources(setup_.archive, setup_.source);
    }
}

TEST_F(PeersWriteTest, TraditionalPassword)
{
    TZipArchiver zip;
    zip.SetPassword("Pa55 w0rd");
    Write(zip);
    ExpectUnzipAccepts(setup_.archive, "Pa55 w0rd");
    ExpectSevenZipAccepts(setup_.archive, "Pa55 w0rd");
    ExpectPythonReadsBack(setup_.archive, setup_.source, "Pa55 w0rd");
    ExpectSevenZipExtractsSources(setup_.archive, setup_.source, "Pa55 w0rd");
}

TEST_F(PeersWriteTest, AesAtEveryKeySize)
{
    for (const auto method : {caAES_128, caAES_192, caAES_256}) {
        SCOPED_TRACE(static_cast<int>(method));
        TZipArchiver zip;
        zip.SetPassword("geheim");
        zip.SetEncryptionMethod(method);
        Write(zip);
        ExpectSevenZipAccepts(setup_.archive, "geheim");
        ExpectSevenZipExtractsSources(setup_.archive, setup_.source, "geheim");
        // A wrong password must not pass the authentication.
        const auto wrong = wqtest::RunWithOutput(wqtest::SevenZipProgram() + " t -pwrong " +
                                                 Quoted(setup_.archive));
        EXPECT_NE(wrong.exitCode, 0);
    }
}

TEST_F(PeersWriteTest, AlwaysZip64)
{
    TZipArchiver zip;
    zip.SetZip64Mode(zmAlways);
    Write(zip);
    ExpectUnzipAccepts(setup_.archive);
    ExpectSevenZipAccepts(setup_.archive);
    ExpectPythonReadsBack(setup_.archive, setup_.source);
}

TEST_F(PeersWriteTest, FullPathsAndFoldersOfTheTree)
{
    TZipArchiver zip;
    zip.Options().StorePath = spFullPath;
    setup_.Prepare(zip);
    zip.AddFiles("*", ZADefaultSearchAttr | faDirectory);
    zip.CloseArchive();
    ExpectUnzipAccepts(setup_.archive);
    ExpectSevenZipAccepts(setup_.archive);
    const auto list = wqtest::RunWithOutput("unzip -Z1 " + Quoted(setup_.archive));
    EXPECT_NE(list.output.find(setup_.source.substr(1) + "/sub/deeper/notes.txt"),
              std::string::npos)
        << list.output;
    EXPECT_NE(list.output.find(setup_.source.substr(1) + "/sub/deeper/\n"), std::string::npos)
        << list.output;
}

}  // namespace
