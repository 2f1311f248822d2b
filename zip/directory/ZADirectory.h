#pragma once

// The directory manager of an open archive: it owns the in-memory directory
// and its snapshot, finds and reads the end records, reads the central
// directory (or rebuilds it from the local headers of a damaged archive),
// writes the central directory and end records, and puts a self-extractor
// stub in front of a new archive.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ZAStream.h"
#include "platform/rtti.h"
#include "zip/directory/ZADirectoryItems.h"
#include "zip/format/ZARecords.h"

class TZABaseArchiver;
struct TZAVolumePosition;
struct TZARebuild;

// An end record found in a stream: the record, where it starts and the
// archive comment that follows it.
struct TZAEndRecordMatch {
    bool Found = false;
    TZAEndRecord Record;
    std::int64_t Position = -1;
    std::string Comment;
};

class TZADirManager : public TObject {
public:
    // For a new archive the volume counter starts at the first volume and the
    // archiver's stub, when it names one, is written at once.
    TZADirManager(TZABaseArchiver& archiver, TStream* stream, bool isNew);

    void Reset();
    // Looks through the last 65600 bytes for the end record nearest to the end
    // of the stream whose comment length matches the bytes after it.
    TZAEndRecordMatch FindEndRecord(std::uint32_t signature) const;
    // The end record with the signature(s) of the archiver's format.
    TZAEndRecordMatch FindArchiveEndRecord() const;
    // True when the stream holds an archive, or whenever damage is tolerated.
    bool IsArchive() const;

    // Reads the directory of an existing archive. False when the stream holds
    // no valid directory and the archiver tolerates no damage.
    bool ReadDirectory();
    // Writes the central directory and the end records: over the old
    // directory, or at the end of the stream when atEnd is set or there is
    // none. A given stream replaces the manager's. The last volume of a split
    // or spanned archive then takes its final name and stays open as the
    // manager's stream.
    void WriteDirectory(bool atEnd, TStream* stream = nullptr);
    void WriteStub();

    TStream* Stream() const { return stream_; }
    bool IsNew() const { return isNew_; }
    bool ExternalStream() const { return externalStream_; }
    TZADirArray& Items() { return items_; }
    TZADirArray& Snapshot() { return snapshot_; }
    const std::string& ArchiveComment() const { return archiveComment_; }
    void SetArchiveComment(const std::string& comment) { archiveComment_ = comment; }
    const TZAEndRecord& EndRecord() const { return endRecord_; }
    const TZAZip64EndRecord& Zip64EndRecord() const { return zip64EndRecord_; }
    const TZAZip64Locator& Zip64Locator() const { return zip64Locator_; }
    bool Zip64Present() const { return zip64Present_; }
    // From the end records read: the volume the directory starts on, and the
    // last volume, the one that holds the end records.
    std::int64_t DirectoryDisk() const;
    std::int64_t LastDisk() const;
    // Bytes in front of the first local header: the self-extractor stub.
    std::int64_t DataOffset() const { return dataOffset_; }
    std::int64_t DirectoryStart() const { return directoryStart_; }
    // The items were rebuilt from the local headers of a damaged archive.
    bool Rebuilt() const { return rebuilt_; }
    // False when the directory lies elsewhere than its end records say and
    // the local headers are found neither where the offsets moved by the
    // difference point nor where they are recorded: a new directory would
    // point other readers at the wrong bytes.
    bool OffsetsLineUp() const { return offsetsLineUp_; }
    // The larger of from and the end of the bytes that an item claims in the
    // stream: local header, name, extra fields, data and descriptor.
    std::int64_t ClaimedEndBeyond(const TDirItem& item, std::int64_t from) const;

private:
    const TZASignatureSet& Signatures() const;
    std::uint32_t EndSignatureOfArchive() const;
    void ReadZip64Records(std::int64_t endPosition);
    // The Zip64 end record at position, if one stands there.
    std::optional<TZAZip64EndRecord> ReadZip64EndRecordAt(std::int64_t position) const;
    void ReadItems(std::int64_t endPosition);
    // The directory of a split or spanned archive, from the volume it starts
    // on through the following ones; each volume is asked for in turn.
    za::Bytes ReadFromVolumes(std::uint64_t offset, std::uint64_t size);
    // Reads the item at index from the directory bytes at; returns where the next starts.
    std::size_t ReadCentralItem(const std::shared_ptr<const TZATextBlock>& directory,
                                std::size_t at, int index);
    // The stored name and what the extra fields tell of the item whose texts are set.
    void ReadItemFields(TDirItem& item, int index);
    void CheckSizesFitStream() const;
    void DetectStub(std::int64_t endPosition);
    // The directory's real position less the one its end records give.
    std::int64_t UnrecordedStub() const;
    bool LocalHeadersLineUp(std::int64_t shift) const;
    void AddOffsetToItems(std::int64_t shift);
    std::int64_t FindLocalHeaderFrom(std::int64_t start, std::int64_t end) const;
    bool LocalHeaderMatches(std::int64_t position, const TZACentralHeader& central) const;
    void RebuildFromLocalHeaders();
    // Takes the item whose local header (its first bytes in head) stands at
    // position; returns where the next header may start.
    std::int64_t ReadLocalItem(std::int64_t position, TZAByteSpan head, TZARebuild& rebuild) const;
    void EnterRebuiltItems(TZARebuild& rebuild);
    za::Bytes ReadAt(std::int64_t position, std::size_t count) const;
    // Returns the bytes written and where the first of them landed.
    std::uint64_t WriteCentralDirectory(TZAVolumePosition& first);
    void WriteCentralRecord(TDirItem& item, za::Bytes& out) const;
    void WriteEndRecords(std::int64_t directoryDisk, std::uint64_t directorySize);
    [[noreturn]] void Fail(int errorCode) const;

    TStream* stream_;
    bool isNew_;
    bool externalStream_;
    TZABaseArchiver& archiver_;
    TZADirArray snapshot_;
    TZADirArray items_;
    std::string archiveComment_;
    TZAZip64Locator zip64Locator_;
    TZAZip64EndRecord zip64EndRecord_;
    TZAEndRecord endRecord_;
    std::int64_t dataOffset_ = 0;
    bool zip64Present_ = false;
    bool rebuilt_ = false;
    bool offsetsLineUp_ = true;
    std::int64_t directoryStart_ = 0;
};

// The bytes of the stream from position on, fewer where it ends before count.
za::Bytes BytesAt(TStream& stream, std::int64_t position, std::size_t count);
// The bytes an item takes from its local header at position on: header,
// name, extra fields, data and, where the header announces one, the data
// descriptor, whose signature is optional. Saturates instead of overflowing.
std::int64_t ItemStretchLength(TStream& stream, std::int64_t position, const TZALocalHeader& local,
                               const TDirItem& item);
