#pragma once

// The user's regional settings as the program uses them: the decimal separator
// of every real shown or written, and the short date format of imported dates.
// They are read once from the user's locale; tests override them in a scope.

#include <string>

char DecimalSeparator();

// Day, month and year in the user's order, in the toolkit's notation:
// "dd/mm/yyyy", "mm/dd/yy", "yyyy-mm-dd", ...
std::string ShortDateFormat();

// The short date format that a locale of this name gives ("" for the user's
// own), in the same notation; empty when the locale is not installed or its
// format names other parts.
std::string LocaleShortDateFormat(const std::string& localeName);

// The character between the parts of ShortDateFormat.
char DateSeparator();

// Runs a scope as a user with other regional settings; the previous settings
// come back when the scope ends.
class ScopedRegionalSettings {
public:
    explicit ScopedRegionalSettings(char decimalSeparator,
                                    std::string shortDateFormat = ShortDateFormat());
    ~ScopedRegionalSettings();
    ScopedRegionalSettings(const ScopedRegionalSettings&) = delete;
    ScopedRegionalSettings& operator=(const ScopedRegionalSettings&) = delete;

private:
    char previousSeparator_;
    std::string previousDateFormat_;
};
