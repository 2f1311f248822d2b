#include "zip/format/ZAConst.h"

#include <array>

namespace {

// Message index of each error code, by code.
constexpr std::array<int, ZAErrorCodeCount> kMessageIndexOfCode = {
    0, 1,  1,  1,  1,  2,  3,  1,  4,  5,  5,  6,  6,  7,  7,  6,  1,  8,  6,  9,  10,
    1, 11, 9,  1,  11, 13, 14, 15, 5,  6,  6,  16, 12, 17, 18, 19, 20, 6,  21, 22, 23,
    6, 23, 24, 24, 25, 26, 27, 28, 29, 30, 31, 6,  6,  32, 33, 27, 34, 34, 35, 36, 37,
};

// The texts are used letter for letter, as callers and users know them.
constexpr std::array<std::string_view, ZAMessageCount> kMessages = {
    "Unknown error",
    "Index out of bounds",
    "Invalid compression mode. Mode must be in [0-9] range",
    "Unexpected nil pointer",
    "Invalid size or check sum of file or unsupported compression format",
    "File name is blank. Specify appropriate file name",
    "File \"%s\" not found",
    "Archive is not open",
    "SFXStub property is not specified",
    "Cannot create file \"%s\"",
    "Cannot create directory \"%s\"",
    "Internal error. Update is not started",
    "Cannot open file \"%s\"",
    "Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    "Cannot delete file \"%s\"",
    "In-memory archive can be created only",
    "File is open in read-only mode",
    "Invalid compressed size, rfs.size = %d, count = %d",
    "Invalid archive file.",
    "Cannot create output file. Probably file is locked by another process. FileName = '%s'.",
    "Archive is open. You should close it beore performing this operation.",
    "Unable to create directory",
    "Cannot find Zip64 directory end record",
    "Cannot compress file '%s'. Zip64 mode is not enabled",
    "Cannot open archive file. Opening aborted or invalid file",
    "Write to stream error",
    "Cannot place SFX stub on volume. Volume size limit is too small",
    "Archive is damaged. Open failed",
    "MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive "
    "creation instead of MakeSFX",
    "Archive already has SFX stub",
    "Multi-volume archive is not allowed for custom stream",
    "Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods "
    "to add files several times",
    "Deflate64 compression method is not supported",
    "MakeSFX error",
    "Hashed list of file names is invalid",
    "Cannot delete folder \"%s\"",
    "File name is too long: \r\n\"%s\"",
    "Multiple transactions are not supported for multi-volume archives",
};

std::string ArgumentText(const TZAFormatArg& arg)
{
    if (const auto* text = std::get_if<std::string>(&arg))
        return *text;
    return std::to_string(std::get<std::int64_t>(arg));
}

}  // namespace

int ZAMessageIndexOf(int errorCode)
{
    if (errorCode < 0 || errorCode >= ZAErrorCodeCount)
        return 0;
    return kMessageIndexOfCode[static_cast<std::size_t>(errorCode)];
}

std::string_view ZAMessageText(int messageIndex)
{
    if (messageIndex < 0 || messageIndex >= ZAMessageCount)
        return kMessages[0];
    return kMessages[static_cast<std::size_t>(messageIndex)];
}

std::string ZAFormat(std::string_view text, std::initializer_list<TZAFormatArg> args)
{
    std::string result;
    result.reserve(text.size());
    auto next = args.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char conversion = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '%' && conversion == '%') {
            result += '%';
            ++i;
        } else if (c == '%' && (conversion == 's' || conversion == 'd') && next != args.end()) {
            result += ArgumentText(*next++);
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}
