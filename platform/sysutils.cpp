#include "platform/sysutils.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/exception.h"
#include "platform/regional_settings.h"

namespace {

constexpr int kSignificantDigits = 15;

// Digits of a value rounded to 15 significant digits, trailing zeros removed,
// and the decimal exponent of the first digit. Rounding comes first so that
// the choice between fixed and scientific notation is made on the value that
// is actually shown.
struct DecimalDigits {
    std::array<char, kSignificantDigits> digits{};
    int count = 0;
    int exponent = 0;
};

DecimalDigits RoundedDigits(double magnitude)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                   std::chars_format::scientific, kSignificantDigits - 1)
                         .ptr;
    DecimalDigits result;
    const char* p = text.data();
    for (; *p != 'e'; ++p)
        if (*p != '.')
            result.digits[result.count++] = *p;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, result.exponent);
    while (result.count > 1 && result.digits[result.count - 1] == '0')
        --result.count;
    return result;
}

void AppendFixed(std::string& out, const DecimalDigits& d, char separator)
{
    if (d.exponent < 0) {
        out += '0';
        out += separator;
        out.append(-d.exponent - 1, '0');
        out.append(d.digits.data(), d.count);
        return;
    }
    const int integerDigits = d.exponent + 1;
    if (d.count <= integerDigits) {
        out.append(d.digits.data(), d.count);
        out.append(integerDigits - d.count, '0');
        return;
    }
    out.append(d.digits.data(), integerDigits);
    out += separator;
    out.append(d.digits.data() + integerDigits, d.count - integerDigits);
}

void AppendScientific(std::string& out, const DecimalDigits& d, char separator)
{
    out += d.digits[0];
    if (d.count > 1) {
        out += separator;
        out.append(d.digits.data() + 1, d.count - 1);
    }
    out += 'E';
    out += std::to_string(d.exponent);
}

bool IsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

// Accepts [blanks] [sign] digits [sep digits] [E [sign] digits] [blanks] with at
// least one mantissa digit, and hands back the number without its blanks and
// plus sign, and where its separator stands (npos without one). Only the
// separator differs from the C notation, so most texts convert where they are.
bool ScanReal(std::string_view text, char separator, std::string_view& number,
              std::size_t& separatorAt)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    const bool plus = i < n && text[i] == '+';
    if (plus)
        ++i;
    const std::size_t start = i;
    if (!plus && i < n && text[i] == '-')
        ++i;
    int mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    separatorAt = std::string_view::npos;
    if (i < n && text[i] == separator) {
        separatorAt = i - start;
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        int exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    number = text.substr(start, i - start);
    while (i < n && text[i] == ' ')
        ++i;
    return i == n;
}

}  // namespace

std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0.0)
        return "0";
    const DecimalDigits d = RoundedDigits(std::fabs(value));
    std::string text;
    if (value < 0)
        text += '-';
    if (d.exponent >= -5 && d.exponent < kSignificantDigits)
        AppendFixed(text, d, DecimalSeparator());
    else
        AppendScientific(text, d, DecimalSeparator());
    return text;
}

std::optional<double> PlainDecimal(std::string_view text, char separator)
{
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr std::size_t kMaxDigits = 15;
    const char* next = text.data();
    const char* const end = next + text.size();
    const bool negative = next != end && *next == '-';
    next += negative ? 1 : 0;
    // The digits before and after the separator in two runs, as every real
    // of a large file passes here.
    std::uint64_t mantissa = 0;
    const auto takeDigits = [&] {
        const char* const first = next;
        for (; next != end && IsDigit(*next); ++next)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*next - '0');
        return static_cast<std::size_t>(next - first);
    };
    std::size_t digits = takeDigits();
    std::size_t fractionDigits = 0;
    if (next != end && *next == separator) {
        ++next;
        fractionDigits = takeDigits();
        digits += fractionDigits;
    }
    if (next != end || digits == 0 || digits > kMaxDigits)
        return std::nullopt;
    const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    return negative ? -magnitude : magnitude;
}

bool TryStrToFloat(std::string_view text, double& value)
{
    const char separator = DecimalSeparator();
    if (const std::optional<double> plain = PlainDecimal(text, separator)) {
        value = *plain;
        return true;
    }
    std::string_view number;
    std::size_t separatorAt = 0;
    if (!ScanReal(text, separator, number, separatorAt))
        return false;
    std::string inCNotation;
    if (separatorAt != std::string_view::npos && separator != '.') {
        inCNotation = number;
        inCNotation[separatorAt] = '.';
        number = inCNotation;
    }
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error != std::errc() || end != number.data() + number.size())
        return false;
    value = parsed;
    return true;
}

double StrToFloat(std::string_view text)
{
    double value = 0.0;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

std::string IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

bool TryStrToInt(std::string_view text, int& value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > std::int64_t{std::numeric_limits<int>::max()} + 1)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

int StrToInt(std::string_view text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string BoolToStr(bool value)
{
    return value ? "-1" : "0";
}

std::string TrimLeft(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && IsBlankOrControl(text[first]))
        ++first;
    return std::string(text.substr(first));
}

std::string TrimRight(std::string_view text)
{
    std::size_t last = text.size();
    while (last > 0 && IsBlankOrControl(text[last - 1]))
        --last;
    return std::string(text.substr(0, last));
}

std::string Trim(std::string_view text)
{
    return std::string(TrimmedView(text));
}

std::string AsciiLowerCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = AsciiLowerChar(c);
    return result;
}

std::string AsciiUpperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}
