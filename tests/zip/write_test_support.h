#pragma once

// Helpers of the tests that write archives with the archiver: source files,
// the archiver set up on a scratch folder, the raw records of what it wrote,
// and the peers (unzip, 7-Zip, Python's zipfile) that judge the result.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/archiver/ZipArchiver.h"

namespace writetest {

using wqtest::Quoted;
using wqtest::ReadFileBytes;
using wqtest::TempFolder;
using wqtest::ToBytes;
using wqtest::WriteFileBytes;

// Text shaped like the program's data files: repeated elements with numbers.
inline std::string XmlLikeText(std::size_t size, unsigned seed = 1)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ozr_wq>\r\n";
    unsigned state = seed;
    while (text.size() < size) {
        state = state * 1103515245 + 12345;
        text += "  <station id=\"" + std::to_string(state % 100000) + "\" value=\"" +
                std::to_string((state >> 8) % 9999) + "," + std::to_string(state % 97) +
                "\" year=\"2008\"/>\r\n";
    }
    text.resize(size);
    return text;
}

// Bytes that deflate cannot shrink.
inline za::Bytes NoiseBytes(std::size_t size, unsigned seed = 7)
{
    za::Bytes bytes(size);
    unsigned state = seed;
    for (auto& b : bytes) {
        state = state * 1664525 + 1013904223;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

// An archive file in a scratch folder, with its temporary files kept in a
// folder of their own so that tests can see that none is left.
struct ArchiveSetup {
    TempFolder folder;
    std::string source = folder / "src";
    std::string temp = folder / "tmp";
    std::string archive = folder / "out.zip";

    ArchiveSetup()
    {
        std::filesystem::create_directories(source);
        std::filesystem::create_directories(temp);
    }
    std::string Source(const std::string& name) const { return source + "/" + name; }
    std::string AddSource(const std::string& name, const za::Bytes& bytes) const
    {
        const std::string path = Source(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, bytes);
        return path;
    }
    // The archiver opened on the archive, storing paths relative to src.
    void Prepare(TZipArchiver& zip, std::uint16_t mode = ZAModeCreate) const
    {
        zip.SetFileName(archive);
        zip.SetTempDir(temp);
        zip.OpenArchive(mode);
        zip.SetBaseDir(source);
    }
    bool TempFolderEmpty() const { return std::filesystem::is_empty(temp); }
};

// One record of an archive as found in its central directory, with the local
// header and the entry's raw data behind it.
struct WrittenEntry {
    TZACentralHeader central;
    std::string name;  // the raw name bytes
    std::vector<TZAExtraField> centralExtra;
    TZALocalHeader local;
    std::vector<TZAExtraField> localExtra;
    za::Bytes data;  // the stored bytes between the local header and the next record
    std::size_t localOffset = 0;
    std::size_t dataEnd = 0;  // offset in the archive of the byte after the data
};

std::vector<WrittenEntry> ReadEntries(const za::Bytes& archive);
const TZAExtraField* FindField(const std::vector<TZAExtraField>& fields, std::uint16_t id);
// Raw deflate data inflated.
za::Bytes Inflate(const za::Bytes& raw);

// Each check passes when the peer is missing; 7-Zip and unzip must then be
// installed for the peers to judge anything, which the tests state once.
void ExpectUnzipAccepts(const std::string& archive, const std::string& password = "");
void ExpectSevenZipAccepts(const std::string& archive, const std::string& password = "");
// Python's zipfile reads every entry back and compares it with the file of the
// same name under sourceFolder.
void ExpectPythonReadsBack(const std::string& archive, const std::string& sourceFolder,
                           const std::string& password = "");
// 7-Zip extracts the archive and every file equals the one under sourceFolder.
void ExpectSevenZipExtractsSources(const std::string& archive, const std::string& sourceFolder,
                                   const std::string& password = "");

}  // namespace writetest
