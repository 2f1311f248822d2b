#include "platform/drives.h"

#include <gtest/gtest.h>

namespace {

TEST(Drives, SystemLayerReportsAFixedDriveWithFreeSpace)
{
    EXPECT_EQ(Drives().DriveType("/tmp/x.zip"), TDriveType::dtFixed);
    EXPECT_GT(Drives().FreeSpace("/tmp/not/yet/there/x.zip"), 0);
    EXPECT_FALSE(Drives().SetVolumeLabel("/tmp/x.zip", "pkback# 001"));
}

class FloppyDrive final : public TDriveLayer {
public:
    TDriveType DriveType(const std::string&) override { return TDriveType::dtRemovable; }
    std::int64_t FreeSpace(const std::string&) override { return 1457664; }
    bool SetVolumeLabel(const std::string&, const std::string& newLabel) override
    {
        label = newLabel;
        return true;
    }
    std::string label;
};

TEST(Drives, ATestLayerReplacesTheSystemForItsScope)
{
    FloppyDrive floppy;
    {
        ScopedDriveLayer installed(floppy);
        EXPECT_EQ(Drives().DriveType("a.zip"), TDriveType::dtRemovable);
        EXPECT_EQ(Drives().FreeSpace("a.zip"), 1457664);
        EXPECT_TRUE(Drives().SetVolumeLabel("a.zip", "pkback# 001"));
    }
    EXPECT_EQ(floppy.label, "pkback# 001");
    EXPECT_EQ(Drives().DriveType("a.zip"), TDriveType::dtFixed);
}

}  // namespace
