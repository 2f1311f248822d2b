#pragma once

// A file's text with bytes that are not UTF-8 in place of a marker, and the
// start of the message that refuses it.

#include <algorithm>
#include <string>
#include <string_view>

struct TSpoiledText {
    std::string Text;
    std::size_t Line;  // of the bytes put in, counted from 1
};

inline TSpoiledText Spoil(std::string Text, std::string_view Marker, std::string_view Bytes)
{
    const auto at = static_cast<std::ptrdiff_t>(Text.find(Marker));
    Text.replace(static_cast<std::size_t>(at), Marker.size(), Bytes);
    return {Text, 1 + static_cast<std::size_t>(std::count(Text.begin(), Text.begin() + at, '\n'))};
}

inline std::string NotUtf8Refusal(const std::string& Path, std::size_t Line)
{
    return "The file \"" + Path + "\" is not well-formed XML: Invalid UTF-8 byte sequence (line " +
           std::to_string(Line) + ", column ";
}
