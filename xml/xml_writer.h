#pragma once

// The program's layout of an XML file, shared by every file it writes.

#include <pugixml.hpp>
#include <string>

// The UTF-8 byte-order mark, the line <?xml version="1.0" encoding="UTF-8"?>,
// then the element tree from `root`, one element per line, indented by two
// spaces per level, every line ending in CR LF. Texts and attribute values are
// escaped so that reading the file gives them back unchanged.
std::string WriteIndentedXml(pugi::xml_node root);
