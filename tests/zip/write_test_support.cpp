#include "tests/zip/write_test_support.h"

#include <zlib.h>

namespace writetest {

std::vector<WrittenEntry> ReadEntries(const za::Bytes& archive)
{
    std::vector<WrittenEntry> entries;
    const TZAByteSpan all(archive);
    std::size_t end = archive.size();
    while (end >= TZAEndRecord::Size &&
           za::GetU32(&archive[end - TZAEndRecord::Size]) != ZAStandardSignatures.EndRecord) {
        --end;
    }
    const auto record = TZAEndRecord::Read(all.subspan(end - TZAEndRecord::Size));
    std::size_t at = record->DirectoryOffset;
    if (record->DirectoryOffset == ZAZip64Marker) {
        const std::size_t locatorAt = end - TZAEndRecord::Size - TZAZip64Locator::Size;
        const auto locator = TZAZip64Locator::Read(all.subspan(locatorAt));
        at = TZAZip64EndRecord::Read(all.subspan(locator->Zip64EndOffset))->DirectoryOffset;
    }
    std::vector<std::size_t> offsets;
    while (za::GetU32(&archive[at]) == ZAStandardSignatures.CentralHeader) {
        WrittenEntry entry;
        entry.central = *TZACentralHeader::Read(all.subspan(at));
        at += TZACentralHeader::Size;
        entry.name.assign(
            archive.begin() + static_cast<std::ptrdiff_t>(at),
            archive.begin() + static_cast<std::ptrdiff_t>(at + entry.central.FileNameLength));
        at += entry.central.FileNameLength;
        entry.centralExtra = ReadExtraFields(all.subspan(at, entry.central.ExtraFieldLength));
        at += entry.central.ExtraFieldLength + entry.central.FileCommentLength;
        std::uint64_t offset = entry.central.LocalHeaderOffset;
        TZAZip64Values values;
        if (const auto* field = FindField(entry.centralExtra, ZAZip64FieldId)) {
            ReadZip64Field(entry.central, field->Data, values);
            if (offset == ZAZip64Marker) {
                offset = values.LocalHeaderOffset;
            }
        }
        entry.localOffset = offset;
        entry.local = *TZALocalHeader::Read(all.subspan(offset));
        const std::size_t extraAt = offset + TZALocalHeader::Size + entry.local.FileNameLength;
        entry.localExtra = ReadExtraFields(all.subspan(extraAt, entry.local.ExtraFieldLength));
        offsets.push_back(extraAt + entry.local.ExtraFieldLength);
        std::uint64_t compressed = entry.central.CompressedSize;
        if (compressed == ZAZip64Marker) {
            compressed = values.CompressedSize;
        }
        entry.data.assign(
            archive.begin() + static_cast<std::ptrdiff_t>(offsets.back()),
            archive.begin() + static_cast<std::ptrdiff_t>(offsets.back() + compressed));
        entry.dataEnd = offsets.back() + compressed;
        entries.push_back(std::move(entry));
    }
    return entries;
}

const TZAExtraField* FindField(const std::vector<TZAExtraField>& fields, std::uint16_t id)
{
    for (const auto& field : fields) {
        if (field.HeaderID == id) {
            return &field;
        }
    }
    return nullptr;
}

za::Bytes Inflate(const za::Bytes& raw)
{
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    za::Bytes out;
    za::Bytes block(1 << 16);
    stream.next_in = const_cast<Bytef*>(raw.data());
    stream.avail_in = static_cast<uInt>(raw.size());
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = block.data();
        stream.avail_out = static_cast<uInt>(block.size());
        result = inflate(&stream, Z_NO_FLUSH);
        out.insert(out.end(), block.data(), block.data() + (block.size() - stream.avail_out));
        if (result == Z_BUF_ERROR && stream.avail_in == 0) {
            break;
        }
    }
    inflateEnd(&stream);
    return out;
}

void ExpectUnzipAccepts(const std::string& archive, const std::string& password)
{
    if (!wqtest::HasProgram("unzip")) {
        return;
    }
    const std::string pass = password.empty() ? "" : " -P " + Quoted(password);
    const auto result = wqtest::RunWithOutput("unzip -t" + pass + " " + Quoted(archive));
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

void ExpectSevenZipAccepts(const std::string& archive, const std::string& password)
{
    const std::string sevenZip = wqtest::SevenZipProgram();
    if (sevenZip.empty()) {
        return;
    }
    const auto result =
        wqtest::RunWithOutput(sevenZip + " t -p" + Quoted(password) + " " + Quoted(archive));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("Warnings"), std::string::npos) << result.output;
}

void ExpectPythonReadsBack(const std::string& archive, const std::string& sourceFolder,
                           const std::string& password)
{
    if (!wqtest::HasProgram("python3")) {
        return;
    }
    const std::string script =
        "import sys, zipfile, os\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "pwd = sys.argv[3].encode() if len(sys.argv) > 3 else None\n"
        "for info in z.infolist():\n"
        "    if info.is_dir(): continue\n"
        "    data = z.read(info, pwd=pwd)\n"
        "    with open(os.path.join(sys.argv[2], info.filename), 'rb') as f:\n"
        "        assert f.read() == data, info.filename\n"
        "print('read', len(z.infolist()))\n";
    const auto result = wqtest::RunWithOutput("python3 -c " + Quoted(script) + " " +
                                              Quoted(archive) + " " + Quoted(sourceFolder) +
                                              (password.empty() ? "" : " " + Quoted(password)));
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

void ExpectSevenZipExtractsSources(const std::string& archive, const std::string& sourceFolder,
                                   const std::string& password)
{
    const std::string sevenZip = wqtest::SevenZipProgram();
    if (sevenZip.empty()) {
        return;
    }
    TempFolder out;
    const auto result = wqtest::RunWithOutput(sevenZip + " x -y -p" + Quoted(password) + " -o" +
                                              Quoted(out.Path()) + " " + Quoted(archive));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const auto compare =
        wqtest::RunWithOutput("diff -r " + Quoted(out.Path()) + " " + Quoted(sourceFolder));
    EXPECT_EQ(compare.exitCode, 0) << compare.output;
}

}  // namespace writetest
