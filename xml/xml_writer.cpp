#include "xml/xml_writer.h"

#include "xml/xml_element_writer.h"

namespace {

bool IsText(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// A loaded element keeps its leading text as its own value; built ones hold
// their text as a child.
void WriteElement(TXMLElementWriter& out, pugi::xml_node element)
{
    out.StartElement(element.name());
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute())
        out.Attribute(attribute.name(), attribute.value());
    out.Text(element.value());
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            WriteElement(out, child);
        else if (IsText(child))
            out.Text(child.value());
    }
    out.EndElement();
}

}  // namespace

std::string WriteIndentedXml(pugi::xml_node root)
{
    TXMLElementWriter out;
    if (root)
        WriteElement(out, root);
    out.Finish();
    return out.TakeText();
}
