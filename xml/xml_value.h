#pragma once

// The typed values of the document bindings: a simple child element read or
// written as text (std::string), integer (int), real (double) or boolean
// (bool), and an attribute as text. A failing conversion names the element,
// so the user learns where the file is wrong.
//
// Reads: reals take the computer's decimal separator; booleans accept numbers
// (0 is false, any other true) and the words true and false. An absent or
// empty element reads as the empty text and raises EVariantTypeCastError as a
// number or a boolean.
//
// Writes replace the element's content by the value's text, adding the
// element when it is absent: reals with the computer's decimal separator,
// booleans as "true" or "false".

#include <string>
#include <string_view>

#include "xml/xml_node.h"

// The value of Element itself; Name is the element's name for messages.
template <class Value>
Value ElementValue(const TXMLNode& Element, const char* Name);

template <class Value>
Value ReadChildValue(const TXMLNode& Parent, const char* Name)
{
    return ElementValue<Value>(Parent.ChildNode(Name), Name);
}

template <class Value>
void WriteChildValue(TXMLNode Parent, const char* Name, const Value& NewValue);

std::string ReadAttributeText(const TXMLNode& Element, const char* Name);
void WriteAttributeText(TXMLNode Element, const char* Name, std::string_view Text);

// For a value that the binding gives as text but the reader takes as a number.
int TextToInteger(std::string_view Text, const char* ElementName);

template <>
std::string ElementValue<std::string>(const TXMLNode& Element, const char* Name);
template <>
int ElementValue<int>(const TXMLNode& Element, const char* Name);
template <>
double ElementValue<double>(const TXMLNode& Element, const char* Name);
template <>
bool ElementValue<bool>(const TXMLNode& Element, const char* Name);

template <>
void WriteChildValue<std::string>(TXMLNode Parent, const char* Name, const std::string& Text);
template <>
void WriteChildValue<int>(TXMLNode Parent, const char* Name, const int& NewValue);
template <>
void WriteChildValue<double>(TXMLNode Parent, const char* Name, const double& NewValue);
template <>
void WriteChildValue<bool>(TXMLNode Parent, const char* Name, const bool& NewValue);
