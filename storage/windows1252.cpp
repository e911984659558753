#include "storage/windows1252.h"

#include <array>
#include <optional>

namespace {

constexpr char32_t Undefined = 0;

// The code points of the bytes 80 to 9F; the rest of the page is Latin-1.
constexpr std::array<char32_t, 32> HighControlRange = {
    0x20AC, Undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030,    0x0160, 0x2039, 0x0152, Undefined, 0x017D, Undefined,
    Undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122,    0x0161, 0x203A, 0x0153, Undefined, 0x017E, 0x0178,
};

constexpr char Replacement = '?';

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct SequenceStart
{
    std::size_t length;  // bytes of the whole sequence, 0 for no valid lead byte
    char32_t bits;       // the lead byte's share of the code point
    char32_t minimum;    // smaller code points in this length are overlong
};

SequenceStart sequenceStart(unsigned char lead)
{
    if (lead < 0x80)
        return {1, lead, 0};
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, lead & 0x1Fu, 0x80};
    if (lead >= 0xE0 && lead <= 0xEF)
        return {3, lead & 0x0Fu, 0x800};
    if (lead >= 0xF0 && lead <= 0xF4)
        return {4, lead & 0x07u, 0x10000};
    return {0, 0, 0};
}

// One code point from pos, which moves past it; nullopt for an invalid
// sequence, with pos moved by one byte so that each bad byte counts once.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t &pos)
{
    const SequenceStart start = sequenceStart(static_cast<unsigned char>(text[pos]));
    bool valid = start.length > 0 && text.size() - pos >= start.length;
    char32_t cp = start.bits;
    for (std::size_t i = 1; valid && i < start.length; ++i) {
        const auto continuation = static_cast<unsigned char>(text[pos + i]);
        valid = (continuation & 0xC0) == 0x80;
        cp = (cp << 6) | (continuation & 0x3Fu);
    }
    valid = valid && cp >= start.minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    pos += valid ? start.length : 1;
    if (!valid)
        return std::nullopt;
    return cp;
}

// The byte that stands for cp in Windows-1252, if there is one.
std::optional<unsigned char> windows1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < HighControlRange.size(); ++i) {
        if (HighControlRange[i] != Undefined && HighControlRange[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

bool isControl(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

} // namespace

std::string DecodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F) {
            const char32_t cp = HighControlRange[byte - 0x80u];
            if (cp == Undefined)
                out += Replacement;
            else
                appendUtf8(out, cp);
        } else {
            appendUtf8(out, byte);
        }
    }
    return out;
}

std::string EncodeWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> cp = nextCodePoint(utf8, pos);
        const std::optional<unsigned char> byte = cp ? windows1252Byte(*cp) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : Replacement;
    }
    return out;
}

std::string NormaliseText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> cp = nextCodePoint(utf8, pos);
        if (!cp)
            out += Replacement;
        else if (*cp == '"')
            out += '\'';
        else if (isControl(*cp))
            out += ' ';
        else if (!windows1252Byte(*cp))
            out += Replacement;
        else
            appendUtf8(out, *cp);
    }
    return out;
}
