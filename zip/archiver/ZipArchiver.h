#pragma once

// The zip archiver component. TZABaseArchiver carries the engine: its
// properties, opening and closing, the update transaction, the per-item
// writer, volumes and the overridable questions it asks. TZipArchiver fixes
// the zip flavour: standard signatures, deflate or stored entries, Zip64 off
// unless asked for.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ZAStream.h"
#include "platform/rtti.h"
#include "zip/directory/ZADirectory.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/format/ZAExcept.h"
#include "zip/format/ZAOptions.h"
#include "zip/format/ZipArchiverTypes.h"

class TZAVolumeStream;

// Volume number of the last volume, whatever its number.
inline constexpr std::uint32_t ZALastVolume = 0xFFFFFFFF;
// No bytes need to stay on the volume of the ones written.
inline constexpr std::uint32_t ZANoKeepTogether = 0xFFFFFFFF;

// Where a record was written: the volume (0 for the first) and the offset in it.
struct TZAVolumePosition {
    std::int32_t Volume = 0;
    std::int64_t Offset = 0;
};

struct TZAPkzipKeys;
class TZABlockDeflater;
class TZAItemsByPlace;

// File modes of an open archive.
constexpr std::uint16_t ZAModeCreate = fmCreate;
constexpr std::uint16_t ZAModeReadWrite = fmOpenReadWrite | fmShareDenyWrite;  // 34
constexpr std::uint16_t ZAModeReadOnly = fmOpenRead | fmShareDenyNone;         // 64

class TZABaseArchiver : public TObject {
public:
    TZABaseArchiver();
    ~TZABaseArchiver() override;
    TZABaseArchiver(const TZABaseArchiver&) = delete;
    TZABaseArchiver& operator=(const TZABaseArchiver&) = delete;

