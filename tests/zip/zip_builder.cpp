#include "tests/zip/zip_builder.h"

#include <zlib.h>

#include "zip/format/ZARecords.h"

namespace zatest {

std::vector<std::uint8_t> BuildZip(const std::vector<BuildEntry>& entries,
                                   const BuildOptions& options)
{
    za::Bytes file(options.Prefix.begin(), options.Prefix.end());
    const std::size_t base = options.OffsetsFromFileStart ? 0 : options.Prefix.size();
    za::Bytes directory;
    for (const auto& entry : entries) {
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.Data.data()),
                                             static_cast<uInt>(entry.Data.size())));
        const auto size = static_cast<std::uint32_t>(entry.Data.size());
        TZALocalHeader local;
        local.VersionNeeded = 20;
        local.Flags = entry.Descriptor ? ZAFlagDataDescriptor : 0;
        local.LastModTime = 0x6000;
        local.LastModDate = 0x5A21;
        local.Crc32 = entry.Descriptor ? 0 : crc;
        local.CompressedSize = entry.Descriptor ? 0 : size;
        local.UncompressedSize = local.CompressedSize;
        local.FileNameLength = static_cast<std::uint16_t>(entry.Name.size());
        TZACentralHeader central;
        central.VersionMadeBy = 20;
        central.VersionNeeded = 20;
        central.Flags = local.Flags;
        central.LastModTime = local.LastModTime;
        central.LastModDate = local.LastModDate;
        central.Crc32 = crc;
        central.CompressedSize = size;
        central.UncompressedSize = size;
        central.FileNameLength = local.FileNameLength;
        central.FileCommentLength = static_cast<std::uint16_t>(entry.Comment.size());
        central.ExternalAttributes = entry.Name.ends_with("/") ? 0x10 : 0x20;
        central.LocalHeaderOffset = static_cast<std::uint32_t>(file.size() - base);
        local.Write(file);
        za::PutBytes(file, entry.Name.data(), entry.Name.size());
        za::PutBytes(file, entry.Data.data(), entry.Data.size());
        if (entry.Descriptor) {
            za::PutU32(file, ZADataDescriptorSignature);
            za::PutU32(file, crc);
            za::PutU32(file, size);
            za::PutU32(file, size);
        }
        central.Write(directory);
        za::PutBytes(directory, entry.Name.data(), entry.Name.size());
        za::PutBytes(directory, entry.Comment.data(), entry.Comment.size());
    }
    TZAEndRecord end;
    end.EntriesOnDisk = static_cast<std::uint16_t>(entries.size());
    end.TotalEntries = end.EntriesOnDisk;
    end.DirectorySize = static_cast<std::uint32_t>(directory.size());
    end.DirectoryOffset = static_cast<std::uint32_t>(file.size() - base);
    end.CommentLength = static_cast<std::uint16_t>(options.Comment.size());
    file.insert(file.end(), directory.begin(), directory.end());
    end.Write(file);
    za::PutBytes(file, options.Comment.data(), options.Comment.size());
    return file;
}

}  // namespace zatest
