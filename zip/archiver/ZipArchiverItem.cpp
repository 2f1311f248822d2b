// Writing one item during a commit: the local header, the data stored or
// deflated with their CRC-32 and encryption, then the header patched in place
// with the final values; and copying an unchanged item from the backup of the
// old archive.

#include <algorithm>
#include <limits>
#include <span>

#include "zip/archiver/ZipArchiver.h"
#include "zip/codec/ZACryptoTransform.h"
#include "zip/codec/ZAPkzipCrypt.h"
#include "zip/codec/ZAZlib.h"
#include "zip/directory/ZAItemsByPlace.h"
#include "zip/files/ZAPaths.h"
#include "zip/files/ZASpillStream.h"
#include "zip/format/ZACrc32.h"

namespace {

constexpr std::uint64_t kZip64Limit = ZAZip64Marker;
constexpr std::uint16_t kAesVendorVersion = 2;

std::uint16_t ShareFlag(TZAFileShareMode mode)
{
    switch (mode) {
        case smShareExclusive: return fmShareExclusive;
        case smShareDenyWrite: return fmShareDenyWrite;
        case smShareDenyRead: return 0x30;
        case smShareDenyNone: return fmShareDenyNone;
        default: return 0;
    }
}

int AesKeyBits(TZACryptoAlgorithm method)
{
    switch (method) {
        case caAES_128: return 128;
        case caAES_192: return 192;
        default: return 256;
    }
}

// The largest growth deflate and encryption can add to a source: stored
// blocks, a flush point per buffer and the encryption's own bytes. Sources
// that may end up at 4 GiB or beyond reserve room for the local Zip64 field.
bool MayNeedZip64Sizes(std::uint64_t sourceSize)
{
    const std::uint64_t growth = sourceSize / 1024 + 0x10000;
    return sourceSize >= kZip64Limit - std::min(growth, kZip64Limit);
}

std::uint32_t Saturated(std::uint64_t value, bool always, std::uint64_t& wide, bool& zip64)
{
    if (value < kZip64Limit && !always) {
        return static_cast<std::uint32_t>(value);
    }
    wide = value;
    zip64 = true;
    return ZAZip64Marker;
}

}  // namespace

// What one item's write needs between its steps.
struct TZABaseArchiver::ItemJob {
    explicit ItemJob(TDirItem& target) : item(target) {}
    ~ItemJob() { ReleaseSource(); }
    ItemJob(const ItemJob&) = delete;
    ItemJob& operator=(const ItemJob&) = delete;

    void ReleaseSource()
    {
        ownedSource.reset();
        source = nullptr;
    }
    bool HasData() const { return source != nullptr; }

    TDirItem& item;
    std::unique_ptr<TStream> ownedSource;
    TStream* source = nullptr;
    std::int64_t sourceStart = 0;
    std::uint64_t sourceSize = 0;
    // The archive, or the item's own buffer while volumes are written.
    TStream* output = nullptr;
    std::unique_ptr<TZASpillStream> volumeBuffer;
    std::int64_t headerPosition = 0;
    std::string nameBytes;
    std::uint16_t extraLength = 0;
    // The local header carries a Zip64 field with both sizes.
    bool localZip64 = false;
    // The method of the data; an empty source is stored.
    std::uint16_t dataMethod = 0;
    std::unique_ptr<TAESCryptoTransform> aes;
    std::uint64_t compressedSize = 0;
};

bool TZABaseArchiver::WriteNewItem(int index)
{
    TDirItem& item = dirManager_->Items().ItemPtr(index);
    UpdateCompressionMethod();
    bool cancel = false;
    DoFileProgress(std::string(item.FileName()), 0.0, item.Operation, ppStart, cancel);
    cancelled_ = cancelled_ || cancel;
    if (cancelled_) {
        commitAction_ = fxaAbort;
        return false;
    }
    const std::int64_t itemStart = archiveStream_->Position();
    ItemJob job(item);
    try {
        WriteItem(job);
    } catch (const EZAException& failure) {
        job.ReleaseSource();
        if (archiveStream_ == nullptr) {
            commitAction_ = fxaAbort;
            return false;
        }
        // Whatever part of the item reached the archive goes again, so that
        // the next item starts where this one did.
        if (spanningMode_ == smNone) {
            archiveStream_->Seek(itemStart);
            archiveStream_->SetSize(itemStart);
        }
        const std::string shownName(item.Operation == poUpdate ? item.FileName()
                                                               : item.Source().SourceFileName);
        DoProcessFileFailure(shownName, item.Operation, failure.ErrorCode(), failure.MessageIndex(),
                             failure.what(), commitAction_);
        return false;
    }
    job.ReleaseSource();
    cancel = false;
    DoFileProgress(std::string(item.FileName()), 100.0, item.Operation, ppEnd, cancel);
    cancelled_ = cancelled_ || cancel;
    if (cancelled_) {
        commitAction_ = fxaAbort;
        return false;
    }
    return true;
}