    // The component's name, put in front of its error messages when set.
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    bool ExtractCorruptedFiles() const { return extractCorruptedFiles_; }
    void SetExtractCorruptedFiles(bool value) { extractCorruptedFiles_ = value; }
    TZACompressionLevel CompressionLevel() const { return compressionLevel_; }
    void SetCompressionLevel(TZACompressionLevel level);
    std::uint8_t CompressionMode() const { return compressionMode_; }
    // 10 or more: code 5, nothing changes.
    void SetCompressionMode(std::uint8_t mode);
    std::string CurrentVersion() const;
    // Accepted and ignored: the version is the component's own.
    void SetCurrentVersion(const std::string& value);
    const std::string& Password() const { return password_; }
    virtual void SetPassword(const std::string& value);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }
    const std::string& BaseDir() const { return baseDir_; }
    void SetBaseDir(const std::string& value) { baseDir_ = value; }
    const std::string& TempDir() const { return tempDir_; }
    void SetTempDir(const std::string& value) { tempDir_ = value; }
    TZASpanningMode SpanningMode() const { return spanningMode_; }
    // Refused with a plain Exception while the archive is open.
    void SetSpanningMode(TZASpanningMode mode);
    TZASpanningOptions& SpanningOptions() { return spanningOptions_; }
    const std::string& SFXStub() const { return sfxStub_; }
    void SetSFXStub(const std::string& value) { sfxStub_ = value; }
    TZAOptions& Options() { return options_; }
    const std::vector<std::string>& FileMasks() const { return fileMasks_; }
    void SetFileMasks(const std::vector<std::string>& masks) { fileMasks_ = masks; }
    const std::vector<std::string>& ExclusionMasks() const { return exclusionMasks_; }
    void SetExclusionMasks(const std::vector<std::string>& masks) { exclusionMasks_ = masks; }
    const std::vector<std::string>& NoCompressionMasks() const { return noCompressionMasks_; }
    void SetNoCompressionMasks(const std::vector<std::string>& masks)
    {
        noCompressionMasks_ = masks;
    }
    // Threads that deflate the blocks of one large item; 0, the default,
    // gives one per processor core. The archive's bytes do not depend on it.
    unsigned CompressionThreads() const { return compressionThreads_; }
    void SetCompressionThreads(unsigned count) { compressionThreads_ = count; }
    bool InMemory() const { return inMemory_; }
    // While open, switching closes the archive and opens it again on the new
    // medium; a memory archive is first saved to FileName.
    void SetInMemory(bool value);

    TZAFileProgressEvent OnFileProgress;
    TZAProgressEvent OnOverallProgress;
    TZACopyTempFileProgressEvent OnCopyTempFileProgress;
    TZAConfirmOverwriteEvent OnConfirmOverwrite;
    TZAConfirmProcessFileEvent OnConfirmProcessFile;
    TNotifyEvent AfterOpen;
    TZAOnPasswordEvent OnPassword;
    TZAProcessFileFailureEvent OnProcessFileFailure;
    TZAOnRequestBlankVolumeEvent OnRequestBlankVolume;
    TZAOnRequestFirstVolumeEvent OnRequestFirstVolume;
    TZAOnRequestLastVolumeEvent OnRequestLastVolume;
    TZAOnRequestMiddleVolumeEvent OnRequestMiddleVolume;
    TZAOnDiskFullEvent OnDiskFull;
    TZAOnStoreFileEvent OnStoreFile;
    TZAOnExtractFileEvent OnExtractFile;

    // Chooses the mode: create when in memory or the file is missing, else
    // read-write, or read-only when the file cannot be written.
    void OpenArchive();
    // Creates (ZAModeCreate) or reads an existing archive (ZAModeReadWrite,
    // ZAModeReadOnly). An archive open before is committed and closed first.
    // An archive in memory is never split or spanned: code 51.
    void OpenArchive(std::uint16_t mode);
    // Commits a pending update and closes; failures of that commit are not
    // reported, the archive is closed all the same.
    void CloseArchive();
    bool Active() const { return active_; }
    void SetActive(bool value);
    void CheckActive() const;
    void CheckModifiable() const;

    // State of the open archive.
    int UpdateCount() const { return updateCount_; }
    bool ZipFormat() const { return zipFormat_; }
    bool ExternalStream() const { return externalStream_; }
    const std::string& VolumeFileName() const { return volumeFileName_; }
    TZAVolumeNumberInfo& VolumeInfo() { return volumeInfo_; }
    std::uint16_t OpenMode() const { return openMode_; }
    bool Cancelled() const { return cancelled_; }
    bool ProgressEnabled() const { return progressEnabled_; }
    bool TolerateDamage() const { return tolerateDamage_; }
    // Cleared by the volume probes so that their test of a directory is strict.
    void SetTolerateDamage(bool value) { tolerateDamage_ = value; }
    bool UpdateDone() const { return updateDone_; }
    TZADirManager* DirManager() const { return dirManager_.get(); }
    std::uint16_t CompressionMethod() const { return compressionMethod_; }
    TStream* ArchiveStream() const { return archiveStream_; }

    bool OEMFileNames() const { return options_.OEMFileNames; }

    // Volumes and temporary files.
    //
    // A new, empty temporary file "FC....tmp" in TempDir, else $TMPDIR, else
    // /tmp; the caller opens it with fmCreate and deletes it when done.
    std::string MakeTempFileName() const;
    // The file name of a volume of the archive called name; ZALastVolume
    // names the last one. With probeOther, a volume missing under the current
    // naming is looked for under the other one.
    std::string VolumeName(const std::string& name, std::uint32_t volumeNumber,
                           bool probeOther) const;
    // Opens the volume given, asking for disks and checking their free space
    // while an archive is created; code 45 when the user cancels.
    void OpenVolume(const TZAVolumeNumberInfo& volume);
    // Writes to stream, moving on to the next volume whenever the current one
    // is full; returns the bytes written. keepTogether (not ZANoKeepTogether)
    // counts bytes that must follow on the same volume as these, so that none
    // of them lands on a volume of their own.
    std::size_t WriteToVolumes(TStream& stream, const void* buffer, std::size_t count,
                               std::uint32_t keepTogether = ZANoKeepTogether);
    // Writes records that lie one after another in bytes, recordSizes long,
    // so that none straddles two volumes: the records that fit the room of a
    // volume go in one write, the next one starts the next volume. Only a
    // record larger than an empty volume is cut. Returns where the first
    // byte landed; code 46 on a short write.
    TZAVolumePosition WriteRecordsToVolumes(TStream& stream, const za::Bytes& bytes,
                                            const std::vector<std::size_t>& recordSizes);
    // WriteToVolumes; code 46 when fewer bytes were taken.
    void WriteChecked(TStream& stream, const void* buffer, std::size_t count);
    // Copies an item written in full into its buffer onto the volumes:
    // its first headerSize bytes (local header, name, extra fields) on one
    // volume, then the data with the copy progress. Returns where the local
    // header landed, which the item's directory record must name. A cancel
    // sets Cancelled and stops the copy.
    TZAVolumePosition CopyToVolumes(TStream& source, std::size_t headerSize);
    // Writes the whole buffer to stream; after a short write asks DoDiskFull
    // and writes again from the same position until the disk takes the data.
    // False, with Cancelled set, when the user gives up.
    bool WriteWithRetry(TStream& stream, const void* buffer, std::size_t count);
    // A spanned archive on a floppy drive is gathered in memory and put on
    // each disk in one piece: the commit starts the gathering and finishes it,
    // writing the last disk unless the commit was cancelled or aborted.
    void StartVolumeGathering();
    void FinishVolumeGathering(bool writeLastVolume);
    // The last step of writing the directory: the last volume of a split or
    // spanned archive takes its final name (VolumeName of ZALastVolume,
    // mostly the archive's own) and is opened again for reading and writing.
    void NameLastVolume();
    // A failed write of a new split or spanned archive removes the volume
    // files it created, and no volume stays open; files that were there
    // before are never removed.
    void RemoveCreatedVolumes();
    // Bytes free to the caller on the drive of path; the drive layer decides.
    static std::int64_t DiskFreeSpace(const std::string& path);

    // The update transaction and adding files.
    //
    // Adds every file matching fileMask, and every folder too when searchAttr
    // holds the directory bit 16, in one update transaction; the archive file
    // itself is never added.
    void AddFiles(const std::string& fileMask, std::int32_t searchAttr = ZADefaultSearchAttr,
                  const std::string& exclusionMask = "");
    // Adds the one file of exactly that name, "*" and "?" in it being
    // characters of the name, in one update transaction, as AddFiles would
    // add it.
    void AddFile(const std::string& fileName, std::int32_t searchAttr = ZADefaultSearchAttr);
    // Transactions nest; the outermost EndUpdate writes the changes.
    void BeginUpdate();
    void EndUpdate();
    // Closes a transaction without writing it; the items it entered are dropped.
    void ResetUpdateCount();

