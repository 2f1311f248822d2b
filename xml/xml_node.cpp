#include "xml/xml_node.h"

#include "xml/xml_error.h"

namespace {

bool IsTextNode(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

}  // namespace

std::vector<TXMLNode> TXMLNode::ChildElements(const char* name) const
{
    std::vector<TXMLNode> result;
    for (pugi::xml_node child = node_.child(name); child; child = child.next_sibling(name))
        result.emplace_back(child);
    return result;
}

int TXMLNode::CountChildElements(const char* name) const
{
    int count = 0;
    for (pugi::xml_node child = node_.child(name); child; child = child.next_sibling(name))
        ++count;
    return count;
}

bool TXMLNode::HasChildNodes() const
{
    // A loaded document keeps an element's leading text as the element's own value.
    return node_.first_child() || *node_.value() != '\0';
}

std::string_view TXMLNode::TextView() const
{
    const pugi::xml_node first = node_.first_child();
    const char* embedded = node_.value();
    if (!first)
        return embedded;
    if (*embedded == '\0' && IsTextNode(first) && !first.next_sibling())
        return first.value();
    throw EXMLDocError("Element does not contain a single text node");
}

std::optional<std::string_view> TXMLNode::NodeValue() const
{
    const std::string_view text = TextView();
    if (text.empty())
        return std::nullopt;
    return text;
}

TXMLNode TXMLNode::AddChild(const char* tag)
{
    return TXMLNode(node_.append_child(tag));
}

void TXMLNode::SetAttribute(const char* name, std::string_view value)
{
    pugi::xml_attribute attribute = node_.attribute(name);
    if (!attribute)
        attribute = node_.append_attribute(name);
    attribute.set_value(value.data(), value.size());
}

void TXMLNode::SetText(std::string_view text)
{
    while (node_.first_child())
        node_.remove_child(node_.first_child());
    if (!text.empty())
        node_.append_child(pugi::node_pcdata).set_value(text.data(), text.size());
}
