#pragma once

// A small writer that lays out a whole archive from the records the way the
// archiver does, for the peers to judge the records.

#include <string>
#include <vector>

#include "zip/codec/ZAPkzipCrypt.h"
#include "zip/codec/ZAZlib.h"
#include "zip/format/ZACrc32.h"
#include "zip/format/ZARecords.h"

namespace ziptest {

// Raw deflate data as the archiver stores them.
inline za::Bytes RawDeflate(const za::Bytes& data, int level)
{
    TZADeflateStream stream(level);
    za::Bytes out(TZADeflateStream::OutputBound(data.size()));
    out.resize(stream.Deflate(data.data(), data.size(), out.data(), out.size(), Z_FINISH));
    return out;
}

struct TestEntry {
    std::string name;  // UTF-8, "/" as separator
    za::Bytes data;
    bool deflate = true;
    std::string password;
    bool zip64 = false;  // every 32-bit field saturated, as in the "always" Zip64 mode
    std::uint32_t attributes = 0x20;
};

struct ArchiveOptions {
    bool oemFileNames = true;
    bool unicodeNames = true;
    std::string comment;
};

// Lays out an archive with local headers, data, central directory and end
// records as the archiver writes them.
inline za::Bytes BuildArchive(const std::vector<TestEntry>& entries, const ArchiveOptions& opt = {})
{
    za::Bytes archive;
    std::vector<TZACentralHeader> headers;
    std::vector<std::vector<TZAExtraField>> extras;
    std::vector<TZAZip64Values> values;
    const TZADosDateTime when = DateTimeToDos({2024, 5, 17, 13, 45, 30});
    for (const TestEntry& e : entries) {
        const std::uint32_t crc = Crc32Of(e.data.data(), e.data.size());
        // An empty source has no data at all and is stored.
        za::Bytes payload = e.deflate && !e.data.empty() ? RawDeflate(e.data, 6) : e.data;
        if (!e.password.empty()) {
            TZAPkzipKeys keys;
            InitKeys(e.password, keys);
            const TZAEncryptionHeader header = MakeEncryptionHeader(keys, crc);
            EncryptBuffer(payload.data(), 0, payload.size(), keys);
            payload.insert(payload.begin(), header.begin(), header.end());
        }
        const std::string name = EncodeStoredName(e.name, opt.oemFileNames);
        TZALocalHeader local;
        local.VersionNeeded = VersionValue(e.zip64, opt.oemFileNames, false);
        local.Flags = e.password.empty() ? 0 : ZAFlagEncrypted;
        local.Method = e.data.empty() ? ZAMethodStored : e.deflate ? ZAMethodDeflate : 0;
        local.LastModTime = when.Time;
        local.LastModDate = when.Date;
        local.Crc32 = crc;
        local.CompressedSize = e.zip64 ? ZAZip64Marker : static_cast<std::uint32_t>(payload.size());
        local.UncompressedSize =
            e.zip64 ? ZAZip64Marker : static_cast<std::uint32_t>(e.data.size());
        local.FileNameLength = static_cast<std::uint16_t>(name.size());
        std::vector<TZAExtraField> kept;
        za::Bytes extra;
        if (e.zip64)
            MakeLocalZip64Field(e.data.size(), payload.size()).Write(extra);
        if (opt.unicodeNames) {
            kept.push_back(MakeUnicodeNameField(e.name));
            kept.back().Write(extra);
        }
        local.ExtraFieldLength = static_cast<std::uint16_t>(extra.size());

        TZACentralHeader central;
        central.VersionMadeBy = central.VersionNeeded = local.VersionNeeded;
        central.Flags = local.Flags;
        central.Method = local.Method;
        central.LastModTime = local.LastModTime;
        central.LastModDate = local.LastModDate;
        central.Crc32 = crc;
        central.CompressedSize = local.CompressedSize;
        central.UncompressedSize = local.UncompressedSize;
        central.FileNameLength = local.FileNameLength;
        central.ExternalAttributes = e.attributes;
        central.LocalHeaderOffset =
            e.zip64 ? ZAZip64Marker : static_cast<std::uint32_t>(archive.size());
        values.push_back({e.data.size(), payload.size(), archive.size(), 0});
        headers.push_back(central);
        extras.push_back(kept);

        local.Write(archive);
        archive.insert(archive.end(), name.begin(), name.end());
        archive.insert(archive.end(), extra.begin(), extra.end());
        archive.insert(archive.end(), payload.begin(), payload.end());
    }
    TZADirectoryInfo info;
    info.Count = entries.size();
    info.DirectoryOffset = archive.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        za::Bytes extra;
        if (const auto zip64 = MakeCentralZip64Field(headers[i], values[i]))
            zip64->Write(extra);
        for (const TZAExtraField& field : extras[i])
            field.Write(extra);
        headers[i].ExtraFieldLength = static_cast<std::uint16_t>(extra.size());
        headers[i].Write(archive);
        const std::string name = EncodeStoredName(entries[i].name, opt.oemFileNames);
        archive.insert(archive.end(), name.begin(), name.end());
        archive.insert(archive.end(), extra.begin(), extra.end());
    }
    info.DirectorySize = archive.size() - info.DirectoryOffset;
    if (NeedsZip64EndRecord(archive.size(), info.Count)) {
        const std::uint64_t zip64End = archive.size();
        MakeZip64EndRecord(info).Write(archive);
        MakeZip64Locator(0, zip64End).Write(archive);
    }
    MakeEndRecord(ZAStandardSignatures, info, static_cast<std::uint16_t>(opt.comment.size()))
        .Write(archive);
    archive.insert(archive.end(), opt.comment.begin(), opt.comment.end());
    return archive;
}

}  // namespace ziptest
