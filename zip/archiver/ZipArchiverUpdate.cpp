// The update transaction: its nesting, and the commit that writes the
// archive in place from the first change on, with a backup of the old tail
// that a rollback puts back byte for byte.

#include <algorithm>

#include "zip/archiver/ZipArchiver.h"
#include "zip/directory/ZAItemsByPlace.h"
#include "zip/files/ZAPaths.h"

namespace {

bool IsKeptOperation(TZAProcessOperation operation)
{
    return operation == poRename || operation == poChangeAttr || operation == poChangeComment;
}

}  // namespace

void TZABaseArchiver::BeginUpdate()
{
    if (spanningMode_ != smNone && updateDone_) {
        throw EZAException(62, "");
    }
    if (updateCount_ == 0) {
        SetActive(true);
        // A split or spanned set is written once, by the transaction that
        // creates it: an existing set takes none, as new end records would
        // not match the volumes it already has.
        if (spanningMode_ != smNone && openMode_ != ZAModeCreate) {
            throw EZAException(62, "");
        }
        if ((openMode_ & 3) == 0 && !externalStream_) {
            Fail(32);
        }
        // A new directory would lead other readers to bytes that are no
        // local headers.
        if (!dirManager_->OffsetsLineUp()) {
            Fail(48);
        }
        TZADirArray& items = dirManager_->Items();
        for (int i = 0; i < items.Count(); ++i) {
            items.ItemPtr(i).Pending = false;
        }
        dirManager_->Snapshot().Assign(items);
    }
    ++updateCount_;
}

void TZABaseArchiver::EndUpdate()
{
    if (updateCount_ <= 0) {
        return;
    }
    if (updateCount_ >= 2) {
        --updateCount_;
        return;
    }
    updateDone_ = true;
    CommitUpdate();
    if (spanningMode_ != smNone && openMode_ == ZAModeCreate) {
        openMode_ = ZAModeReadWrite;
    }
}

void TZABaseArchiver::ResetUpdateCount()
{
    if (updateCount_ <= 0) {
        return;
    }
    updateCount_ = 0;
    // The entries of a transaction that is not written would otherwise stay
    // in the directory without data behind them.
    if (dirManager_) {
        dirManager_->Items().Assign(dirManager_->Snapshot());
    }
}

void TZABaseArchiver::CommitUpdate()
{
    if (updateCount_ <= 0) {
        return;
    }
    updateCount_ = 0;
    cancelled_ = false;
    progressEnabled_ = true;
    commitAction_ = fxaIgnore;
    const TZAProcessOperation operation = CountPendingWork();
    int first = FirstChange();
    const std::int64_t start = CommitStart(first);
    bool archiveCut = false;
    bool directoryTouched = false;
    try {
        DoOverallProgress(operation, ppStart, cancelled_, 0.0);
        if (!cancelled_) {
            const std::int64_t writeFrom = FreePositionAfterKeptItems(first, start);
            StartVolumeGathering();
            SaveOldTail(first, start);
            archiveCut = true;
            archiveStream_->SetSize(writeFrom);
            archiveStream_->Seek(writeFrom);
            WriteItemsFrom(first, start);
        }
        if (!cancelled_ && commitAction_ != fxaAbort) {
            directoryTouched = true;
            dirManager_->WriteDirectory(true, archiveStream_);
        }
    } catch (...) {
        RollBack(start, archiveCut, directoryTouched);
        FinishVolumeGathering(false);
        throw;
    }
    if (cancelled_ || commitAction_ == fxaAbort) {
        RollBack(start, archiveCut, false);
        FinishVolumeGathering(false);
        return;
    }
    FinishCommit(operation);
}

void TZABaseArchiver::FinishCommit(TZAProcessOperation operation)
{
    FinishVolumeGathering(true);
    // The set is complete: its volumes are no longer the write's to remove.
    createdVolumes_.clear();
    DiscardBackup();
    DeleteMovedSources();
    // The archive is complete: a cancel asked for now has nothing left to stop.
    bool cancel = false;
    DoOverallProgress(operation, ppEnd, cancel, 100.0);
    if (options_.FlushBuffers && archiveStream_ != nullptr) {
        archiveStream_->Flush();
    }
}

TZAProcessOperation TZABaseArchiver::CountPendingWork()
{
    itemsProcessed_ = 0;
    itemsToProcess_ = 0;
    totalBytes_ = 0;
    bytesDone_ = 0;
    TZAProcessOperation operation = poDelete;
    TZADirArray& items = dirManager_->Items();
    for (int i = 0; i < items.Count(); ++i) {
        const TDirItem& item = items.ItemPtr(i);
        if (!item.Pending) {
            continue;
        }
        if (itemsToProcess_ == 0) {
            operation = item.Operation;
        }
        ++itemsToProcess_;
        totalBytes_ += item.UncompressedSize();
    }
    return operation;
}

int TZABaseArchiver::FirstChange()
{
    TZADirArray& items = dirManager_->Items();
    TZADirArray& snapshot = dirManager_->Snapshot();
    const int shorter = std::min(items.Count(), snapshot.Count());
    for (int i = 0; i < shorter; ++i) {
        const TDirItem& item = items.ItemPtr(i);
        if (item.Pending || item.FileName() != snapshot.ItemPtr(i).FileName()) {
            return i;
        }
    }
    return shorter;
}

