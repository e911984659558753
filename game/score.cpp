#include "game/score.h"

namespace {

std::string_view trimmedBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::optional<std::string> scoreValue(const FieldValue &score)
{
    if (score.isEmpty())
        return "0";
    if (score.isNumber())
        return score.displayText();
    std::string_view text = trimmedBlanks(score.textValue());
    const bool plus = text.starts_with('+');
    text.remove_prefix(plus ? 1 : 0);
    if (auto value = CanonicalDecimal(text); value && !(plus && text.starts_with('-')))
        return value;
    return std::nullopt;
}

std::string noNumberMessage(const FieldValue &score, std::string_view level, const std::string &path)
{
    return "Der Rekord für „" + std::string(level) + "“ in der Datei „" + path + "“ ist keine Zahl: "
           + QuoteForMessage(score.textValue()) + ".";
}
