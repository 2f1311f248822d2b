// Whether an existing archive is one file, a split set or spanned disks: the
// end record tells on which volume the archive ends, and the files beside it
// tell how its volumes are named.

#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/files/ZAPaths.h"

namespace {

// A volume request or disk-full question answered with Cancel.
constexpr int kCancelledCode = 45;

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
    } catch (const EZAException& failure) {
        // A volume the user would not give ends the open, instead of being
        // asked for once more by the open's own read.
        if (failure.ErrorCode() == kCancelledCode) {
            tolerateDamage_ = tolerated;
            throw;
        }
    } catch (const Exception&) {
        valid = false;
    }
    tolerateDamage_ = tolerated;
    return valid;
}

void TZABaseArchiver::DetectKindFromEndRecord(bool valid)
{
    const std::int64_t last = dirManager_->LastDisk();
    const std::int64_t directory = dirManager_->DirectoryDisk();
    if (last <= 0) {
        spanningMode_ = IsRemovableDrive(fileName_) ? smSpanning : smNone;
        return;
    }
    if (valid && directory == 0) {
        spanningMode_ = smNone;
        return;
    }
    spanningMode_ = smSplitting;
    if (DetectSplitNaming(static_cast<std::uint32_t>(last - 1))) {
        spanningMode_ = directory == 0 ? smNone : smSplitting;
        return;
    }
    // The volumes before the last are not beside it: a directory that starts
    // on one of them belongs to a set of disks, whatever the drive; only
    // a directory on the first volume leaves a single file on a fixed drive.
    const bool single =
        HasExeExtension(fileName_) || (directory <= 0 && !IsRemovableDrive(fileName_));
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