protected:
    virtual void UpdateCompressionMethod();

    TZip64Mode Zip64Mode() const { return zip64Mode_; }
    void SetZip64Mode(TZip64Mode mode) { zip64Mode_ = mode; }
    bool UnicodeFilenames() const { return unicodeFilenames_; }
    void SetUnicodeFilenames(bool value) { unicodeFilenames_ = value; }
    TZACryptoAlgorithm EncryptionMethod() const { return encryptionMethod_; }
    void SetEncryptionMethod(TZACryptoAlgorithm method) { encryptionMethod_ = method; }
    void SetZipFormat(bool value) { zipFormat_ = value; }
    void SetCompressionMethod(std::uint16_t method) { compressionMethod_ = method; }

    // The questions the archiver asks: each fires its event when one is
    // assigned.
    virtual void DoOverallProgress(TZAProcessOperation operation, TZAProgressPhase phase,
                                   bool& cancel, double progress);
    virtual void DoFileProgress(const std::string& fileName, double progress,
                                TZAProcessOperation operation, TZAProgressPhase phase,
                                bool& cancel);
    virtual void DoCopyTempFileProgress(double progress, TZAProgressPhase phase, bool& cancel);
    virtual void DoConfirmOverwrite(const std::string& sourceFileName, std::string& destFileName,
                                    bool& confirm);
    virtual void DoConfirmProcessFile(const std::string& fileName, TZAProcessOperation operation,
                                      bool& confirm);
    virtual void DoPassword(const std::string& fileName, std::string& newPassword, bool& skipFile);
    virtual void DoProcessFileFailure(const std::string& fileName, TZAProcessOperation operation,
                                      int nativeError, int errorCode,
                                      const std::string& errorMessage, TZAAction& action);
    virtual void DoRequestBlankVolume(int volumeNumber, std::string& volumeFileName, bool& cancel);
    virtual void DoRequestFirstVolume(std::string& volumeFileName, bool& cancel);
    virtual void DoRequestLastVolume(std::string& volumeFileName, bool& cancel);
    virtual void DoRequestMiddleVolume(int volumeNumber, std::string& volumeFileName, bool& cancel);
    virtual void DoDiskFull(int volumeNumber, const std::string& volumeFileName, bool& cancel);
    virtual void DoExtraEvent(std::uint8_t kind, std::uint32_t a, std::uint32_t b, std::uint32_t c);
    virtual void DoStoreFile(std::string& fileName, std::uint32_t& fileAttr, std::string& comment,
                             const std::string& originalFileName);
    virtual void DoExtractFile(std::string& fileName, std::uint32_t& fileAttr,
                               const std::string& comment);

    // Writes the pending changes of the update transaction.
    void CommitUpdate();
    // Compresses and writes the item from its source; False when it was not
    // stored (the commit's action then says what comes next).
    bool WriteNewItem(int index);
    // Copies an unchanged item from the backup of the old archive, which holds
    // the old archive from position start on.
    void CopyKeptItem(int index, std::int64_t start, TZAItemsByPlace& oldItems);
    // Replaces the archive stream by a file stream on name, opened with OpenMode.
    void OpenVolumeStream(const std::string& name);
    // The largest item of a split or spanned archive that is held in memory
    // on its way into the volumes; a larger one goes through a temporary file.
    void SetItemMemoryLimit(std::int64_t bytes) { itemMemoryLimit_ = bytes; }
    [[noreturn]] void Fail(int errorCode) const;

