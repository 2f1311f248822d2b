#pragma once

// Writes an XML file element by element in the program's layout, without a
// document in memory: the UTF-8 byte-order mark, the line
// <?xml version="1.0" encoding="UTF-8"?>, then one element per line, indented
// by two spaces per level, every line ending in CR LF. An element that holds
// nothing is written <tag/>; its text follows its start tag on the same line.
// Texts and attribute values are escaped so that reading the file gives them
// back unchanged, except for what XML 1.0 cannot hold at all (control
// characters other than tab, CR and LF; U+FFFE and U+FFFF; bytes that are not
// well-formed UTF-8): each such character, or each broken piece of UTF-8, is
// written as U+FFFD, so that every file written is well-formed.
//
// Tags are kept as views until their element ends: pass literals, or strings
// that outlive the element.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What a file holds in place of a character that XML 1.0 cannot hold: U+FFFD.
inline constexpr std::string_view XmlReplacementCharacter = "\xEF\xBF\xBD";

class TXMLElementWriter {
public:
    // Receives the written bytes in large pieces, in order.
    using TSink = std::function<void(std::string_view Bytes)>;

    // Without a sink the whole file stays in the writer (see TakeText).
    explicit TXMLElementWriter(TSink Sink = {});

    void StartElement(std::string_view Tag);
    // Only between StartElement and anything else of that element. An empty
    // value still writes the attribute.
    void Attribute(std::string_view Name, std::string_view Value);
    // The element's text; an empty text adds nothing.
    void Text(std::string_view Text);
    void EndElement();
    // An element holding one text: <tag>text</tag>, or <tag/> for an empty text.
    void TextElement(std::string_view Tag, std::string_view Text);

    // Every element must be ended. Hands the rest of the bytes to the sink.
    void Finish();
    // The whole file, once finished, of a writer without a sink.
    std::string TakeText();

private:
    enum class TContent { Nothing, Text, Children };
    struct TOpenElement {
        std::string_view Tag;
        TContent Content;
    };

    // The open element gets a child: its start tag or text line is ended first.
    void BeginChildLine();
    void Indent(std::size_t Depth);
    void Put(std::string_view Bytes);
    void Put(char Byte);
    void PutEscaped(std::string_view Text, const std::array<bool, 256>& Special);
    void MakeRoom(std::size_t Bytes)
    {
        if (buffer_.size() - used_ < Bytes) [[unlikely]]
            Grow(Bytes);
    }
    void Grow(std::size_t Bytes);
    void FlushIfFull();

    TSink sink_;
    // Bytes not yet handed to the sink are buffer_[0, used_); the rest is room.
    std::string buffer_;
    std::size_t used_ = 0;
    std::vector<TOpenElement> open_;
    bool rootWritten_ = false;
};
