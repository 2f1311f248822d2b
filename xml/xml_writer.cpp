#include "xml/xml_writer.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr std::string_view kLineEnd = "\r\n";

// Replacement of each byte that cannot stand as it is; empty for the others.
// Line breaks and tabs are written as references so that they survive the
// reader's end-of-line and attribute normalisation and keep one element per line.
using EscapeTable = std::array<std::string_view, 256>;

constexpr EscapeTable MakeEscapes(bool forAttribute)
{
    EscapeTable table{};
    table['&'] = "&amp;";
    table['<'] = "&lt;";
    table['>'] = "&gt;";
    table['\r'] = "&#13;";
    table['\n'] = "&#10;";
    if (forAttribute) {
        table['"'] = "&quot;";
        table['\t'] = "&#9;";
    }
    return table;
}

constexpr EscapeTable kTextEscapes = MakeEscapes(false);
constexpr EscapeTable kAttributeEscapes = MakeEscapes(true);

class IndentedWriter {
public:
    explicit IndentedWriter(std::string& out) : out_(out) {}

    void Element(pugi::xml_node node, std::size_t depth)
    {
        const std::string_view name = node.name();
        Indent(depth);
        out_ += '<';
        out_ += name;
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
             attribute = attribute.next_attribute()) {
            out_ += ' ';
            out_ += attribute.name();
            out_ += "=\"";
            Escaped(attribute.value(), kAttributeEscapes);
            out_ += '"';
        }
        pugi::xml_node child = node.first_child();
        const char* ownText = node.value();
        if (!child && *ownText == '\0') {
            out_ += "/>\r\n";
            return;
        }
        out_ += '>';
        Escaped(ownText, kTextEscapes);
        if (IsText(child)) {
            Escaped(child.value(), kTextEscapes);
            child = child.next_sibling();
        }
        if (child) {
            out_ += kLineEnd;
            Children(child, depth + 1);
            Indent(depth);
        }
        out_ += "</";
        out_ += name;
        out_ += ">\r\n";
    }

private:
    static bool IsText(pugi::xml_node node)
    {
        return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
    }

    void Children(pugi::xml_node first, std::size_t depth)
    {
        for (pugi::xml_node child = first; child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                Element(child, depth);
            } else if (IsText(child)) {
                Indent(depth);
                Escaped(child.value(), kTextEscapes);
                out_ += kLineEnd;
            }
        }
    }

    void Indent(std::size_t depth) { out_.append(2 * depth, ' '); }

    void Escaped(const char* text, const EscapeTable& escapes)
    {
        const char* run = text;
        const char* p = text;
        for (; *p != '\0'; ++p) {
            const std::string_view replacement = escapes[static_cast<unsigned char>(*p)];
            if (replacement.empty())
                continue;
            out_.append(run, p);
            out_ += replacement;
            run = p + 1;
        }
        out_.append(run, p);
    }

    std::string& out_;
};

}  // namespace

std::string WriteIndentedXml(pugi::xml_node root)
{
    std::string out;
    out.reserve(4096);
    out += kByteOrderMark;
    out += kDeclaration;
    out += kLineEnd;
    if (root)
        IndentedWriter(out).Element(root, 0);
    return out;
}
