#include "storage/settings.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

FieldValue FieldValue::number(double value)
{
    // A file can only hold finite decimals; an infinity would be written as a
    // word and come back as a text.
    if (!std::isfinite(value))
        throw std::invalid_argument("FieldValue::number needs a finite value");
    FieldValue field;
    field.m_value = value;
    return field;
}

FieldValue FieldValue::text(std::string utf8)
{
    FieldValue field;
    field.m_value = std::move(utf8);
    return field;
}

FieldValue::Kind FieldValue::kind() const
{
    switch (m_value.index()) {
    case 1:
        return Kind::Number;
    case 2:
        return Kind::Text;
    default:
        return Kind::Empty;
    }
}

double FieldValue::numberValue() const
{
    return std::get<double>(m_value);
}

const std::string &FieldValue::textValue() const
{
    return std::get<std::string>(m_value);
}

std::string FieldValue::displayText() const
{
    switch (kind()) {
    case Kind::Number:
        return FormatDecimal(numberValue());
    case Kind::Text:
        return textValue();
    case Kind::Empty:
        break;
    }
    return {};
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The one number form of the file: -?[0-9]+(\.[0-9]+)?
bool hasDecimalForm(std::string_view text)
{
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-')
        ++pos;
    const std::size_t integerStart = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    if (pos == integerStart)
        return false;
    if (pos == text.size())
        return true;
    if (text[pos] != '.')
        return false;
    const std::size_t fractionStart = ++pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos > fractionStart && pos == text.size();
}

} // namespace

std::optional<double> ParseDecimal(std::string_view text)
{
    if (!hasDecimalForm(text))
        return std::nullopt;
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatDecimal(double value)
{
    if (!std::isfinite(value))
        throw std::invalid_argument("FormatDecimal needs a finite value");
    // The longest shortest-round-trip fixed form of a double is the smallest
    // subnormal: "-0." followed by 323 zeros and one digit.
    if (value == 0)
        value = 0; // no "-0" in a label
    char buffer[400];
    const auto [ptr, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc())
        throw std::logic_error("FormatDecimal: buffer too small");
    return std::string(buffer, ptr);
}
