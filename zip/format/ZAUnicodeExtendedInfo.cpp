#include "zip/format/ZAUnicodeExtendedInfo.h"

#include "platform/ZAEndian.h"
#include "platform/codepages.h"

bool ReadUnicodeExtendedInfo(TUnicodeExtendedInfo& info, const std::uint8_t* data,
                             std::size_t length)
{
    if (length < 4) {
        return false;
    }
    info.Signature = za::GetU32(data);
    if (info.Signature != ZAUnicodeExtendedSignature || length < 8) {
        return false;
    }
    const std::uint64_t count = za::GetU32(data + 4);
    if (count * 2 > length - 8) {
        return false;
    }
    std::u16string name(static_cast<std::size_t>(count), u'\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
        name[i] = static_cast<char16_t>(za::GetU16(data + 8 + 2 * i));
    }
    info.FileName = Utf16ToUtf8(name);
    return true;
}