void TZABaseArchiver::WriteItem(ItemJob& job)
{
    job.item.Zip64 = false;
    job.item.SetExtraFields({});
    OpenItemSource(job);
    if (spanningMode_ != smNone) {
        // The whole item first, so that its header is complete before it
        // goes into the volumes; only a large one takes a temporary file.
        job.volumeBuffer = std::make_unique<TZASpillStream>(itemMemoryLimit_,
                                                            [this] { return MakeTempFileName(); });
        job.output = job.volumeBuffer.get();
    } else {
        job.output = archiveStream_;
    }
    PlaceItem(job);
    WriteLocalHeader(job);
    // Without the zip flavour the base class keeps the record only: no data
    // are read or written, and the header stays as the item was entered.
    if (job.HasData() && zipFormat_) {
        WriteItemData(job);
        if (cancelled_) {
            return;
        }
    }
    PatchLocalHeader(job);
    if (job.volumeBuffer) {
        const TZAVolumePosition landed = CopyToVolumes(
            *job.volumeBuffer, TZALocalHeader::Size + job.nameBytes.size() + job.extraLength);
        job.item.SetDiskNumberStart(static_cast<std::uint32_t>(landed.Volume));
        SetLocalHeaderOffset(job.item, static_cast<std::uint64_t>(landed.Offset));
    }
}

void TZABaseArchiver::OpenItemSource(ItemJob& job)
{
    TDirItem& item = job.item;
    const TDirItemSource& source = item.Source();
    if (source.SourceStream) {
        job.source = source.SourceStream.get();
        job.sourceStart = source.SourceStreamOffset;
    } else if (!item.IsDirectory()) {
        const std::string& name = source.SourceFileName;
        if (ExceedsPathLimits(name)) {
            throw EZAException(61, name_, {name});
        }
        try {
            job.ownedSource =
                std::make_unique<TFileStream>(name, fmOpenRead | ShareFlag(options_.ShareMode));
        } catch (const EFOpenError&) {
            throw EZAException(33, name_, {name});
        }
        job.source = job.ownedSource.get();
    }
    if (job.source != nullptr) {
        job.source->Seek(job.sourceStart);
        job.sourceSize = static_cast<std::uint64_t>(
            std::max<std::int64_t>(job.source->Size() - job.sourceStart, 0));
    }
}

void TZABaseArchiver::SetLocalHeaderOffset(TDirItem& item, std::uint64_t position)
{
    item.Header.LocalHeaderOffset =
        Saturated(position, zip64Mode_ == zmAlways, item.Zip64Values.LocalHeaderOffset, item.Zip64);
}

// Where the item starts, which headers it needs and how its data are stored.
void TZABaseArchiver::PlaceItem(ItemJob& job)
{
    TDirItem& item = job.item;
    job.headerPosition = job.output->Position();
    SetLocalHeaderOffset(item, static_cast<std::uint64_t>(archiveStream_->Position()));
    const bool offsetNeedsZip64 = item.Zip64;
    if (job.sourceSize >= kZip64Limit || zip64Mode_ == zmAlways) {
        item.Zip64 = true;
    }
    if (item.Zip64 && zip64Mode_ == zmDisabled) {
        throw EZAException(43, name_, {item.Source().SourceFileName});
    }
    job.localZip64 = zip64Mode_ == zmAlways || (zip64Mode_ != zmDisabled && job.HasData() &&
                                                MayNeedZip64Sizes(job.sourceSize));
    const std::uint16_t version =
        VersionValue(offsetNeedsZip64 || job.localZip64, options_.OEMFileNames, !zipFormat_);
    item.Header.VersionMadeBy = version;
    item.Header.VersionNeeded = version;
    job.dataMethod = job.HasData() && job.sourceSize > 0 ? item.Method : ZAMethodStored;
    // Without a password there is nothing to encrypt: the entry keeps its
    // real method and gets no AES field.
    if (zipFormat_ && encryptionMethod_ != caPkzipClassic && !item.Source().Password.empty() &&
        job.HasData()) {
        job.aes = std::make_unique<TAESCryptoTransform>(AesKeyBits(encryptionMethod_),
                                                        job.dataMethod, kAesVendorVersion);
    }
}

