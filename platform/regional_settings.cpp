#include "platform/regional_settings.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <locale.h>

namespace {

struct RegionalSettings {
    char decimalSeparator = '.';
    std::string shortDateFormat = "dd/mm/yyyy";
};

// "%d.%m.%Y" -> "dd.mm.yyyy"; formats with other conversions say nothing we can use.
std::string ToolkitDateFormat(const char* posixFormat)
{
    std::string result;
    for (const char* p = posixFormat; *p; ++p) {
        if (*p != '%') {
            result += *p;
            continue;
        }
        switch (*++p) {
            case 'd': result += "dd"; break;
            case 'e': result += "d"; break;
            case 'm': result += "mm"; break;
            case 'y': result += "yy"; break;
            case 'Y': result += "yyyy"; break;
            default: return {};
        }
    }
    return result;
}

RegionalSettings ReadFromLocale()
{
    RegionalSettings settings;
    // The plain C locale says nothing about the user; keep the defaults then.
    const char* locale = std::setlocale(LC_ALL, "");
    if (!locale || std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0)
        return settings;
    if (const char* point = nl_langinfo(RADIXCHAR); point && point[0] && !point[1])
        settings.decimalSeparator = point[0];
    if (const std::string format = LocaleShortDateFormat(""); !format.empty())
        settings.shortDateFormat = format;
    // Number formatting of the C library stays locale-independent; the program
    // applies the separator itself.
    std::setlocale(LC_NUMERIC, "C");
    return settings;
}

RegionalSettings& Current()
{
    static RegionalSettings settings = ReadFromLocale();
    return settings;
}

}  // namespace

std::string LocaleShortDateFormat(const std::string& localeName)
{
    const locale_t locale = newlocale(LC_TIME_MASK, localeName.c_str(), locale_t{});
    if (locale == locale_t{})
        return {};
    std::string format = ToolkitDateFormat(nl_langinfo_l(D_FMT, locale));
    freelocale(locale);
    return format;
}

char DecimalSeparator()
{
    return Current().decimalSeparator;
}

std::string ShortDateFormat()
{
    return Current().shortDateFormat;
}

char DateSeparator()
{
    for (const char c : Current().shortDateFormat)
        if (c != 'd' && c != 'm' && c != 'y')
            return c;
    return '/';
}

ScopedRegionalSettings::ScopedRegionalSettings(char decimalSeparator, std::string shortDateFormat)
    : previousSeparator_(DecimalSeparator()), previousDateFormat_(ShortDateFormat())
{
    Current().decimalSeparator = decimalSeparator;
    Current().shortDateFormat = std::move(shortDateFormat);
}

ScopedRegionalSettings::~ScopedRegionalSettings()
{
    Current().decimalSeparator = previousSeparator_;
    Current().shortDateFormat = previousDateFormat_;
}