// Where the rewritten part of the archive starts. The old items normally lie
// in the file in the order of their directory; where they do not, the first
// change moves back until no item in front of it lies behind the start, which
// the cut would otherwise destroy.
std::int64_t TZABaseArchiver::CommitStart(int& first)
{
    TZADirArray& snapshot = dirManager_->Snapshot();
    if (snapshot.Count() == 0) {
        return dirManager_->DataOffset();
    }
    const auto offsetOf = [&](int i) {
        return static_cast<std::int64_t>(snapshot.ItemPtr(i).LocalHeaderOffset());
    };
    std::int64_t start = dirManager_->DirectoryStart();
    for (int i = first; i < snapshot.Count(); ++i) {
        start = std::min(start, offsetOf(i));
    }
    for (int i = 0; i < first; ++i) {
        if (offsetOf(i) >= start) {
            first = i;
            break;
        }
    }
    return start;
}

// New data go after every byte that an item left in place claims. An item
// cut short by the end of the file (a truncated archive), or one whose size
// the directory overstates, reaches past the start of the rewritten part;
// zeros stand in for its missing bytes, as long as they are no more than the
// file holds. A claim beyond that is damage that no filler mends.
std::int64_t TZABaseArchiver::FreePositionAfterKeptItems(int first, std::int64_t start)
{
    const TZADirArray& snapshot = dirManager_->Snapshot();
    std::int64_t position = start;
    for (int i = 0; i < first; ++i) {
        position = dirManager_->ClaimedEndBeyond(snapshot.ItemPtr(i), position);
    }
    const std::int64_t size = archiveStream_->Size();
    if (position > size && position - size > size) {
        Fail(57);
    }
    return position;
}

// Items from the first change on are read back from a temporary file; an
// update that only appends keeps just the old directory, in memory.
void TZABaseArchiver::SaveOldTail(int first, std::int64_t start)
{
    if (first < dirManager_->Snapshot().Count()) {
        backupFileName_ = MakeTempFileName();
        backup_ = std::make_unique<TFileStream>(backupFileName_, fmCreate);
    } else {
        backup_ = std::make_unique<TMemoryStream>();
    }
    const std::int64_t size = archiveStream_->Size();
    if (size > start) {
        archiveStream_->Seek(start);
        backup_->CopyFrom(*archiveStream_, size - start);
    }
}

void TZABaseArchiver::WriteItemsFrom(int first, std::int64_t start)
{
    TZADirArray& items = dirManager_->Items();
    TZAItemsByPlace oldItems(dirManager_->Snapshot());
    for (int i = first; i < items.Count() && !cancelled_;) {
        const TDirItem& item = items.ItemPtr(i);
        if (!item.Pending || IsKeptOperation(item.Operation)) {
            CopyKeptItem(i, start, oldItems);
            ++i;
            continue;
        }
        bool stored = false;
        do {
            commitAction_ = fxaIgnore;
            stored = WriteNewItem(i);
        } while (!stored && commitAction_ == fxaRetry && !cancelled_);
        if (cancelled_ || commitAction_ == fxaAbort) {
            return;
        }
        if (stored) {
            ++itemsProcessed_;
            ++i;
        } else if (items.ItemPtr(i).Operation == poAdd) {
            items.Delete(i);
        } else {
            CopyKeptItem(i, start, oldItems);
            ++i;
        }
    }
}

// Until the archive was cut it holds its old content still, and the backup
// may be incomplete.
void TZABaseArchiver::RollBack(std::int64_t start, bool archiveCut, bool directoryTouched)
{
    dirManager_->Items().Assign(dirManager_->Snapshot());
    if (archiveCut && archiveStream_ != nullptr && backup_ && spanningMode_ == smNone) {
        archiveStream_->Seek(start);
        archiveStream_->SetSize(start);
        backup_->Seek(0);
        if (backup_->Size() > 0) {
            archiveStream_->CopyFrom(*backup_, backup_->Size());
        }
        if (directoryTouched && dirManager_->Snapshot().Count() > 0) {
            // Writing the directory moved the manager's idea of where the
            // directory and end records stand; the restored file knows.
            dirManager_->ReadDirectory();
        }
    }
    RemoveCreatedVolumes();
    DiscardBackup();
}

void TZABaseArchiver::DiscardBackup()
{
    backup_.reset();
    if (!backupFileName_.empty()) {
        DeleteFile(backupFileName_);
        backupFileName_.clear();
    }
}

void TZABaseArchiver::DeleteMovedSources()
{
    TZADirArray& items = dirManager_->Items();
    for (bool folders : {false, true}) {
        for (int i = 0; i < items.Count(); ++i) {
            const TDirItem& item = items.ItemPtr(i);
            if (!item.Pending || item.Operation != poMove || item.Source().SourceFileName.empty() ||
                item.IsDirectory() != folders) {
                continue;
            }
            if (!DeleteMovedSource(item.Source().SourceFileName, folders)) {
                return;
            }
        }
    }
}

// False when the user chose to stop deleting.
bool TZABaseArchiver::DeleteMovedSource(const std::string& path, bool folder)
{
    const auto remove = [&] {
        return folder ? RemoveFolderTree(IncludeTrailingDelimiter(path)) : DeleteFile(path);
    };
    while (true) {
        if (remove()) {
            return true;
        }
        FileSetAttr(path, 0);
        if (remove()) {
            return true;
        }
        const EZAException failure(folder ? 60 : 27, name_, {path});
        TZAAction action = fxaIgnore;
        DoProcessFileFailure(path, poMove, failure.ErrorCode(), failure.MessageIndex(),
                             failure.what(), action);
        if (action != fxaRetry) {
            return action != fxaAbort;
        }
    }
}
