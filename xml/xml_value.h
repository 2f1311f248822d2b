#pragma once

// The typed reads of the document bindings: a simple child element read as
// text, integer, real or boolean, and an attribute read as text. A failing
// conversion names the element, so the user learns where the file is wrong.

#include <string>
#include <string_view>

#include "xml/xml_node.h"

std::string ReadAttributeText(const TXMLNode& element, const char* name);
std::string ReadChildText(const TXMLNode& parent, const char* name);
// Reals take the computer's decimal separator. Booleans accept numbers (0 is
// false, any other true) and the words true and false.
int ReadChildInteger(const TXMLNode& parent, const char* name);
double ReadChildReal(const TXMLNode& parent, const char* name);
bool ReadChildBoolean(const TXMLNode& parent, const char* name);

// For a value that the binding gives as text but the reader takes as a number.
int TextToInteger(std::string_view text, const char* elementName);
