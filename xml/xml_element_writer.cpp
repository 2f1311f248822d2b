#include "xml/xml_element_writer.h"

#include <cstring>

#include "xml/xml_error.h"

namespace {

constexpr std::string_view kPrologue = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr std::string_view kLineEnd = "\r\n";

// The sink gets pieces of about this size: large enough that handing them
// over costs nothing, small enough that a large file never sits in memory.
constexpr std::size_t kSinkPieceBytes = 1 << 20;

// The bytes that cannot stand as they are in a text or an attribute value.
// Line breaks and tabs are written as references so that they survive the
// reader's end-of-line and attribute normalisation and keep one element per
// line. The other control characters and every byte above 0x7F are looked at
// one by one: XML 1.0 cannot hold the former at all, and the latter must form
// characters of well-formed UTF-8.
using SpecialBytes = std::array<bool, 256>;

constexpr SpecialBytes MakeSpecials(bool forAttribute)
{
    SpecialBytes special{};
    for (int byte = 0; byte < 0x20; ++byte)
        special[byte] = byte != '\t' || forAttribute;
    for (int byte = 0x80; byte < 0x100; ++byte)
        special[byte] = true;
    for (const unsigned char byte : {'&', '<', '>'})
        special[byte] = true;
    if (forAttribute)
        special['"'] = true;
    return special;
}

constexpr SpecialBytes kTextSpecials = MakeSpecials(false);
constexpr SpecialBytes kAttributeSpecials = MakeSpecials(true);

// The reference of a byte that stands for itself, or nothing when the byte
// is a character that XML 1.0 cannot hold.
std::string_view ReferenceTo(char byte)
{
    switch (byte) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\r': return "&#13;";
        case '\n': return "&#10;";
        case '\t': return "&#9;";
        default: return {};
    }
}

// The length of the UTF-8 character that Text begins with, when it is
// well-formed and one that XML 1.0 allows; otherwise, as a negative number,
// the length of the bytes that one replacement character stands for: the
// longest start of a well-formed sequence, at least one byte.
int LeadingCharacterLength(std::string_view Text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(Text[i]); };
    const unsigned char lead = byte(0);
    int length = 0;
    unsigned char low = 0x80;  // the range of the second byte; the later ones take 80 to BF
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    } else {
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= Text.size() || byte(i) < low || byte(i) > high)
            return -i;
        low = 0x80;
        high = 0xBF;
    }
    const bool isFFFEOrFFFF = length == 3 && lead == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE;
    return isFFFEOrFFFF ? -3 : length;
}

}  // namespace

TXMLElementWriter::TXMLElementWriter(TSink Sink) : sink_(std::move(Sink))
{
    buffer_.resize(sink_ ? kSinkPieceBytes + kSinkPieceBytes / 4 : 4096);
    Put(kPrologue);
}

void TXMLElementWriter::StartElement(std::string_view Tag)
{
    if (open_.empty() && rootWritten_)
        throw EXMLDocError("Only one top level element is allowed in an XML document");
    rootWritten_ = true;
    BeginChildLine();
    Indent(open_.size());
    Put('<');
    Put(Tag);
    open_.push_back({Tag, TContent::Nothing});
}

void TXMLElementWriter::Attribute(std::string_view Name, std::string_view Value)
{
    if (open_.empty() || open_.back().Content != TContent::Nothing)
        throw EXMLDocError("An attribute can only follow the start of its element");
    Put(' ');
    Put(Name);
    Put("=\"");
    PutEscaped(Value, kAttributeSpecials);
    Put('"');
}

void TXMLElementWriter::Text(std::string_view Text)
{
    if (open_.empty())
        throw EXMLDocError("Text can only stand inside an element");
    if (Text.empty())
        return;
    TOpenElement& element = open_.back();
    switch (element.Content) {
        case TContent::Nothing:
            Put('>');
            element.Content = TContent::Text;
            break;
        case TContent::Text: break;
        case TContent::Children: Indent(open_.size());
    }
    PutEscaped(Text, kTextSpecials);
    if (element.Content == TContent::Children)
        Put(kLineEnd);
    FlushIfFull();
}

void TXMLElementWriter::EndElement()
{
    if (open_.empty())
        throw EXMLDocError("No element is open to be ended");
    const TOpenElement element = open_.back();
    open_.pop_back();
    switch (element.Content) {
        case TContent::Nothing: Put("/>\r\n"); return;
        case TContent::Children: Indent(open_.size()); break;
        case TContent::Text: break;
    }
    Put("</");
    Put(element.Tag);
    Put(">\r\n");
    FlushIfFull();
}

void TXMLElementWriter::TextElement(std::string_view Tag, std::string_view Text)
{
    StartElement(Tag);
    this->Text(Text);
    EndElement();
}

void TXMLElementWriter::Finish()
{
    if (!open_.empty())
        throw EXMLDocError("The element \"" + std::string(open_.back().Tag) + "\" was not ended");
    if (sink_ && used_ > 0) {
        sink_(std::string_view(buffer_.data(), used_));
        used_ = 0;
    }
}

std::string TXMLElementWriter::TakeText()
{
    buffer_.resize(used_);
    used_ = 0;
    return std::move(buffer_);
}

void TXMLElementWriter::BeginChildLine()
{
    if (open_.empty())
        return;
    TOpenElement& parent = open_.back();
    if (parent.Content == TContent::Nothing)
        Put('>');
    if (parent.Content != TContent::Children)
        Put(kLineEnd);
    parent.Content = TContent::Children;
}

void TXMLElementWriter::Indent(std::size_t Depth)
{
    MakeRoom(2 * Depth);
    std::memset(buffer_.data() + used_, ' ', 2 * Depth);
    used_ += 2 * Depth;
}

void TXMLElementWriter::Put(std::string_view Bytes)
{
    MakeRoom(Bytes.size());
    std::memcpy(buffer_.data() + used_, Bytes.data(), Bytes.size());
    used_ += Bytes.size();
}

void TXMLElementWriter::Put(char Byte)
{
    MakeRoom(1);
    buffer_[used_++] = Byte;
}

void TXMLElementWriter::PutEscaped(std::string_view Text, const SpecialBytes& Special)
{
    std::size_t run = 0;  // the start of the bytes that stand as they are
    std::size_t i = 0;
    while (i < Text.size()) {
        if (!Special[static_cast<unsigned char>(Text[i])]) {
            ++i;
            continue;
        }
        std::string_view replacement = ReferenceTo(Text[i]);
        std::size_t replaced = 1;
        if (replacement.empty()) {
            const int length = Text[i] & 0x80 ? LeadingCharacterLength(Text.substr(i)) : -1;
            if (length > 0) {
                i += static_cast<std::size_t>(length);
                continue;
            }
            replacement = XmlReplacementCharacter;
            replaced = static_cast<std::size_t>(-length);
        }
        Put(Text.substr(run, i - run));
        Put(replacement);
        i += replaced;
        run = i;
    }
    Put(Text.substr(run));
}

void TXMLElementWriter::Grow(std::size_t Bytes)
{
    buffer_.resize(std::max(2 * buffer_.size(), used_ + Bytes));
}

void TXMLElementWriter::FlushIfFull()
{
    if (sink_ && used_ >= kSinkPieceBytes) {
        sink_(std::string_view(buffer_.data(), used_));
        used_ = 0;
    }
}
