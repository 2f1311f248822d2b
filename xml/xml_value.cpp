#include "xml/xml_value.h"

#include <string_view>

#include "platform/sysutils.h"
#include "xml/xml_error.h"

namespace {

std::string InElement(const char* name)
{
    return std::string(" (element \"") + name + "\")";
}

// The element's value; an absent or empty element has none and converts to nothing.
std::string_view PresentValue(const TXMLNode& parent, const char* name, const char* typeName)
{
    const std::optional<std::string_view> value = parent.ChildNode(name).NodeValue();
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

std::string ReadAttributeText(const TXMLNode& element, const char* name)
{
    return element.Attribute(name);
}

std::string ReadChildText(const TXMLNode& parent, const char* name)
{
    return parent.ChildNode(name).Text();
}

int ReadChildInteger(const TXMLNode& parent, const char* name)
{
    return TextToInteger(PresentValue(parent, name, "Integer"), name);
}

int TextToInteger(std::string_view text, const char* elementName)
{
    return Converted(elementName, [&] { return StrToInt(text); });
}

double ReadChildReal(const TXMLNode& parent, const char* name)
{
    const std::string_view value = PresentValue(parent, name, "Double");
    return Converted(name, [&] { return StrToFloat(value); });
}

bool ReadChildBoolean(const TXMLNode& parent, const char* name)
{
    const std::string_view value = PresentValue(parent, name, "Boolean");
    return Converted(name, [&] { return TextToBoolean(value); });
}