private:
    // Adding files and committing them.
    struct SearchRequest;
    struct ItemJob;
    void AddInTransaction(const std::string& fileMask, std::int32_t searchAttr,
                          const std::string& exclusionMask, bool exactName);
    void SearchFiles(SearchRequest& request);
    void SearchMask(SearchRequest& request, const std::string& base, const std::string& mask,
                    bool recurse);
    void SearchFolders(SearchRequest& request, const std::string& mask, const std::string& expanded,
                       bool recurse);
    void AddNamedEntry(const SearchRequest& request, const std::string& path);
    bool AddFoundEntry(const SearchRequest& request, const std::string& path,
                       const TSearchRec& found);
    int EnterItem(const std::string& path, const TSearchRec& found);
    bool KeepsExistingItem(int index, const std::string& path, const std::string& storedName,
                           TZADosDateTime entryTime);
    std::string ExpandMask(const std::string& base, const std::string& mask) const;
    bool MatchesPathMask(const std::string& path, const std::string& mask) const;
    bool MatchesAnyMask(const std::string& path, const std::vector<std::string>& masks) const;
    TZAProcessOperation CountPendingWork();
    int FirstChange();
    std::int64_t CommitStart(int& first);
    std::int64_t FreePositionAfterKeptItems(int first, std::int64_t start);
    void SaveOldTail(int first, std::int64_t start);
    void WriteItemsFrom(int first, std::int64_t start);
    void FinishCommit(TZAProcessOperation operation);
    void RollBack(std::int64_t start, bool archiveCut, bool directoryTouched);
    void DiscardBackup();
    void DeleteMovedSources();
    bool DeleteMovedSource(const std::string& path, bool folder);
    void WriteItem(ItemJob& job);
    void OpenItemSource(ItemJob& job);
    void PlaceItem(ItemJob& job);
    void WriteLocalHeader(ItemJob& job);
    void WriteItemData(ItemJob& job);
    bool ReadIntoDeflater(ItemJob& job, TZABlockDeflater& deflater, std::uint64_t& read);
    void FinishItemData(ItemJob& job, std::uint32_t crc, std::uint64_t read);
    bool WriteEncryptionHeader(ItemJob& job, std::uint32_t crc, TZAPkzipKeys& keys);
    std::uint32_t ChecksumOfSource(ItemJob& job);
    bool ReportChunkProgress(const ItemJob& job, std::uint64_t done);
    void StoreItemSizes(ItemJob& job, TZACentralHeader& header);
    // The local header of the job's item with its CRC and sizes still zero.
    TZALocalHeader LocalHeaderOf(const ItemJob& job) const;
    void PatchLocalHeader(ItemJob& job);
    void SetLocalHeaderOffset(TDirItem& item, std::uint64_t position);

    std::string searchBaseDir_;
    int itemsProcessed_ = 0;
    int itemsToProcess_ = 0;
    std::uint64_t totalBytes_ = 0;
    std::uint64_t bytesDone_ = 0;
    TZAAction commitAction_ = fxaIgnore;
    // The old archive from the commit's start on, put back by a rollback.
    std::unique_ptr<TStream> backup_;
    std::string backupFileName_;

    void ReleaseArchiveStream();
    static bool HasExeExtension(const std::string& name);
    bool IsSelfExtracting(const std::string& name) const;
    // The name without its extension, folder included.
    static std::string ExtractBaseName(const std::string& name);
    // The name of a volume under one naming, in lower case where the
    // archiver makes it up.
    std::string FormVolumeName(const std::string& name, std::uint32_t volumeNumber, bool advanced,
                               bool selfExtracting) const;
    std::string VolumeOnDisk(const std::string& volume) const;
    void OpenVolumeFile(const std::string& name, std::uint16_t mode);
    void OpenBlankVolume(const TZAVolumeNumberInfo& volume);
    void OpenExistingVolume(const TZAVolumeNumberInfo& volume);
    // The free space, or the largest number when the drive cannot tell.
    static std::int64_t FreeSpaceOf(const std::string& path);
    std::int64_t RoomOnVolume(const TStream& stream) const;
    // The volume after the current one has a larger size limit, or none.
    bool NextVolumeTakesMore() const;
    void MoveToNextVolume(TStream& stream);
    void CopyDataToVolumes(TStream& source, std::int64_t size);
    // False once a failed write removed the volumes of a new set.
    bool HasVolumeFile() const;
    // Finds whether an existing archive is one file, split or spanned, and
    // opens the volume that holds its directory. Leaves the directory manager
    // of its probe when that read the directory the open needs.
    void DetectArchiveKind();
    void ProbeLastVolume(bool mayBeRemovable);
    bool ProbeDirectory();
    // Keeps the probe's directory manager for the open, or drops it.
    void KeepProbedDirectory(bool valid, TZASpanningMode probed);
    void DetectKindFromEndRecord(bool valid);
    bool DetectSplitNaming(std::uint32_t volumeBeforeLast);

    // The built-in answers of the Do... operations when no handler is assigned.
    void PromptOverwrite(const std::string& sourceFileName, const std::string& destFileName,
                         bool& confirm);
    void PromptPassword(const std::string& fileName, std::string& newPassword, bool& skipFile);
    TZAAction PromptProcessFileFailure(int nativeError, const std::string& errorMessage);
    // True when the user confirmed with OK.
    bool AskForDisk(const std::string& text);
    bool AskForLastDisk(const std::string& volumeFileName);
    bool PromptDiskFull(int volumeNumber, const std::string& volumeFileName);
    void StartNewArchive();
    void ReadExistingArchive();
    void SaveMemoryArchiveToFile();
    std::uint16_t ModeForExistingFile() const;

    std::string name_;
    bool extractCorruptedFiles_ = false;
    TZACompressionLevel compressionLevel_ = clNone;
    std::uint8_t compressionMode_ = 0;
    std::string password_;
    std::string fileName_;
    std::string baseDir_;
    std::string tempDir_;
    TZASpanningMode spanningMode_ = smNone;
    TZASpanningOptions spanningOptions_;
    std::string sfxStub_;
    TZAOptions options_;
    std::vector<std::string> fileMasks_;
    std::vector<std::string> exclusionMasks_;
    std::vector<std::string> noCompressionMasks_;
    bool inMemory_ = false;
    unsigned compressionThreads_ = 0;
    std::int64_t itemMemoryLimit_ = 8 << 20;
    TZAExtraEvent extraEvent_;

    TZip64Mode zip64Mode_ = zmAuto;
    bool unicodeFilenames_ = true;
    TZACryptoAlgorithm encryptionMethod_ = caPkzipClassic;

    int updateCount_ = 0;
    bool active_ = false;
    bool zipFormat_ = false;
    bool externalStream_ = false;
    std::string volumeFileName_;
    TZAVolumeNumberInfo volumeInfo_;
    std::uint16_t openMode_ = 0;
    bool cancelled_ = false;
    bool progressEnabled_ = false;
    bool tolerateDamage_ = true;
    bool updateDone_ = false;
    std::unique_ptr<TZADirManager> dirManager_;
    std::uint16_t compressionMethod_ = 0xFFFF;
    // The archive stream; owned unless the caller handed it in.
    TStream* archiveStream_ = nullptr;
    std::unique_ptr<TStream> ownedArchiveStream_;
    // The archive stream when it is the archiver's own file stream.
    TZAVolumeStream* volumeStream_ = nullptr;
    // The volume files a new split or spanned archive created and has not
    // yet completed as a set.
    std::vector<std::string> createdVolumes_;
};

class TZipArchiver : public TZABaseArchiver {
public:
    TZipArchiver();

    using TZABaseArchiver::EncryptionMethod;
    using TZABaseArchiver::SetEncryptionMethod;
    using TZABaseArchiver::SetUnicodeFilenames;
    using TZABaseArchiver::SetZip64Mode;
    using TZABaseArchiver::UnicodeFilenames;
    using TZABaseArchiver::Zip64Mode;

    // A password set for the first time puts traditional encryption in force.
    void SetPassword(const std::string& value) override;

protected:
    void UpdateCompressionMethod() override;
};
