#pragma once

// The option objects of the archiver, the counter of the current volume and
// the mappings between compression modes, levels and buffer sizes.

#include <cstdint>

enum TZAStorePathMode { spNoPath, spRelativePath, spFullPath, spFullPathWithDrive };
enum TZAFileShareMode {
    smShareCompat,
    smShareExclusive,
    smShareDenyWrite,
    smShareDenyRead,
    smShareDenyNone
};
enum TZAOverwriteMode { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TZAVolumeSize {
    vsAutoDetect,
    vsCustom,
    vs1_44MB,
    vs100MB,
    vs200MB,
    vs250MB,
    vs600MB,
    vs650MB,
    vs700MB,
    vs4700MB
};
enum TZACompressionLevel { clNone, clFastest, clNormal, clMax };

// The attribute mask of file searches unless a caller gives one.
inline constexpr std::int32_t ZADefaultSearchAttr = 10431;

class TZAOptions {
public:
    bool Recurse = true;
    TZAStorePathMode StorePath = spRelativePath;
    TZAFileShareMode ShareMode = smShareDenyNone;
    TZAOverwriteMode OverwriteMode = omAlways;
    // Kept and copied for the callers that set them; the writer does not use them.
    bool CreateDirs = true;
    bool ReplaceReadOnly = true;
    bool SetAttributes = true;
    std::int32_t SearchAttr = ZADefaultSearchAttr;
    bool FlushBuffers = true;
    bool OEMFileNames = true;

    void Assign(const TZAOptions& source) { *this = source; }
};

class TZAVolumeNumberInfo;

class TZASpanningOptions {
public:
    // Below this a volume could not hold the records that must stay together.
    static constexpr std::int64_t MinCustomVolumeSize = 0x10000;

    bool AdvancedNaming = false;
    // 0 or less: the first volume takes the limit of the others.
    std::int64_t FirstVolumeSize = 0;
    TZAVolumeSize VolumeSize = vsAutoDetect;

    std::int64_t CustomVolumeSize() const { return customVolumeSize_; }
    void SetCustomVolumeSize(std::int64_t size);
    // Kept and copied with the others for callers that set it; the writer
    // does not use it.
    bool FurtherOption = false;

    void Assign(const TZASpanningOptions& source) { *this = source; }

    // The size limit of a volume in bytes; -1 when the disk's free space decides.
    std::int64_t VolumeSizeFor(const TZAVolumeNumberInfo& volume) const;

private:
    std::int64_t customVolumeSize_ = 0;
};

// Which volume the archive stream is on: the first, the last, or one by number.
class TZAVolumeNumberInfo {
public:
    enum TKind : std::int32_t { vkFirst = 0, vkLast = 1, vkNumbered = 2, vkNotSet = 3 };

    TKind Kind = vkNotSet;
    std::int32_t Number = -1;
    // -1 until the number of volumes is known.
    std::int32_t LastNumber = -1;

    void Clear();
    void Reset(bool flag);
    void SetNumber(std::int32_t number);
    void SetLast(bool flag);
    bool IsFirst() const { return Number == 0; }
    bool IsLast() const;
    static bool SameVolume(const TZAVolumeNumberInfo& a, const TZAVolumeNumberInfo& b);
};

// Modes 0-9; a mode above 9 counts as no compression.
TZACompressionLevel CompressionLevelOfMode(int mode);
int CompressionModeOfLevel(TZACompressionLevel level);
// The size of the compressor's input buffer for an item of that mode.
int BufferSizeOfMode(int mode);