void TZABaseArchiver::WriteLocalHeader(ItemJob& job)
{
    TDirItem& item = job.item;
    item.SetNameBytes(StoredNameForm(item.FileName(), options_.OEMFileNames));
    job.nameBytes.assign(item.NameBytes());
    if (job.nameBytes.size() > ZAZip64Marker16) {
        throw EZAException(61, name_, {std::string(item.FileName())});
    }
    // The fields after the Zip64 one go into the central directory as well.
    za::Bytes kept;
    if (unicodeFilenames_) {
        MakeUnicodeNameField(item.FileName()).Write(kept);
    }
    if (job.aes) {
        job.aes->GetExtraField().Write(kept);
    }
    item.SetExtraFields(kept);
    za::Bytes extra;
    if (job.localZip64) {
        MakeLocalZip64Field(0, 0).Write(extra);
    }
    extra.insert(extra.end(), kept.begin(), kept.end());
    if (extra.size() > ZAZip64Marker16) {
        throw EZAException(61, name_, {std::string(item.FileName())});
    }
    job.extraLength = static_cast<std::uint16_t>(extra.size());
    // CRC and sizes are placeholders until the data are written.
    item.Header.Method = job.aes ? ZAMethodAes : job.dataMethod;
    za::Bytes bytes;
    LocalHeaderOf(job).Write(bytes);
    za::PutBytes(bytes, job.nameBytes.data(), job.nameBytes.size());
    bytes.insert(bytes.end(), extra.begin(), extra.end());
    WriteChecked(*job.output, bytes.data(), bytes.size());
}

TZALocalHeader TZABaseArchiver::LocalHeaderOf(const ItemJob& job) const
{
    const TZACentralHeader& central = job.item.Header;
    TZALocalHeader header;
    header.Signature = SignatureSetFor(zipFormat_).LocalHeader;
    header.VersionNeeded = central.VersionNeeded;
    header.Flags = central.Flags;
    header.Method = central.Method;
    header.LastModTime = central.LastModTime;
    header.LastModDate = central.LastModDate;
    header.FileNameLength = static_cast<std::uint16_t>(job.nameBytes.size());
    header.ExtraFieldLength = job.extraLength;
    return header;
}

void TZABaseArchiver::PatchLocalHeader(ItemJob& job)
{
    const TDirItem& item = job.item;
    const std::int64_t end = job.output->Position();
    TZALocalHeader header = LocalHeaderOf(job);
    header.Crc32 = item.Header.Crc32;
    header.CompressedSize = job.localZip64 ? ZAZip64Marker : item.Header.CompressedSize;
    header.UncompressedSize = job.localZip64 ? ZAZip64Marker : item.Header.UncompressedSize;
    za::Bytes bytes;
    header.Write(bytes);
    job.output->Seek(job.headerPosition);
    WriteChecked(*job.output, bytes.data(), bytes.size());
    if (job.localZip64) {
        bytes.clear();
        MakeLocalZip64Field(item.UncompressedSize(), item.CompressedSize()).Write(bytes);
        job.output->Seek(job.output->Position() + static_cast<std::int64_t>(job.nameBytes.size()));
        WriteChecked(*job.output, bytes.data(), bytes.size());
    }
    job.output->Seek(end);
}

bool TZABaseArchiver::ReportChunkProgress(const ItemJob& job, std::uint64_t done)
{
    const TDirItem& item = job.item;
    bool fileCancel = false;
    bool overallCancel = false;
    DoFileProgress(std::string(item.FileName()),
                   static_cast<double>(done) / static_cast<double>(job.sourceSize) * 100.0,
                   item.Operation, ppProcess, fileCancel);
    const double overall = totalBytes_ == 0 ? 50.0
                                            : static_cast<double>(bytesDone_ + done) /
                                                  static_cast<double>(totalBytes_) * 100.0;
    DoOverallProgress(item.Operation, ppProcess, overallCancel, overall);
    cancelled_ = cancelled_ || fileCancel || overallCancel;
    return !cancelled_;
}

