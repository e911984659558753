#include "storage/settings.h"

#include <algorithm>

FieldValue FieldValue::number(long long value)
{
    return FieldValue(Decimal{std::to_string(value)});
}

FieldValue FieldValue::number(std::string_view decimal)
{
    std::optional<std::string> digits = CanonicalDecimal(decimal);
    if (!digits)
        throw SettingsError(QuoteForMessage(decimal) + " ist keine Zahl.");
    return FieldValue(Decimal{std::move(*digits)});
}

FieldValue FieldValue::text(std::string utf8)
{
    return FieldValue(std::move(utf8));
}

const std::string &FieldValue::textValue() const
{
    return std::get<std::string>(m_value);
}

std::string FieldValue::displayText() const
{
    if (isNumber())
        return std::get<Decimal>(m_value).digits;
    return isText() ? textValue() : std::string();
}

std::optional<std::string> CanonicalDecimal(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    text.remove_prefix(negative ? 1 : 0);
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto allDigits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!allDigits(whole) || (point != std::string_view::npos && !allDigits(fraction)))
        return std::nullopt;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size() - 1));
    // npos + 1 is 0: a fraction of zeros only goes away whole.
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);
    const bool zero = whole == "0" && fraction.empty();
    std::string canonical = negative && !zero ? "-" : "";
    canonical += whole;
    if (!fraction.empty())
        canonical.append(".").append(fraction);
    return canonical;
}

int CompareDecimals(std::string_view a, std::string_view b)
{
    const bool aNegative = a.starts_with('-');
    if (aNegative != b.starts_with('-'))
        return aNegative ? -1 : 1;
    a.remove_prefix(aNegative ? 1 : 0);
    b.remove_prefix(aNegative ? 1 : 0);
    // Without leading zeros the longer whole part is the larger; with whole
    // parts of one length, and no trailing zeros, the digits compare as text.
    const std::size_t aWhole = std::min(a.find('.'), a.size());
    const std::size_t bWhole = std::min(b.find('.'), b.size());
    const int magnitude = aWhole != bWhole ? (aWhole < bWhole ? -1 : 1) : a.compare(b);
    return aNegative ? -magnitude : magnitude;
}

std::string QuoteForMessage(std::string_view utf8)
{
    constexpr std::size_t MaxCharacters = 40;
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
        // A character starts at every byte that is no continuation byte.
        if ((static_cast<unsigned char>(utf8[pos]) & 0xC0) != 0x80 && characters++ == MaxCharacters)
            return "„" + std::string(utf8.substr(0, pos)) + "…“";
    }
    return "„" + std::string(utf8) + "“";
}
