#include "xml/xml_value.h"

#include <array>
#include <cstdint>
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

// Most reals of a file are a few digits with or without a fraction; they are
// converted here at once. An integer of at most 15 digits and a power of ten
// up to 10^15 are both exact doubles, so the one rounding of the division
// gives the value that the full conversion gives. Anything else (blanks, a
// sign other than a leading "-", an exponent, more digits) is left to it.
std::optional<double> PlainDecimal(std::string_view text, char separator)
{
    static constexpr std::array<double, 16> powersOfTen{
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = !text.empty() && text[0] == '-';
    std::uint64_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t fractionDigits = 0;
    bool inFraction = false;
    for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            fractionDigits += inFraction ? 1 : 0;
        } else if (c == separator && !inFraction) {
            inFraction = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || digits >= powersOfTen.size())
        return std::nullopt;
    const double value = static_cast<double>(mantissa) / powersOfTen[fractionDigits];
    return negative ? -value : value;
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
