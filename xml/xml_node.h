#pragma once

// One element of an XML document, as the data-file and regions-file code sees
// it. A TXMLNode is a cheap handle: copy it freely; it stays valid as long as
// its TXMLDocument lives. Like a pointer, a const handle still reaches a
// document that may be changed through another handle.
//
// Look-ups never create nodes, except NeededChild. An absent child comes back
// as a null node, and every read of a null node gives what an empty, freshly
// created element would give: the empty text, a null value, no attributes and
// no children. So callers may chain look-ups without testing each step.
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

    bool IsNull() const { return THandle::Pointer(node_) == nullptr; }
    std::string NodeName() const { return node_.name(); }
    // True when the node is an element of this name. Inline and unrolled, so
    // that a name spelled in the code costs a comparison per letter: the
    // readers of large files ask it of every element.
    bool HasName(std::string_view name) const
    {
        const char* own = node_.name();
#pragma GCC unroll 32
        for (std::size_t i = 0; i < name.size(); ++i)
            if (own[i] != name[i])
                return false;  // at the latest at own's end
        return own[name.size()] == '\0';
    }

    // The first child element with this name, or a null node.
    TXMLNode ChildNode(const char* name) const { return TXMLNode(node_.child(name)); }
    // Every child element with this name, in document order.
    std::vector<TXMLNode> ChildElements(const char* name) const;
    int CountChildElements(const char* name) const;
    // The next element with this name among the following siblings, or a null node.
    TXMLNode NextSibling(const char* name) const { return TXMLNode(node_.next_sibling(name)); }
    // Every child node in order, texts included: from FirstChild on with NextSibling().
    TXMLNode FirstChild() const { return TXMLNode(node_.first_child()); }
    TXMLNode NextSibling() const { return TXMLNode(node_.next_sibling()); }
    // True when the element holds anything: a text or child nodes.
    bool HasChildNodes() const;

    // The element's single text; empty when it has no children. An element
    // that holds child elements raises EXMLDocError.
    std::string Text() const { return std::string(TextView()); }
    std::string_view TextView() const
    {
        const pugi::xml_node first = node_.first_child();
        if (THandle::Pointer(first) == nullptr)
            return node_.value();
        return TextOfChildren(first);
    }
    // Text(), or nothing when that text is empty.
    std::optional<std::string_view> NodeValue() const
    {
        const std::string_view text = TextView();
        if (text.empty())
            return std::nullopt;
        return text;
    }

    // The attribute's text; empty when absent.
    std::string Attribute(const char* name) const { return node_.attribute(name).value(); }

    // Appends a child element and returns it.
    TXMLNode AddChild(const char* tag);
    // The first child element with this name, appended when there is none, as
    // the document layer's automatic creation of nodes gives it.
    TXMLNode NeededChild(const char* name) const;
    // Inserts a child element before the child node at `position` (0-based,
    // texts counted; the number of children appends it) and returns it.
    // Another position raises EListError.
    TXMLNode InsertChild(int position, const char* tag);
    // Removes a child node with all it holds.
    void RemoveChild(const TXMLNode& child);
    // Sets or adds the attribute; an empty value still writes the attribute.
    // The document holds values as C strings: a NUL byte is kept as U+FFFD,
    // as a file would hold it, so that nothing after it is lost.
    void SetAttribute(const char* name, std::string_view value);
    // Replaces the element's content by one text (nothing when the text is
    // empty); a NUL byte as in SetAttribute.
    void SetText(std::string_view text);

    pugi::xml_node Native() const { return node_; }

    bool operator==(const TXMLNode& other) const
    {
        return THandle::Pointer(node_) == THandle::Pointer(other.node_);
    }

    // Compares two names without a call per character pair; names differ mostly in their
    // first characters.
    static bool SameName(const char* a, const char* b)
    {
        for (; *a == *b; ++a, ++b)
            if (*a == '\0')
                return true;
        return false;
    }

private:
    // TextView of an element with child nodes: its one text child.
    std::string_view TextOfChildren(pugi::xml_node first) const;

    // pugixml tests a handle for null only out of line; its pointer, open to
    // derived classes, is read here instead, which saves a call on every step
    // of every walk over a large file.
    struct THandle : pugi::xml_node {
        static const void* Pointer(const pugi::xml_node& node) { return node.*(&THandle::_root); }
    };
    pugi::xml_node node_;
};