std::uint32_t TZABaseArchiver::ChecksumOfSource(ItemJob& job)
{
    const std::size_t bufferSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(BufferSizeOfMode(job.item.CompressionMode), job.sourceSize));
    za::Bytes buffer(bufferSize);
    std::uint32_t crc = ZACrcStart;
    for (std::uint64_t left = job.sourceSize; left > 0;) {
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, bufferSize));
        const std::size_t got = job.source->Read(buffer.data(), chunk);
        crc = CrcUpdate(crc, buffer.data(), static_cast<std::ptrdiff_t>(got));
        if (got != chunk) {
            break;
        }
        left -= chunk;
    }
    job.source->Seek(job.sourceStart);
    return ~crc;
}

// The traditional header, or the AES salt and verifier, in front of the data;
// the traditional keys come out ready for the data.
bool TZABaseArchiver::WriteEncryptionHeader(ItemJob& job, std::uint32_t crc, TZAPkzipKeys& keys)
{
    za::Bytes header;
    if (job.aes) {
        job.aes->SetPassword(job.item.Source().Password);
        header = job.aes->GetHeader();
    } else {
        InitKeys(job.item.Source().Password, keys);
        const TZAEncryptionHeader traditional = MakeEncryptionHeader(keys, crc);
        header.assign(traditional.begin(), traditional.end());
    }
    job.compressedSize += header.size();
    return WriteWithRetry(*job.output, header.data(), header.size());
}

void TZABaseArchiver::WriteItemData(ItemJob& job)
{
    TDirItem& item = job.item;
    const bool encrypted = !item.Source().Password.empty();
    const std::size_t bufferSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(BufferSizeOfMode(item.CompressionMode), job.sourceSize));
    std::uint32_t crc = 0;
    TZAPkzipKeys keys;
    job.compressedSize = 0;
    bool writing = true;
    if (encrypted) {
        crc = ChecksumOfSource(job);
        writing = WriteEncryptionHeader(job, crc, keys);
    }
    // The entry holds raw deflate data with a flush point at every buffer's
    // end, or the data stored.
    TZABlockDeflater deflater(job.dataMethod != ZAMethodStored, item.CompressionMode, bufferSize,
                              job.sourceSize, compressionThreads_);
    std::uint64_t read = 0;
    std::uint64_t written = 0;
    bool reading = writing;
    while (writing && !cancelled_) {
        reading = reading && ReadIntoDeflater(job, deflater, read);
        if (!deflater.HasPending()) {
            break;
        }
        const TZADeflatedBlock block = deflater.Take();
        if (job.aes) {
            job.aes->EncryptData(block.Output.data(), 0, block.Output.data(), 0,
                                 block.Output.size());
        } else if (encrypted) {
            EncryptBuffer(block.Output.data(), 0, block.Output.size(), keys);
        }
        writing = WriteWithRetry(*job.output, block.Output.data(), block.Output.size());
        if (writing) {
            written += block.InputSize;
            job.compressedSize += block.Output.size();
        }
    }
    bytesDone_ += job.sourceSize;
    FinishItemData(job, encrypted ? crc : deflater.Crc(), written);
}

// Reads the source chunk by chunk into the deflater while it has room, with
// the progress before each chunk; false once the reading is over: the source
// read whole, a short read, or a cancel.
bool TZABaseArchiver::ReadIntoDeflater(ItemJob& job, TZABlockDeflater& deflater,
                                       std::uint64_t& read)
{
    while (!deflater.Full()) {
        if (read == job.sourceSize || (progressEnabled_ && !ReportChunkProgress(job, read))) {
            return false;
        }
        const std::span<std::uint8_t> buffer = deflater.InputBuffer();
        const auto chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), job.sourceSize - read));
        if (job.source->Read(buffer.data(), chunk) != chunk) {
            return false;
        }
        read += chunk;
        deflater.Submit(chunk, read == job.sourceSize);
    }
    return true;
}

// The authentication code behind AES data, and the final CRC and sizes.
void TZABaseArchiver::FinishItemData(ItemJob& job, std::uint32_t crc, std::uint64_t read)
{
    if (read != job.sourceSize) {
        if (!cancelled_) {
            throw EZAException(
                34, name_,
                {static_cast<std::int64_t>(job.sourceSize), static_cast<std::int64_t>(read)});
        }
        return;
    }
    if (job.aes && !cancelled_) {
        const za::Bytes code = job.aes->GetAuthCode();
        job.compressedSize += code.size();
        WriteWithRetry(*job.output, code.data(), code.size());
    }
    // The central part is worked on in a copy and put back whole.
    TZACentralHeader header = job.item.Header;
    header.Crc32 = crc;
    job.item.Method = job.dataMethod;
    StoreItemSizes(job, header);
    job.item.Header = header;
}

