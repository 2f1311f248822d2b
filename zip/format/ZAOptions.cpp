#include "zip/format/ZAOptions.h"

#include <algorithm>
#include <array>

void TZASpanningOptions::SetCustomVolumeSize(std::int64_t size)
{
    customVolumeSize_ = std::max(size, MinCustomVolumeSize);
}

std::int64_t TZASpanningOptions::VolumeSizeFor(const TZAVolumeNumberInfo& volume) const
{
    if (volume.IsFirst() && FirstVolumeSize > 0)
        return FirstVolumeSize;
    static constexpr std::array<std::int64_t, 8> kFixedSizes = {
        1457664, 104857600, 209715200, 262144000, 629145600, 681574400, 734003200, 4928307200,
    };
    switch (VolumeSize) {
        case vsAutoDetect: return -1;
        case vsCustom: return customVolumeSize_;
        default: return kFixedSizes[static_cast<std::size_t>(VolumeSize - vs1_44MB)];
    }
}

void TZAVolumeNumberInfo::Clear()
{
    Kind = vkNotSet;
    Number = -1;
    LastNumber = -1;
}

void TZAVolumeNumberInfo::Reset(bool flag)
{
    if (!flag)
        return;
    Number = 0;
    Kind = vkFirst;
}

void TZAVolumeNumberInfo::SetNumber(std::int32_t number)
{
    Kind = vkNumbered;
    Number = number;
}

void TZAVolumeNumberInfo::SetLast(bool flag)
{
    if (!flag)
        return;
    Number = LastNumber;
    Kind = vkLast;
}

bool TZAVolumeNumberInfo::IsLast() const
{
    if (LastNumber != -1)
        return Number == LastNumber;
    return Kind == vkLast;
}

bool TZAVolumeNumberInfo::SameVolume(const TZAVolumeNumberInfo& a, const TZAVolumeNumberInfo& b)
{
    if (a.IsLast())
        return b.IsLast();
    if (a.IsFirst())
        return b.IsFirst();
    if (a.Number < 0)
        return a.Kind == b.Kind;
    return a.Number == b.Number;
}

TZACompressionLevel CompressionLevelOfMode(int mode)
{
    if (mode >= 1 && mode <= 3)
        return clFastest;
    if (mode >= 4 && mode <= 6)
        return clNormal;
    if (mode >= 7 && mode <= 9)
        return clMax;
    return clNone;
}

int CompressionModeOfLevel(TZACompressionLevel level)
{
    switch (level) {
        case clFastest: return 1;
        case clNormal: return 6;
        case clMax: return 9;
        default: return 0;
    }
}

int BufferSizeOfMode(int mode)
{
    switch (CompressionLevelOfMode(mode)) {
        case clFastest: return 0x80000;
        case clMax: return 0x180000;
        default: return 0x100000;
    }
}
