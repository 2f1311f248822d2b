#include <gtest/gtest.h>

#include "platform/exception.h"
#include "tests/support/files.h"
#include "zip/format/ZARecords.h"

namespace {

using wqtest::ToBytes;
using za::Bytes;

template <typename Record>
Bytes Laid(const Record& record)
{
    Bytes out;
    record.Write(out);
    return out;
}

TEST(RecordLayout, EmptyArchiveIsTheBareEndRecord)
{
    const Bytes bytes = Laid(MakeEndRecord(ZAStandardSignatures, {}, 0));
    const Bytes expected = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0,
                            0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Laid(MakeEndRecord(ZAAlternateSignatures, {}, 0))[0], 0x41);
}

TEST(RecordLayout, LocalHeaderFieldsSitAtTheirOffsets)
{
    TZALocalHeader h;
    h.VersionNeeded = 0x0014;
    h.Flags = 0x0001;
    h.Method = 8;
    h.LastModTime = 0x6DAF;
    h.LastModDate = 0x58B1;
    h.Crc32 = 0xCBF43926;
    h.CompressedSize = 0x01020304;
    h.UncompressedSize = 0xFFFFFFFF;
    h.FileNameLength = 9;
    h.ExtraFieldLength = 0x0120;
    const Bytes expected = {0x50, 0x4B, 0x03, 0x04, 0x14, 0x00, 0x01, 0x00, 0x08, 0x00,
                            0xAF, 0x6D, 0xB1, 0x58, 0x26, 0x39, 0xF4, 0xCB, 0x04, 0x03,
                            0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x09, 0x00, 0x20, 0x01};
    EXPECT_EQ(Laid(h), expected);
    EXPECT_EQ(Laid(*TZALocalHeader::Read(expected)), expected);
}

TEST(RecordLayout, EveryRecordReadsBackAsWritten)
{
    TZACentralHeader c;
    c.VersionMadeBy = 0x0B14;
    c.VersionNeeded = 0x002D;
    c.Flags = 2;
    c.Method = 99;
    c.LastModTime = 1;
    c.LastModDate = 2;
    c.Crc32 = 0x11223344;
    c.CompressedSize = 5;
    c.UncompressedSize = 6;
    c.FileNameLength = 7;
    c.ExtraFieldLength = 8;
    c.FileCommentLength = 9;
    c.DiskNumberStart = 0xFFFF;
    c.ExternalAttributes = 0x10;
    c.LocalHeaderOffset = 0xFFFFFFFF;
    const Bytes central = Laid(c);
    ASSERT_EQ(central.size(), TZACentralHeader::Size);
    EXPECT_EQ(central[0], 0x50);
    EXPECT_EQ(central[3], 0x02);
    EXPECT_EQ(central[34], 0xFF);  // disk number start
    EXPECT_EQ(central[38], 0x10);  // external attributes
    EXPECT_EQ(Laid(*TZACentralHeader::Read(central)), central);

    TZADirectoryInfo info{3, 2, 70000, 0x123456789, 0x1FFFFFFFF};
    const Bytes zip64 = Laid(MakeZip64EndRecord(info));
    ASSERT_EQ(zip64.size(), TZAZip64EndRecord::Size);
    EXPECT_EQ(Laid(*TZAZip64EndRecord::Read(zip64)), zip64);
    const Bytes locator = Laid(MakeZip64Locator(2, 0x1FFFFFFFF));
    ASSERT_EQ(locator.size(), TZAZip64Locator::Size);
    EXPECT_EQ(Laid(*TZAZip64Locator::Read(locator)), locator);
    const Bytes end = Laid(MakeEndRecord(ZAStandardSignatures, info, 4));
    EXPECT_EQ(Laid(*TZAEndRecord::Read(end)), end);
}

TEST(RecordLayout, Zip64EndRecordAndLocatorCarryTheVolumeRules)
{
    const TZADirectoryInfo info{-1, -1, 65535, 100, 200};
    const TZAZip64EndRecord r = MakeZip64EndRecord(info);
    EXPECT_EQ(r.RecordSize, 44u);
    EXPECT_EQ(r.VersionMadeBy, 45);
    EXPECT_EQ(r.VersionNeeded, 45);
    EXPECT_EQ(r.DiskNumber, 0u);
    EXPECT_EQ(r.DirectoryDisk, 0u);
    EXPECT_EQ(r.TotalEntries, 65535u);
    // The directory may start on an earlier volume than the one it ends on.
    const TZAZip64EndRecord split = MakeZip64EndRecord({7, 5, 70000, 100, 200});
    EXPECT_EQ(split.DiskNumber, 7u);
    EXPECT_EQ(split.DirectoryDisk, 5u);
    const Bytes bytes = Laid(r);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0x50, 0x4B, 0x06, 0x06}));

    const TZAZip64Locator first = MakeZip64Locator(-5, 1234);
    EXPECT_EQ(first.Zip64EndDisk, 0u);
    EXPECT_EQ(first.TotalDisks, 1u);
    EXPECT_EQ(MakeZip64Locator(3, 0).TotalDisks, 4u);
    EXPECT_EQ(Laid(first)[3], 0x07);
}

