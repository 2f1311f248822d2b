#include "appcore/check_messages.h"

#include <algorithm>

bool TCheckMessages::HasErrors() const
{
    return std::ranges::any_of(items_, [](const TCheckMessage& m) { return m.Kind == mkError; });
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string text;
    const std::string_view* next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "%s") == 0 && next != args.end()) {
            text += *next++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
