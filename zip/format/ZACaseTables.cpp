#include "zip/format/ZACaseTables.h"

#include <clocale>
#include <cwctype>
#include <locale.h>
#include <string>

#include "platform/codepages.h"

namespace {

char16_t CharacterOf(std::uint8_t ansi)
{
    const std::u16string wide = Utf8ToUtf16(AnsiToUtf8(std::string(1, static_cast<char>(ansi))));
    return wide.size() == 1 ? wide[0] : u'\uFFFD';
}

// The code page's byte for a character, or the original byte when the code
// page has none.
std::uint8_t AnsiOf(wint_t character, std::uint8_t original)
{
    if (character > 0xFFFF) {
        return original;
    }
    const std::string ansi =
        Utf8ToAnsi(Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(character))));
    if (ansi.size() != 1 || (ansi[0] == '?' && character != u'?')) {
        return original;
    }
    return static_cast<std::uint8_t>(ansi[0]);
}

}  // namespace

TZACaseTables BuildCaseTables(const char* localeName)
{
    TZACaseTables tables;
    for (int i = 0; i < 256; ++i) {
        tables.Upper[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        tables.Lower[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    // A locale object of its own leaves the process's locale alone.
    const locale_t locale = newlocale(LC_CTYPE_MASK, localeName, locale_t{});
    if (locale == locale_t{}) {
        return tables;
    }
    for (int i = 0; i < 256; ++i) {
        const auto code = static_cast<std::uint8_t>(i);
        const char16_t character = CharacterOf(code);
        if (character == u'\uFFFD') {
            continue;
        }
        tables.Upper[code] = AnsiOf(towupper_l(character, locale), code);
        tables.Lower[code] = AnsiOf(towlower_l(character, locale), code);
    }
    freelocale(locale);
    return tables;
}

const TZACaseTables& ZACaseTables()
{
    static const TZACaseTables tables = BuildCaseTables("");
    return tables;
}