void TZABaseArchiver::StoreItemSizes(ItemJob& job, TZACentralHeader& header)
{
    TDirItem& item = job.item;
    const bool always = zip64Mode_ == zmAlways;
    header.CompressedSize =
        Saturated(job.compressedSize, always, item.Zip64Values.CompressedSize, item.Zip64);
    header.UncompressedSize =
        Saturated(job.sourceSize, always, item.Zip64Values.UncompressedSize, item.Zip64);
    if (item.Zip64 && zip64Mode_ == zmDisabled) {
        throw EZAException(41, name_, {item.Source().SourceFileName});
    }
    // Sizes that outgrew 32 bits without a reserved field cannot be recorded.
    if (!job.localZip64 &&
        (header.CompressedSize == ZAZip64Marker || header.UncompressedSize == ZAZip64Marker)) {
        throw EZAException(41, name_, {item.Source().SourceFileName});
    }
}

void TZABaseArchiver::CopyKeptItem(int index, std::int64_t start, TZAItemsByPlace& oldItems)
{
    TZADirArray& items = dirManager_->Items();
    TZADirArray& snapshot = dirManager_->Snapshot();
    TDirItem& item = items.ItemPtr(index);
    // A copy: the item may take the snapshot's record below.
    const std::string oldName(item.Operation == poRename ? item.Source().SecondName
                                                         : item.FileName());
    // Old items of the same name are told apart by where their data lie; the
    // record of a replaced item no longer tells.
    int oldIndex =
        item.Operation == poUpdate ? -1 : oldItems.Find(oldName, item.LocalHeaderOffset());
    if (oldIndex < 0 && !snapshot.FindName(oldName, oldIndex)) {
        Fail(7);
    }
    const TDirItem& previous = snapshot.ItemPtr(oldIndex);
    if (item.Operation == poUpdate) {
        items.SetItem(index, previous);
    }
    const auto position = static_cast<std::int64_t>(previous.LocalHeaderOffset()) - start;
    za::Bytes head(TZALocalHeader::Size);
    if (position < 0 || position >= backup_->Size()) {
        Fail(35);
    }
    backup_->Seek(position);
    const auto local =
        TZALocalHeader::Read(TZAByteSpan(head.data(), backup_->Read(head.data(), head.size())));
    if (!local || local->Signature != SignatureSetFor(zipFormat_).LocalHeader) {
        Fail(35);
    }
    const std::int64_t length = ItemStretchLength(*backup_, position, *local, previous);
    // The old archive ends before the item does: it was cut short, or its
    // sizes are wrong.
    if (length > backup_->Size() - position) {
        Fail(57);
    }
    const std::int64_t headAndName =
        static_cast<std::int64_t>(TZALocalHeader::Size) + local->FileNameLength;
    SetLocalHeaderOffset(item, static_cast<std::uint64_t>(archiveStream_->Position()));
    if (item.Zip64 && zip64Mode_ == zmDisabled) {
        throw EZAException(43, name_, {std::string(item.FileName())});
    }
    if (item.Operation == poRename) {
        item.SetNameBytes(StoredNameForm(item.FileName(), options_.OEMFileNames));
        const std::string_view name = item.NameBytes();
        TZALocalHeader renamed = *local;
        renamed.Flags = static_cast<std::uint16_t>((local->Flags & ~ZAFlagUtf8Name) |
                                                   (item.Header.Flags & ZAFlagUtf8Name));
        renamed.FileNameLength = static_cast<std::uint16_t>(name.size());
        za::Bytes bytes;
        renamed.Write(bytes);
        za::PutBytes(bytes, name.data(), name.size());
        WriteChecked(*archiveStream_, bytes.data(), bytes.size());
        // A count of 0 would copy the whole backup.
        if (length > headAndName) {
            backup_->Seek(position + headAndName);
            archiveStream_->CopyFrom(*backup_, length - headAndName);
        }
        return;
    }
    backup_->Seek(position);
    archiveStream_->CopyFrom(*backup_, length);
}
