#include "xml/xml_node.h"

#include <string>

#include "xml/xml_element_writer.h"
#include "xml/xml_error.h"

namespace {

bool IsTextNode(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// A loaded element keeps its leading text as its own value, which saves a
// node per simple value (see TXMLDocument::LoadFromFile).
bool HasEmbeddedText(pugi::xml_node element)
{
    return element.type() == pugi::node_element && *element.value() != '\0';
}

// Makes an element's own leading text a text child again, where it can be
// counted, moved past and removed like any other child.
void MoveEmbeddedTextIntoChild(pugi::xml_node element)
{
    if (!HasEmbeddedText(element))
        return;
    element.prepend_child(pugi::node_pcdata).set_value(element.value());
    element.text().set("");  // on an element with its own text, clears that text
}

// A document keeps its values as C strings, so a NUL byte would end a value
// there; it becomes the character that stands for what XML cannot hold, as
// it would in the file. Gives the value itself when it holds no NUL byte.
std::string_view WithoutNulBytes(std::string_view value, std::string& storage)
{
    if (value.find('\0') == std::string_view::npos)
        return value;
    for (const char byte : value) {
        if (byte == '\0')
            storage += XmlReplacementCharacter;
        else
            storage += byte;
    }
    return storage;
}

}  // namespace

std::vector<TXMLNode> TXMLNode::ChildElements(const char* name) const
{
    std::vector<TXMLNode> result;
    for (TXMLNode child = ChildNode(name); !child.IsNull(); child = child.NextSibling(name))
        result.push_back(child);
    return result;
}

int TXMLNode::CountChildElements(const char* name) const
{
    int count = 0;
    for (TXMLNode child = ChildNode(name); !child.IsNull(); child = child.NextSibling(name))
        ++count;
    return count;
}

bool TXMLNode::HasChildNodes() const
{
    return THandle::Pointer(node_.first_child()) != nullptr || HasEmbeddedText(node_);
}

std::string_view TXMLNode::TextOfChildren(pugi::xml_node first) const
{
    if (*node_.value() == '\0' && IsTextNode(first) && !first.next_sibling())
        return first.value();
    throw EXMLDocError("Element does not contain a single text node");
}

TXMLNode TXMLNode::AddChild(const char* tag)
{
    return TXMLNode(node_.append_child(tag));
}

TXMLNode TXMLNode::NeededChild(const char* name) const
{
    const TXMLNode found = ChildNode(name);
    if (!found.IsNull() || IsNull())
        return found;
    return TXMLNode(node_).AddChild(name);
}

TXMLNode TXMLNode::InsertChild(int position, const char* tag)
{
    MoveEmbeddedTextIntoChild(node_);
    pugi::xml_node before = node_.first_child();
    int passed = 0;
    for (; passed < position && before; ++passed)
        before = before.next_sibling();
    if (position < 0 || passed < position)
        throw EListError("List index out of bounds (" + std::to_string(position) + ")");
    return TXMLNode(before ? node_.insert_child_before(tag, before) : node_.append_child(tag));
}

void TXMLNode::RemoveChild(const TXMLNode& child)
{
    node_.remove_child(child.node_);
}

void TXMLNode::SetAttribute(const char* name, std::string_view value)
{
    pugi::xml_attribute attribute = node_.attribute(name);
    if (!attribute)
        attribute = node_.append_attribute(name);
    std::string storage;
    const std::string_view stored = WithoutNulBytes(value, storage);
    attribute.set_value(stored.data(), stored.size());
}

void TXMLNode::SetText(std::string_view text)
{
    while (node_.first_child())
        node_.remove_child(node_.first_child());
    if (HasEmbeddedText(node_))
        node_.text().set("");
    if (text.empty())
        return;
    std::string storage;
    const std::string_view stored = WithoutNulBytes(text, storage);
    node_.append_child(pugi::node_pcdata).set_value(stored.data(), stored.size());
}
