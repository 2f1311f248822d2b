#pragma once

// One element of an XML document, as the data-file and regions-file code sees
// it. A TXMLNode is a cheap handle: copy it freely; it stays valid as long as
// its TXMLDocument lives.
//
// Look-ups never create nodes. An absent child comes back as a null node, and
// every read of a null node gives what an empty, freshly created element would
// give: the empty text, a null value, no attributes and no children. So callers
// may chain look-ups without testing each step.
//
// Names are passed as C strings (tags are literals everywhere in the program);
// values as string views.

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

class TXMLNode {
public:
    TXMLNode() = default;
    explicit TXMLNode(pugi::xml_node node) : node_(node) {}

    bool IsNull() const { return !node_; }
    std::string NodeName() const { return node_.name(); }

    // The first child element with this name, or a null node.
    TXMLNode ChildNode(const char* name) const { return TXMLNode(node_.child(name)); }
    // Every child element with this name, in document order.
    std::vector<TXMLNode> ChildElements(const char* name) const;
    int CountChildElements(const char* name) const;
    // The next element with this name among the following siblings, or a null node.
    TXMLNode NextSibling(const char* name) const { return TXMLNode(node_.next_sibling(name)); }
    // True when the element holds anything: a text or child nodes.
    bool HasChildNodes() const;

    // The element's single text; empty when it has no children. An element
    // that holds child elements raises EXMLDocError.
    std::string Text() const { return std::string(TextView()); }
    std::string_view TextView() const;
    // Text(), or nothing when that text is empty.
    std::optional<std::string_view> NodeValue() const;

    // The attribute's text; empty when absent.
    std::string Attribute(const char* name) const { return node_.attribute(name).value(); }

    // Appends a child element and returns it.
    TXMLNode AddChild(const char* tag);
    // Sets or adds the attribute; an empty value still writes the attribute.
    void SetAttribute(const char* name, std::string_view value);
    // Replaces the element's content by one text (nothing when the text is empty).
    void SetText(std::string_view text);

    pugi::xml_node Native() const { return node_; }

private:
    pugi::xml_node node_;
};
