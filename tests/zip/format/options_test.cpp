#include <gtest/gtest.h>

#include "zip/format/ZAOptions.h"

namespace {

TEST(ZAOptions, DefaultsAndAssign)
{
    TZAOptions options;
    EXPECT_TRUE(options.Recurse);
    EXPECT_EQ(options.StorePath, spRelativePath);
    EXPECT_EQ(options.ShareMode, smShareDenyNone);
    EXPECT_EQ(options.OverwriteMode, omAlways);
    EXPECT_TRUE(options.CreateDirs && options.ReplaceReadOnly && options.SetAttributes);
    EXPECT_EQ(options.SearchAttr, 10431);
    EXPECT_TRUE(options.FlushBuffers);
    EXPECT_TRUE(options.OEMFileNames);

    TZAOptions changed;
    changed.StorePath = spFullPathWithDrive;
    changed.OEMFileNames = false;
    options.Assign(changed);
    EXPECT_EQ(options.StorePath, spFullPathWithDrive);
    EXPECT_FALSE(options.OEMFileNames);
}

TEST(ZASpanningOptions, CustomVolumeSizeHasAFloor)
{
    TZASpanningOptions options;
    EXPECT_EQ(options.CustomVolumeSize(), 0);
    for (std::int64_t small :
         {std::int64_t{1000}, std::int64_t{0}, std::int64_t{-5}, std::int64_t{65535}}) {
        options.SetCustomVolumeSize(small);
        EXPECT_EQ(options.CustomVolumeSize(), 65536) << small;
    }
    options.SetCustomVolumeSize(65537);
    EXPECT_EQ(options.CustomVolumeSize(), 65537);

    TZASpanningOptions copy;
    EXPECT_FALSE(copy.FurtherOption);
    options.FurtherOption = true;
    options.AdvancedNaming = true;
    options.FirstVolumeSize = 123;
    options.VolumeSize = vs700MB;
    copy.Assign(options);
    EXPECT_TRUE(copy.AdvancedNaming);
    EXPECT_EQ(copy.FirstVolumeSize, 123);
    EXPECT_EQ(copy.VolumeSize, vs700MB);
    EXPECT_EQ(copy.CustomVolumeSize(), 65537);
    EXPECT_TRUE(copy.FurtherOption);
}

TEST(ZASpanningOptions, VolumeSizeForEachVolume)
{
    TZASpanningOptions options;
    TZAVolumeNumberInfo first;
    first.Reset(true);
    TZAVolumeNumberInfo third;
    third.SetNumber(2);

    EXPECT_EQ(options.VolumeSizeFor(third), -1);
    const std::pair<TZAVolumeSize, std::int64_t> sizes[] = {
        {vs1_44MB, 1457664},  {vs100MB, 104857600}, {vs200MB, 209715200}, {vs250MB, 262144000},
        {vs600MB, 629145600}, {vs650MB, 681574400}, {vs700MB, 734003200}, {vs4700MB, 4928307200},
    };
    for (const auto& [size, bytes] : sizes) {
        options.VolumeSize = size;
        EXPECT_EQ(options.VolumeSizeFor(third), bytes);
        EXPECT_EQ(options.VolumeSizeFor(first), bytes);
    }
    options.VolumeSize = vsCustom;
    options.SetCustomVolumeSize(1 << 20);
    EXPECT_EQ(options.VolumeSizeFor(third), 1 << 20);

    // Only the first volume takes a first-volume size, and only a positive one.
    options.FirstVolumeSize = 500000;
    EXPECT_EQ(options.VolumeSizeFor(first), 500000);
    EXPECT_EQ(options.VolumeSizeFor(third), 1 << 20);
    options.FirstVolumeSize = -1;
    EXPECT_EQ(options.VolumeSizeFor(first), 1 << 20);
}

TEST(ZAVolumeNumberInfo, KindsAndComparisons)
{
    TZAVolumeNumberInfo info;
    EXPECT_EQ(info.Kind, TZAVolumeNumberInfo::vkNotSet);
    EXPECT_EQ(info.Number, -1);
    EXPECT_EQ(info.LastNumber, -1);
    EXPECT_FALSE(info.IsFirst());
    EXPECT_FALSE(info.IsLast());

    info.Reset(false);
    EXPECT_EQ(info.Number, -1);
    info.Reset(true);
    EXPECT_TRUE(info.IsFirst());
    EXPECT_EQ(info.Kind, TZAVolumeNumberInfo::vkFirst);

    // Last before the count is known: by kind; afterwards: by number.
    TZAVolumeNumberInfo last;
    last.SetLast(true);
    EXPECT_EQ(last.Kind, TZAVolumeNumberInfo::vkLast);
    EXPECT_TRUE(last.IsLast());
    last.LastNumber = 4;
    EXPECT_FALSE(last.IsLast());
    last.SetLast(true);
    EXPECT_EQ(last.Number, 4);
    EXPECT_TRUE(last.IsLast());
    last.SetLast(false);
    EXPECT_EQ(last.Number, 4);

    TZAVolumeNumberInfo two;
    two.SetNumber(2);
    TZAVolumeNumberInfo alsoTwo;
    alsoTwo.SetNumber(2);
    TZAVolumeNumberInfo three;
    three.SetNumber(3);
    EXPECT_TRUE(TZAVolumeNumberInfo::SameVolume(two, alsoTwo));
    EXPECT_FALSE(TZAVolumeNumberInfo::SameVolume(two, three));
    EXPECT_TRUE(TZAVolumeNumberInfo::SameVolume(info, info));
    EXPECT_FALSE(TZAVolumeNumberInfo::SameVolume(info, two));

    TZAVolumeNumberInfo unsetA;
    TZAVolumeNumberInfo unsetB;
    EXPECT_TRUE(TZAVolumeNumberInfo::SameVolume(unsetA, unsetB));
    unsetB.Kind = TZAVolumeNumberInfo::vkNumbered;
    EXPECT_FALSE(TZAVolumeNumberInfo::SameVolume(unsetA, unsetB));

    two.Clear();
    EXPECT_EQ(two.Kind, TZAVolumeNumberInfo::vkNotSet);
    EXPECT_EQ(two.Number, -1);
}

TEST(ZACompression, ModesLevelsAndBuffers)
{
    const TZACompressionLevel levels[] = {clNone,   clFastest, clFastest, clFastest,
                                          clNormal, clNormal,  clNormal,  clMax,
                                          clMax,    clMax,     clNone,    clNone};
    const int buffers[] = {0x100000, 0x80000,  0x80000,  0x80000,  0x100000, 0x100000,
                           0x100000, 0x180000, 0x180000, 0x180000, 0x100000, 0x100000};
    for (int mode = 0; mode < 12; ++mode) {
        EXPECT_EQ(CompressionLevelOfMode(mode), levels[mode]) << mode;
        EXPECT_EQ(BufferSizeOfMode(mode), buffers[mode]) << mode;
    }
    EXPECT_EQ(CompressionLevelOfMode(-1), clNone);
    EXPECT_EQ(CompressionModeOfLevel(clNone), 0);
    EXPECT_EQ(CompressionModeOfLevel(clFastest), 1);
    EXPECT_EQ(CompressionModeOfLevel(clNormal), 6);
    EXPECT_EQ(CompressionModeOfLevel(clMax), 9);
}

}  // namespace