TEST(RecordLayout, EndRecordClampsWhatDoesNotFit)
{
    TZADirectoryInfo info;
    info.DiskNumber = 0x10000;
    info.DirectoryDisk = -3;
    info.Count = 70000;
    info.DirectorySize = 0x100000000;
    info.DirectoryOffset = 0xFFFFFFFF;
    const TZAEndRecord r = MakeEndRecord(ZAStandardSignatures, info, 0);
    EXPECT_EQ(r.DiskNumber, 0xFFFF);
    EXPECT_EQ(r.DirectoryDisk, 0);
    EXPECT_EQ(r.EntriesOnDisk, 0xFFFF);
    EXPECT_EQ(r.TotalEntries, 0xFFFF);
    EXPECT_EQ(r.DirectorySize, 0xFFFFFFFF);
    EXPECT_EQ(r.DirectoryOffset, 0xFFFFFFFF);

    info.Count = 65534;
    EXPECT_EQ(MakeEndRecord(ZAStandardSignatures, info, 0).TotalEntries, 65534);
}

TEST(RecordLayout, Zip64EndRecordGoesWithSizeOrCount)
{
    EXPECT_FALSE(NeedsZip64EndRecord(0xFFFFFFFE, 65534));
    EXPECT_TRUE(NeedsZip64EndRecord(0xFFFFFFFF, 0));
    EXPECT_TRUE(NeedsZip64EndRecord(100, 65535));
}

TEST(RecordLayout, VersionValueFollowsZip64NamesAndSignatureSet)
{
    EXPECT_EQ(VersionValue(false, true, false), 0x0014);
    EXPECT_EQ(VersionValue(false, false, false), 0x0B14);
    EXPECT_EQ(VersionValue(true, true, false), 0x002D);
    EXPECT_EQ(VersionValue(true, false, false), 0x002D);
    EXPECT_EQ(VersionValue(false, true, true), 0x4114);
    EXPECT_EQ(VersionValue(false, false, true), 0x4114);
    EXPECT_EQ(VersionValue(true, true, true), 0x412D);
}

TEST(RecordLayout, SignatureSets)
{
    EXPECT_EQ(&SignatureSetFor(true), &ZAStandardSignatures);
    EXPECT_EQ(SignatureSetFor(false).LocalHeader, 0x05045C61u);
    EXPECT_EQ(SignatureSetFor(false).CentralHeader, 0x03025C61u);
    EXPECT_EQ(SignatureSetFor(false).Zip64EndRecord, 0x06064B50u);
    EXPECT_TRUE(IsAlternateSignatureSet(0x06054141));
    EXPECT_FALSE(IsAlternateSignatureSet(0x06054B50));
}

TEST(RecordLayout, UnicodeNameFieldAddsTwoNPlusTwelveBytes)
{
    const std::string name = "r\xC3\xA9sum\xC3\xA9/\xE2\x82\xAC\xF0\x9F\x98\x80.txt";  // 14 units
    const TZAExtraField field = MakeUnicodeNameField(name);
    const Bytes bytes = Laid(field);
    ASSERT_EQ(bytes.size(), 2u * 14 + 12);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12),
              (Bytes{0x4E, 0x55, 36, 0, 'N', 'U', 'C', 'X', 14, 0, 0, 0}));
    EXPECT_EQ(bytes[12], 'r');
    EXPECT_EQ(bytes[14], 0xE9);
    EXPECT_EQ(ReadUnicodeNameField(field.Data), name);
    EXPECT_EQ(Laid(MakeUnicodeNameField("")).size(), 12u);
}

TEST(RecordLayout, AesFieldLayout)
{
    TZAAesField aes;
    aes.KeyStrength = 3;
    aes.ActualMethod = 8;
    const Bytes bytes = Laid(aes.ToExtraField());
    EXPECT_EQ(bytes, (Bytes{0x01, 0x99, 7, 0, 2, 0, 'A', 'E', 3, 8, 0}));
    const auto back = TZAAesField::Read(aes.ToExtraField().Data);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->VendorVersion, 2);
    EXPECT_EQ(back->VendorId, TZAAesField::VendorAE);
    EXPECT_EQ(back->KeyStrength, 3);
    EXPECT_EQ(back->ActualMethod, 8);
}

