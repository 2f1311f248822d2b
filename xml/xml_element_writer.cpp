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
// reader's end-of-line and attribute normalisation and keep one element per line.
using SpecialBytes = std::array<bool, 256>;

constexpr SpecialBytes MakeSpecials(bool forAttribute)
{
    SpecialBytes special{};
    for (const unsigned char byte : {'&', '<', '>', '\r', '\n'})
        special[byte] = true;
    if (forAttribute) {
        special['"'] = true;
        special['\t'] = true;
    }
    return special;
}

constexpr SpecialBytes kTextSpecials = MakeSpecials(false);
constexpr SpecialBytes kAttributeSpecials = MakeSpecials(true);

// A NUL byte has no form in XML: a value ends there, as a value of a tree
// does, so that the file stays readable.
std::string_view UpToNul(std::string_view value)
{
    return value.substr(0, value.find('\0'));
}

std::string_view ReferenceTo(char byte)
{
    switch (byte) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\r': return "&#13;";
        case '\n': return "&#10;";
        default: return "&#9;";
    }
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
    PutEscaped(UpToNul(Value), kAttributeSpecials);
    Put('"');
}

void TXMLElementWriter::Text(std::string_view Text)
{
    if (open_.empty())
        throw EXMLDocError("Text can only stand inside an element");
    Text = UpToNul(Text);
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
    std::size_t run = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (!Special[static_cast<unsigned char>(Text[i])])
            continue;
        Put(Text.substr(run, i - run));
        Put(ReferenceTo(Text[i]));
        run = i + 1;
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
