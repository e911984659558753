#include "storage/windows1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The code points of the bytes 80 to 9F, 0 where the page leaves one
// undefined; the rest of the page is Latin-1.
constexpr std::array<char32_t, 32> HighRange = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr char Replacement = '?';

void appendUtf8(std::string &out, char32_t cp)
{
    constexpr unsigned char Lead[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = cp < 0x80 ? 0 : cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    out += static_cast<char>(Lead[tail] | (cp >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i)
        out += static_cast<char>(0x80 | ((cp >> (6 * i)) & 0x3F));
}

// One code point from pos, which moves past it; nullopt for an invalid
// sequence, with pos moved by one byte so that each bad byte counts once.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t &pos)
{
    constexpr char32_t Minimum[] = {0, 0, 0x80, 0x800, 0x10000}; // below: overlong
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    bool valid = length > 0 && text.size() - pos >= length;
    char32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; valid && i < length; ++i) {
        const auto continuation = static_cast<unsigned char>(text[pos + i]);
        valid = (continuation & 0xC0) == 0x80;
        cp = (cp << 6) | (continuation & 0x3Fu);
    }
    valid = valid && cp >= Minimum[length] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    pos += valid ? length : 1;
    return valid ? std::optional(cp) : std::nullopt;
}

// The byte that stands for cp in Windows-1252, if there is one.
std::optional<unsigned char> windows1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    const auto found = std::find(HighRange.begin(), HighRange.end(), cp); // never 0 here
    if (found == HighRange.end())
        return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - HighRange.begin()));
}

bool isUndefined(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F && HighRange[byte - 0x80u] == 0;
}

} // namespace

bool IsWindows1252(std::string_view bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return isUndefined(static_cast<unsigned char>(c)); });
}

std::string DecodeWindows1252(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool high = byte >= 0x80 && byte <= 0x9F;
        if (isUndefined(byte))
            out += Replacement;
        else
            appendUtf8(out, high ? HighRange[byte - 0x80u] : byte);
    }
    return out;
}

std::string EncodeWindows1252(std::string_view utf8)
{
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> cp = nextCodePoint(utf8, pos);
        const std::optional<unsigned char> byte = cp ? windows1252Byte(*cp) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : Replacement;
    }
    return out;
}

std::string NormaliseText(std::string_view utf8)
{
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> cp = nextCodePoint(utf8, pos);
        const bool control = cp && (*cp < 0x20 || (*cp >= 0x7F && *cp <= 0x9F));
        if (!cp || (!control && !windows1252Byte(*cp)))
            out += Replacement;
        else
            appendUtf8(out, control ? U' ' : *cp == U'"' ? U'\'' : *cp);
    }
    return out;
}
