// Whether an existing archive is one file, a split set or spanned disks: the
// end record tells on which volume the archive ends, and the files beside it
// tell how its volumes are named.

#include "zip/ZAFileSystem.h"
#include "zip/ZAPaths.h"
#include "zip/ZipArchiver.h"

namespace {

// The volume the archive ends on and the one its directory starts on.
struct TZAEndDisks {
    std::int64_t Last = 0;
    std::int64_t Directory = 0;
};

TZAEndDisks EndDisksOf(const TZADirManager& manager)
{
    TZAEndDisks disks;
    const TZAEndRecord& end = manager.EndRecord();
    disks.Last = end.DiskNumber;
    disks.Directory = end.DirectoryDisk;
    if (manager.Zip64Present()) {
        if (end.DiskNumber == ZAZip64Marker16) {
            disks.Last = std::int64_t{manager.Zip64Locator().TotalDisks} - 1;
        }
        if (end.DirectoryDisk == ZAZip64Marker16) {
            disks.Directory = manager.Zip64EndRecord().DirectoryDisk;
        }
    }
    return disks;
}

}  // namespace

void TZABaseArchiver::DetectArchiveKind()
{
    spanningMode_ = smNone;
    bool mayBeRemovable = true;
    if (HasExeExtension(fileName_)) {
        OpenVolumeStream(fileName_);
        if (ProbeDirectory()) {
            DetectKindFromEndRecord(true);
            KeepProbedDirectory(true, smNone);
            return;
        }
        // A self-extractor whose directory lies elsewhere heads a split set.
        spanningMode_ = smSplitting;
        const std::string last = VolumeName(fileName_, ZALastVolume, false);
        if (FileExists(last)) {
            OpenVolumeStream(last);
        }
        spanningMode_ = smNone;
        mayBeRemovable = false;
    }
    ProbeLastVolume(mayBeRemovable);
}

void TZABaseArchiver::ProbeLastVolume(bool mayBeRemovable)
{
    for (;;) {
        dirManager_.reset();
        volumeInfo_.Clear();
        volumeInfo_.SetLast(true);
        if (mayBeRemovable && !FileExists(fileName_) && IsRemovableDrive(fileName_)) {
            spanningMode_ = smSpanning;
        }
        OpenVolume(volumeInfo_);
        const TZASpanningMode probed = spanningMode_;
        const bool valid = ProbeDirectory();
        DetectKindFromEndRecord(valid);
        // Another round with the same kind would read the same directory again.
        if (valid || spanningMode_ == smNone || spanningMode_ == probed) {
            KeepProbedDirectory(valid, probed);
            return;
        }
    }
}

// The open reads the directory from the stream the probe leaves open; when
// the probe's strict read found it valid under the kind now decided, the
// open's read would find the same, so the probe's manager serves the open.
void TZABaseArchiver::KeepProbedDirectory(bool valid, TZASpanningMode probed)
{
    if (!valid || spanningMode_ != probed) {
        dirManager_.reset();
    }
}

bool TZABaseArchiver::ProbeDirectory()
{
    dirManager_ = std::make_unique<TZADirManager>(*this, archiveStream_, false);
    const bool tolerated = tolerateDamage_;
    tolerateDamage_ = false;
    bool valid = false;
    try {
        valid = dirManager_->ReadDirectory();
    } catch (const Exception&) {
        valid = false;
    }
    tolerateDamage_ = tolerated;
    return valid;
}

void TZABaseArchiver::DetectKindFromEndRecord(bool valid)
{
    const TZAEndDisks disks = EndDisksOf(*dirManager_);
    if (disks.Last == 0) {
        spanningMode_ = IsRemovableDrive(fileName_) ? smSpanning : smNone;
        return;
    }
    if (valid && disks.Directory == 0) {
        spanningMode_ = smNone;
        return;
    }
    spanningMode_ = smSplitting;
    const auto beforeLast = static_cast<std::uint32_t>(disks.Last - 1);
    if (DetectSplitNaming(beforeLast)) {
        spanningMode_ = disks.Directory == 0 ? smNone : smSplitting;
        return;
    }
    // Disks can only be asked for on a removable drive; elsewhere the missing
    // volumes make a damaged single file of what is there.
    const bool single = HasExeExtension(fileName_) || !IsRemovableDrive(fileName_);
    spanningMode_ = single ? smNone : smSpanning;
}

bool TZABaseArchiver::DetectSplitNaming(std::uint32_t volumeBeforeLast)
{
    if (FileExists(VolumeName(fileName_, volumeBeforeLast, false))) {
        return true;
    }
    spanningOptions_.AdvancedNaming = !spanningOptions_.AdvancedNaming;
    if (FileExists(VolumeName(fileName_, volumeBeforeLast, false))) {
        return true;
    }
    spanningOptions_.AdvancedNaming = !spanningOptions_.AdvancedNaming;
    return false;
}
