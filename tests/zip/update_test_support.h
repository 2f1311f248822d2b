#pragma once

// An archive of three files written for the update tests to change, with the
// check that a failed or cancelled update left it byte for byte.

#include "tests/zip/write_test_support.h"

namespace writetest {

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setup_.AddSource("a.txt", ToBytes(XmlLikeText(20000, 1)));
        setup_.AddSource("b.txt", ToBytes(XmlLikeText(600000, 2)));
        setup_.AddSource("c.txt", ToBytes(XmlLikeText(30000, 3)));
        TZipArchiver zip;
        setup_.Prepare(zip);
        zip.AddFiles("*");
        zip.CloseArchive();
        old_ = ReadFileBytes(setup_.archive);
    }
    // Opens the archive written in SetUp for an update.
    void Open(TZipArchiver& zip) { setup_.Prepare(zip, ZAModeReadWrite); }
    void ExpectOldArchive()
    {
        EXPECT_TRUE(ReadFileBytes(setup_.archive) == old_) << "the archive changed";
        EXPECT_TRUE(setup_.TempFolderEmpty()) << "a temporary file is left";
    }
    ArchiveSetup setup_;
    za::Bytes old_;
};

}  // namespace writetest
