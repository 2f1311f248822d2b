#pragma once

// The program's layout of an XML file, shared by every file it writes.

#include <pugixml.hpp>
#include <string>

// The element tree from `root` in the layout of TXMLElementWriter
// (xml/xml_element_writer.h): byte-order mark, declaration line, one element
// per line indented by two spaces per level, lines ending in CR LF.
std::string WriteIndentedXml(pugi::xml_node root);
