#include "platform/xsettings.h"

#include <cstdint>

namespace {

enum SettingType : std::uint8_t { Integer = 0, String = 1, Color = 2 };
constexpr std::uint8_t LsbFirst = 0;
constexpr std::uint8_t MsbFirst = 1;

// Reads the fields of the list one after another; once a read runs past the
// end, every later read fails too.
class Reader
{
public:
    Reader(std::string_view bytes, bool msbFirst) : m_bytes(bytes), m_msbFirst(msbFirst) {}

    bool ok() const { return m_ok; }

    std::uint32_t card(int size)
    {
        std::uint32_t value = 0;
        const std::string_view field = take(static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < field.size(); ++i) {
            const auto byte = static_cast<std::uint8_t>(field[m_msbFirst ? i : field.size() - 1 - i]);
            value = value << 8 | byte;
        }
        return value;
    }

    // Fields are padded to a multiple of four bytes.
    std::string_view padded(std::size_t size)
    {
        const std::string_view field = take(size);
        take((4 - size % 4) % 4);
        return field;
    }

    std::string_view take(std::size_t size)
    {
        m_ok = m_ok && size <= m_bytes.size() - m_pos;
        const std::string_view field = m_ok ? m_bytes.substr(m_pos, size) : std::string_view();
        m_pos += field.size();
        return field;
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    bool m_msbFirst;
    bool m_ok = true;
};

} // namespace

std::optional<DesktopDoubleClick> parseXSettings(std::string_view bytes)
{
    if (bytes.empty() || (bytes[0] != LsbFirst && bytes[0] != MsbFirst))
        return std::nullopt;
    Reader reader(bytes, bytes[0] == MsbFirst);
    reader.take(4); // byte order and three unused bytes
    reader.card(4); // the serial
    DesktopDoubleClick found;
    // Every setting takes at least twelve bytes: the count cannot make the
    // loop outlast the bytes.
    for (std::uint32_t count = reader.card(4); reader.ok() && count > 0; --count) {
        const auto type = static_cast<std::uint8_t>(reader.card(1));
        reader.take(1);
        const std::string_view name = reader.padded(reader.card(2));
        reader.card(4); // the serial of its last change
        std::optional<std::int32_t> integer;
        if (type == Integer)
            integer = static_cast<std::int32_t>(reader.card(4));
        else if (type == String)
            reader.padded(reader.card(4));
        else if (type == Color)
            reader.take(8);
        else
            return std::nullopt;
        if (integer && name == "Net/DoubleClickTime")
            found.intervalMs = acceptedIntervalMs(*integer);
        else if (integer && name == "Net/DoubleClickDistance")
            found.distancePx = acceptedDistancePx(*integer);
    }
    return reader.ok() ? std::optional(found) : std::nullopt;
}
