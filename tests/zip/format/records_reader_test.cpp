#include <random>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "zip/format/ZARecords.h"

namespace {

using za::Bytes;

template <typename Record>
void ExpectNothingFromShortSpans()
{
    const Bytes full(Record::Size, 0xFF);
    for (std::size_t size = 0; size < Record::Size; ++size)
        EXPECT_FALSE(Record::Read(TZAByteSpan(full.data(), size))) << size;
    EXPECT_TRUE(Record::Read(full));
}

TEST(RecordReader, ShortSpansGiveNoRecord)
{
    ExpectNothingFromShortSpans<TZALocalHeader>();
    ExpectNothingFromShortSpans<TZACentralHeader>();
    ExpectNothingFromShortSpans<TZAEndRecord>();
    ExpectNothingFromShortSpans<TZAZip64EndRecord>();
    ExpectNothingFromShortSpans<TZAZip64Locator>();
    EXPECT_FALSE(TZAAesField::Read(Bytes(6)));
    EXPECT_FALSE(TZALocalHeader::Read({}));
}

TEST(RecordReader, ExtraFieldRunningPastTheAreaIsCut)
{
    // Second field announces 0xFFFF bytes but only 3 follow.
    const Bytes area = {0x01, 0x00, 0x02, 0x00, 0xAA, 0xBB, 0x4E, 0x55, 0xFF, 0xFF, 1, 2, 3};
    const auto fields = ReadExtraFields(area);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].Data, (Bytes{0xAA, 0xBB}));
    EXPECT_EQ(fields[1].HeaderID, ZAUnicodeNameFieldId);
    EXPECT_EQ(fields[1].Data, (Bytes{1, 2, 3}));

    // A tail too short for a field header is dropped.
    for (std::size_t tail = 1; tail < 4; ++tail) {
        Bytes withTail = {0x0A, 0x00, 0x00, 0x00};
        withTail.resize(4 + tail, 0x77);
        EXPECT_EQ(ReadExtraFields(withTail).size(), 1u);
    }
    EXPECT_TRUE(ReadExtraFields({}).empty());
}

TEST(RecordReader, UnicodeNameFieldMustHoldWhatItAnnounces)
{
    const Bytes wrongTag = {'N', 'U', 'C', 'Y', 1, 0, 0, 0, 'a', 0};
    EXPECT_FALSE(ReadUnicodeNameField(wrongTag));
    // A count of four billion units with no units behind it: refused without
    // reserving anything.
    const Bytes huge = {'N', 'U', 'C', 'X', 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0};
    EXPECT_FALSE(ReadUnicodeNameField(huge));
    const Bytes oneShort = {'N', 'U', 'C', 'X', 2, 0, 0, 0, 'a', 0, 'b'};
    EXPECT_FALSE(ReadUnicodeNameField(oneShort));
    EXPECT_FALSE(ReadUnicodeNameField(Bytes{'N', 'U', 'C'}));

    const Bytes withSpare = {'N', 'U', 'C', 'X', 1, 0, 0, 0, 'a', 0, 'z'};
    EXPECT_EQ(ReadUnicodeNameField(withSpare), "a");
    const Bytes loneSurrogate = {'N', 'U', 'C', 'X', 1, 0, 0, 0, 0x3D, 0xD8};
    EXPECT_EQ(ReadUnicodeNameField(loneSurrogate), "\xEF\xBF\xBD");
}

TEST(RecordReader, ShortZip64FieldFillsOnlyWhatItHolds)
{
    TZACentralHeader h;
    h.UncompressedSize = h.CompressedSize = h.LocalHeaderOffset = ZAZip64Marker;
    h.DiskNumberStart = ZAZip64Marker16;
    TZAZip64Values values{1, 2, 3, 4};
    Bytes data;
    za::PutU64(data, 0x500000000);
    data.resize(8 + 7, 0xEE);  // the compressed size lacks one byte
    ReadZip64Field(h, data, values);
    EXPECT_EQ(values.UncompressedSize, 0x500000000u);
    EXPECT_EQ(values.CompressedSize, 2u);
    EXPECT_EQ(values.LocalHeaderOffset, 3u);
    EXPECT_EQ(values.DiskNumber, 4u);
    ReadZip64Field(h, {}, values);
    EXPECT_EQ(values.UncompressedSize, 0x500000000u);
}

// Random bytes of every small length through every reader: nothing may read
// outside the span (the sanitizer build checks), and no count is believed.
TEST(RecordReader, GarbageNeverReadsOutsideItsSpan)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        Bytes garbage(random() % 80);
        for (auto& byte : garbage)
            byte = static_cast<std::uint8_t>(random());
        if (garbage.size() >= 4 && round % 2 == 0) {
            garbage[0] = 'N';
            garbage[1] = 'U';
            garbage[2] = 'C';
            garbage[3] = 'X';
        }
        TZALocalHeader::Read(garbage);
        TZAEndRecord::Read(garbage);
        TZAZip64EndRecord::Read(garbage);
        TZAZip64Locator::Read(garbage);
        TZAAesField::Read(garbage);
        std::size_t total = 0;
        for (const TZAExtraField& field : ReadExtraFields(garbage))
            total += field.WrittenSize();
        EXPECT_LE(total, garbage.size());
        if (const auto name = ReadUnicodeNameField(garbage)) {
            EXPECT_LE(name->size(), 3 * garbage.size());
        }
        if (const auto central = TZACentralHeader::Read(garbage)) {
            TZAZip64Values values;
            ReadZip64Field(*central, garbage, values);
        }
    }
}

}  // namespace
