#include "zip/archiver/ZipArchiver.h"

#include <charconv>

#include "zip/files/ZAFileSystem.h"
#include "zip/files/ZAPaths.h"

namespace {

// The product name in front of the version number; this system has none.
constexpr const char* kProductName = "";
constexpr double kVersion = 5.01;

}  // namespace

TZABaseArchiver::TZABaseArchiver()
{
    SetCompressionLevel(clFastest);
    tolerateDamage_ = true;
    zip64Mode_ = zmAuto;
    unicodeFilenames_ = true;
}

TZABaseArchiver::~TZABaseArchiver()
{
    CloseArchive();
}

[[noreturn]] void TZABaseArchiver::Fail(int errorCode) const
{
    throw EZAException(errorCode, name_);
}

void TZABaseArchiver::SetCompressionLevel(TZACompressionLevel level)
{
    compressionLevel_ = level;
    compressionMode_ = static_cast<std::uint8_t>(CompressionModeOfLevel(level));
    UpdateCompressionMethod();
}

void TZABaseArchiver::SetCompressionMode(std::uint8_t mode)
{
    if (mode >= 10) {
        Fail(5);
    }
    compressionMode_ = mode;
    compressionLevel_ = CompressionLevelOfMode(mode);
    UpdateCompressionMethod();
}

std::string TZABaseArchiver::CurrentVersion() const
{
    // Formatted without the user's decimal separator: the version is a name.
    char number[16];
    const auto result =
        std::to_chars(number, number + sizeof number, kVersion, std::chars_format::fixed, 2);
    return std::string(kProductName) + " " + std::string(number, result.ptr);
}

void TZABaseArchiver::SetCurrentVersion(const std::string&) {}

void TZABaseArchiver::SetPassword(const std::string& value)
{
    password_ = value;
}

void TZABaseArchiver::UpdateCompressionMethod()
{
    compressionMethod_ = 0xFFFF;
}

void TZABaseArchiver::SetSpanningMode(TZASpanningMode mode)
{
    if (active_) {
        throw Exception("Cannot set spanning mode on open archive");
    }
    spanningMode_ = mode;
}

void TZABaseArchiver::SetActive(bool value)
{
    if (value == active_) {
        return;
    }
    if (value) {
        OpenArchive();
    } else {
        CloseArchive();
    }
}

void TZABaseArchiver::CheckActive() const
{
    if (!active_) {
        Fail(13);
    }
}

void TZABaseArchiver::CheckModifiable() const
{
    if (updateCount_ <= 0 && dirManager_ && dirManager_->Items().Count() > 0 &&
        spanningMode_ != smNone) {
        Fail(52);
    }
}

void TZABaseArchiver::SetInMemory(bool value)
{
    if (value == inMemory_) {
        return;
    }
    if (active_) {
        if (inMemory_) {
            SaveMemoryArchiveToFile();
        }
        CloseArchive();
        inMemory_ = value;
        OpenArchive();
    } else {
        inMemory_ = value;
    }
}

void TZABaseArchiver::SaveMemoryArchiveToFile()
{
    if (fileName_.empty()) {
        Fail(29);
    }
    // A memory archive that holds nothing yet gets its end records first, so
    // that the file reads back as the empty archive it is.
    if (archiveStream_->Size() == dirManager_->DataOffset()) {
        dirManager_->WriteDirectory(true);
    }
    TFileStream file(fileName_, ZAModeCreate);
    archiveStream_->Seek(0);
    file.CopyFrom(*archiveStream_, archiveStream_->Size());
}

std::uint16_t TZABaseArchiver::ModeForExistingFile() const
{
    try {
        TFileStream probe(fileName_, ZAModeReadWrite);
        return ZAModeReadWrite;
    } catch (const EFOpenError&) {
        return ZAModeReadOnly;
    }
}

void TZABaseArchiver::OpenArchive()
{
    updateDone_ = false;
    if (!inMemory_ && ExtractFileName(fileName_).empty()) {
        Fail(9);
    }
    std::uint16_t mode = ZAModeCreate;
    if (!inMemory_ && FileExists(fileName_)) {
        mode = ModeForExistingFile();
    }
    OpenArchive(mode);
}

void TZABaseArchiver::OpenArchive(std::uint16_t mode)
{
    updateDone_ = false;
    if (!inMemory_ && ExtractFileName(fileName_).empty()) {
        Fail(10);
    }
    if (mode < ZAModeCreate && !FileExists(fileName_) && spanningMode_ != smSpanning &&
        !IsRemovableDrive(fileName_)) {
        throw EZAException(12, name_, {fileName_});
    }
    if (mode < ZAModeCreate && inMemory_) {
        Fail(28);
    }
    // The memory stream is the one archive; each volume of a set is a file
    // of its own, which the memory stream would have to give way to.
    if (inMemory_ && spanningMode_ != smNone) {
        Fail(51);
    }
    CloseArchive();
    externalStream_ = false;
    openMode_ = mode;
    if (openMode_ == ZAModeCreate || inMemory_) {
        StartNewArchive();
    } else {
        ReadExistingArchive();
    }
    active_ = true;
    if (AfterOpen) {
        AfterOpen(this);
    }
}

void TZABaseArchiver::StartNewArchive()
{
    createdVolumes_.clear();
    if (inMemory_) {
        ownedArchiveStream_ = std::make_unique<TMemoryStream>();
        archiveStream_ = ownedArchiveStream_.get();
    } else {
        TZAVolumeNumberInfo first;
        first.Reset(true);
        OpenVolume(first);
    }
    try {
        dirManager_ = std::make_unique<TZADirManager>(*this, archiveStream_, true);
    } catch (...) {
        RemoveCreatedVolumes();
        throw;
    }
}

void TZABaseArchiver::ReadExistingArchive()
{
    DetectArchiveKind();
    if (dirManager_) {
        return;
    }
    dirManager_ = std::make_unique<TZADirManager>(*this, archiveStream_, false);
    if (!dirManager_->ReadDirectory() && !tolerateDamage_) {
        dirManager_.reset();
        ReleaseArchiveStream();
        Fail(48);
    }
}

void TZABaseArchiver::ReleaseArchiveStream()
{
    if (!externalStream_) {
        ownedArchiveStream_.reset();
    }
    archiveStream_ = nullptr;
    volumeStream_ = nullptr;
}

void TZABaseArchiver::CloseArchive()
{
    if (active_) {
        try {
            CommitUpdate();
            // A new archive closed without items still gets its end records,
            // unless a failed write took its volumes away.
            if (archiveStream_ != nullptr && HasVolumeFile() &&
                archiveStream_->Size() == dirManager_->DataOffset()) {
                dirManager_->WriteDirectory(true);
            }
        } catch (const std::exception&) {
            // Closing always closes; a failed commit has already restored the
            // file, and a new set that failed here leaves no volume behind.
            RemoveCreatedVolumes();
        }
        active_ = false;
    }
    createdVolumes_.clear();
    ReleaseArchiveStream();
    dirManager_.reset();
}

TZipArchiver::TZipArchiver()
{
    SetZipFormat(true);
    SetZip64Mode(zmDisabled);
    // The base constructor ran before this class's method rule was in force.
    UpdateCompressionMethod();
}

void TZipArchiver::SetPassword(const std::string& value)
{
    if (Password().empty()) {
        SetEncryptionMethod(caPkzipClassic);
    }
    TZABaseArchiver::SetPassword(value);
}

void TZipArchiver::UpdateCompressionMethod()
{
    SetCompressionMethod(CompressionMode() != 0 ? 8 : 0);
}
