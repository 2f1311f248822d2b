#include "tests/zip/archiver_fixtures.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <zlib.h>

#include "zip/ZARecords.h"

namespace zatest {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "wqzipXXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

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

bool HasProgram(const std::string& name)
{
    return Run("command -v " + name + " >/dev/null 2>&1") == 0;
}

int Run(const std::string& commandLine)
{
    const int status = std::system(commandLine.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace zatest
