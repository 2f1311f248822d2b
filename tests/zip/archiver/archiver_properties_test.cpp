#include <string>

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "tests/zip/error_codes.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

using zatest::ErrorCodeOf;

// The base class without the zip flavour, with its protected state in reach.
class BaseArchiver : public TZABaseArchiver {
public:
    using TZABaseArchiver::EncryptionMethod;
    using TZABaseArchiver::Zip64Mode;
};

TEST(ArchiverPropertiesTest, ZipArchiverStartsWithItsDefaults)
{
    TZipArchiver zip;
    EXPECT_FALSE(zip.ExtractCorruptedFiles());
    EXPECT_EQ(zip.CompressionLevel(), clFastest);
    EXPECT_EQ(zip.CompressionMode(), 1);
    EXPECT_EQ(zip.CompressionMethod(), 8);
    EXPECT_EQ(zip.CurrentVersion(), " 5.01");
    EXPECT_EQ(zip.Password(), "");
    EXPECT_EQ(zip.FileName(), "");
    EXPECT_EQ(zip.SpanningMode(), smNone);
    EXPECT_FALSE(zip.InMemory());
    EXPECT_TRUE(zip.FileMasks().empty());
    EXPECT_EQ(zip.Zip64Mode(), zmDisabled);
    EXPECT_TRUE(zip.UnicodeFilenames());
    EXPECT_EQ(zip.EncryptionMethod(), caPkzipClassic);
    EXPECT_TRUE(zip.ZipFormat());
    EXPECT_TRUE(zip.TolerateDamage());
    EXPECT_FALSE(zip.Active());
    EXPECT_EQ(zip.DirManager(), nullptr);
    EXPECT_EQ(zip.ArchiveStream(), nullptr);
    EXPECT_TRUE(zip.Options().OEMFileNames);
    EXPECT_EQ(zip.Options().SearchAttr, 10431);

    BaseArchiver base;
    EXPECT_FALSE(base.ZipFormat());
    EXPECT_EQ(base.CompressionMethod(), 0xFFFF);
    EXPECT_EQ(base.Zip64Mode(), zmAuto);
}

TEST(ArchiverPropertiesTest, VersionIgnoresTheUsersDecimalSeparatorAndWrites)
{
    ScopedRegionalSettings comma(',', "dd.MM.yyyy");
    TZipArchiver zip;
    zip.SetCurrentVersion("9.99");
    EXPECT_EQ(zip.CurrentVersion(), " 5.01");
}

TEST(ArchiverPropertiesTest, ModeAndLevelFollowEachOtherAndSetTheMethod)
{
    TZipArchiver zip;
    zip.SetCompressionMode(5);
    EXPECT_EQ(zip.CompressionLevel(), clNormal);
    EXPECT_EQ(ErrorCodeOf([&] { zip.SetCompressionMode(10); }), 5);
    EXPECT_EQ(zip.CompressionMode(), 5);
    EXPECT_EQ(zip.CompressionLevel(), clNormal);

    zip.SetCompressionLevel(clMax);
    EXPECT_EQ(zip.CompressionMode(), 9);
    EXPECT_EQ(zip.CompressionMethod(), 8);
    zip.SetCompressionMode(0);
    EXPECT_EQ(zip.CompressionLevel(), clNone);
    EXPECT_EQ(zip.CompressionMethod(), 0);
    zip.SetCompressionMode(3);
    EXPECT_EQ(zip.CompressionLevel(), clFastest);
    EXPECT_EQ(zip.CompressionMethod(), 8);
    zip.SetCompressionMode(7);
    EXPECT_EQ(zip.CompressionLevel(), clMax);
    zip.SetCompressionLevel(clNone);
    EXPECT_EQ(zip.CompressionMode(), 0);
    EXPECT_EQ(zip.CompressionMethod(), 0);
}

TEST(ArchiverPropertiesTest, FirstPasswordPutsTraditionalEncryptionInForce)
{
    TZipArchiver fresh;
    fresh.SetEncryptionMethod(caAES_256);
    fresh.SetPassword("");
    EXPECT_EQ(fresh.EncryptionMethod(), caPkzipClassic);

    TZipArchiver first;
    first.SetEncryptionMethod(caAES_256);
    first.SetPassword("secret");
    EXPECT_EQ(first.EncryptionMethod(), caPkzipClassic);
    EXPECT_EQ(first.Password(), "secret");

    first.SetEncryptionMethod(caAES_256);
    first.SetPassword("other");
    EXPECT_EQ(first.EncryptionMethod(), caAES_256);

    BaseArchiver base;
    base.SetPassword("x");
    EXPECT_EQ(base.Password(), "x");
}

TEST(ArchiverPropertiesTest, MaskListsAreCopiedAndErrorsNameTheComponent)
{
    std::vector<std::string> masks{"*.wqd"};
    TZipArchiver zip;
    zip.SetFileMasks(masks);
    masks.push_back("*.zip");
    EXPECT_EQ(zip.FileMasks(), std::vector<std::string>{"*.wqd"});

    zip.SetName("Zip1");
    try {
        zip.CheckActive();
        FAIL() << "a closed archive passed the check";
    } catch (const EZAException& e) {
        EXPECT_STREQ(e.what(), "Zip1: Archive is not open - Native error: 00013");
    }
}

}  // namespace