TEST(RecordLayout, Zip64FieldsHoldOnlyTheSaturatedValues)
{
    EXPECT_EQ(Laid(MakeLocalZip64Field(0x100000000, 5)),
              (Bytes{1, 0, 16, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Laid(MakeLocalZip64Field(1, 2)).size(), ZALocalZip64FieldSize);

    const TZAZip64Values values{0x111111111, 0x222222222, 0x333333333, 7};
    TZACentralHeader h;
    // An item that had a local Zip64 field but fits gets none in the directory.
    EXPECT_FALSE(MakeCentralZip64Field(h, values));

    h.CompressedSize = ZAZip64Marker;
    h.DiskNumberStart = ZAZip64Marker16;
    const auto field = MakeCentralZip64Field(h, values);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->HeaderID, ZAZip64FieldId);
    EXPECT_EQ(field->Data.size(), 12u);
    TZAZip64Values read;
    ReadZip64Field(h, field->Data, read);
    EXPECT_EQ(read.CompressedSize, values.CompressedSize);
    EXPECT_EQ(read.DiskNumber, 7u);
    EXPECT_EQ(read.UncompressedSize, 0u);

    h.UncompressedSize = h.LocalHeaderOffset = ZAZip64Marker;
    ReadZip64Field(h, MakeCentralZip64Field(h, values)->Data, read);
    EXPECT_EQ(read.UncompressedSize, values.UncompressedSize);
    EXPECT_EQ(read.LocalHeaderOffset, values.LocalHeaderOffset);
}

TEST(RecordLayout, ExtraFieldsLayOutOneAfterTheOther)
{
    Bytes area;
    TZAExtraField{0x7075, ToBytes("abc")}.Write(area);
    TZAExtraField{0x000A, {}}.Write(area);
    EXPECT_EQ(area, (Bytes{0x75, 0x70, 3, 0, 'a', 'b', 'c', 0x0A, 0, 0, 0}));
    const auto fields = ReadExtraFields(area);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].Data, ToBytes("abc"));
    EXPECT_EQ(fields[1].HeaderID, 0x000A);
    EXPECT_TRUE(fields[1].Data.empty());

    Bytes tooLarge;
    EXPECT_THROW(TZAExtraField({1, Bytes(65536)}).Write(tooLarge), Exception);
}

TEST(RecordLayout, DosTimeAndDate)
{
    const TZADosDateTime dos = DateTimeToDos({2024, 5, 17, 13, 45, 31});
    EXPECT_EQ(dos.Time, (13 << 11) | (45 << 5) | 15);
    EXPECT_EQ(dos.Date, (44 << 9) | (5 << 5) | 17);
    EXPECT_EQ(dos.Packed(), (std::uint32_t{dos.Date} << 16) | dos.Time);
    const TDateTime back = DosToDateTime(dos);
    EXPECT_EQ(back.Year, 2024);
    EXPECT_EQ(back.Month, 5);
    EXPECT_EQ(back.Day, 17);
    EXPECT_EQ(back.Hour, 13);
    EXPECT_EQ(back.Minute, 45);
    EXPECT_EQ(back.Second, 30);  // two-second steps

    // Moments the format cannot hold are clamped, not wrapped into nonsense.
    EXPECT_EQ(DateTimeToDos({1970, 1, 1, 0, 0, 0}), (TZADosDateTime{0, 0x21}));
    EXPECT_EQ(DosToDateTime(DateTimeToDos({2200, 1, 1, 0, 0, 0})).Year, 2107);
    const TDateTime now = Now();
    EXPECT_EQ(DosToDateTime(DosDateTimeNow()).Year, now.Year);
}

TEST(RecordLayout, StoredNamesGoThroughTheCodePages)
{
    const std::string name = "d\xC3\xA9j\xC3\xA0/\xE2\x82\xAC.txt";  // "déjà/€.txt"
    EXPECT_EQ(EncodeStoredName(name, false), "d\xE9j\xE0/\x80.txt");
    EXPECT_EQ(EncodeStoredName(name, true), "d\x82j\x85/?.txt");
    EXPECT_EQ(DecodeStoredName("d\x82j\x85/?.txt", true), "d\xC3\xA9j\xC3\xA0/?.txt");
    EXPECT_EQ(DecodeStoredName("d\xE9j\xE0/\x80.txt", false), name);
    // Characters outside the ANSI page reach the headers as "?" even when the
    // OEM page has them; only the Unicode-name field keeps them.
    EXPECT_EQ(EncodeStoredName("\xE2\x94\x80", true), "?");
    EXPECT_EQ(EncodeStoredName(name, true).size(), EncodeStoredName(name, false).size());
}

}  // namespace
