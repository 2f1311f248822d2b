#include "xml/xml_value.h"

#include <optional>
#include <string_view>

#include "platform/regional_settings.h"
#include "platform/sysutils.h"
#include "xml/xml_error.h"

namespace {

std::string InElement(const char* name)
{
    return std::string(" (element \"") + name + "\")";
}

// The element's value; an absent or empty element has none and converts to nothing.
std::string_view PresentValue(const TXMLNode& element, const char* name, const char* typeName)
{
    const std::optional<std::string_view> value = element.NodeValue();
    if (!value)
        throw EVariantTypeCastError(
            std::string("Could not convert variant of type (Null) into type (") + typeName + ")" +
            InElement(name));
    return *value;
}

template <class Convert>
auto Converted(const char* name, Convert convert)
{
    try {
        return convert();
    } catch (const EConvertError& error) {
        throw EConvertError(error.what() + InElement(name));
    }
}

bool TextToBoolean(std::string_view text)
{
    const std::string lower = AsciiLowerCase(Trim(text));
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    double number = 0.0;
    if (TryStrToFloat(text, number))
        return number != 0.0;
    throw EConvertError("'" + std::string(text) + "' is not a valid boolean value");
}

}  // namespace

template <>
std::string ElementValue<std::string>(const TXMLNode& Element, const char*)
{
    return Element.Text();
}

template <>
int ElementValue<int>(const TXMLNode& Element, const char* Name)
{
    return TextToInteger(PresentValue(Element, Name, "Integer"), Name);
}

template <>
double ElementValue<double>(const TXMLNode& Element, const char* Name)
{
    const std::string_view value = PresentValue(Element, Name, "Double");
    if (const std::optional<double> plain = PlainDecimal(value, DecimalSeparator()))
        return *plain;
    return Converted(Name, [&] { return StrToFloat(value); });
}

template <>
bool ElementValue<bool>(const TXMLNode& Element, const char* Name)
{
    const std::string_view value = PresentValue(Element, Name, "Boolean");
    return Converted(Name, [&] { return TextToBoolean(value); });
}

int TextToInteger(std::string_view Text, const char* ElementName)
{
    int value = 0;
    if (TryStrToInt(Text, value))
        return value;
    return Converted(ElementName, [&] { return StrToInt(Text); });
}

std::string ReadAttributeText(const TXMLNode& Element, const char* Name)
{
    return Element.Attribute(Name);
}

void WriteAttributeText(TXMLNode Element, const char* Name, std::string_view Text)
{
    Element.SetAttribute(Name, Text);
}

template <>
void WriteChildValue<std::string>(TXMLNode Parent, const char* Name, const std::string& Text)
{
    Parent.NeededChild(Name).SetText(Text);
}

template <>
void WriteChildValue<int>(TXMLNode Parent, const char* Name, const int& NewValue)
{
    Parent.NeededChild(Name).SetText(IntToStr(NewValue));
}

template <>
void WriteChildValue<double>(TXMLNode Parent, const char* Name, const double& NewValue)
{
    Parent.NeededChild(Name).SetText(FloatToStr(NewValue));
}

template <>
void WriteChildValue<bool>(TXMLNode Parent, const char* Name, const bool& NewValue)
{
    Parent.NeededChild(Name).SetText(NewValue ? "true" : "false");
}
