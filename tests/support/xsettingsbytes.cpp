#include "support/xsettingsbytes.h"

QByteArray xsettingsList(bool msbFirst, const QList<XSetting> &settings, std::uint32_t count)
{
    QByteArray bytes;
    const auto card = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += char(value >> 8 * (msbFirst ? size - 1 - i : i));
    };
    const auto padded = [&](const std::string &text) {
        bytes += QByteArray::fromStdString(text) + QByteArray((4 - text.size() % 4) % 4, '\0');
    };
    bytes += QByteArray(1, char(msbFirst)) + QByteArray(3, '\0');
    card(42, 4);
    card(count != 0 ? count : std::uint32_t(settings.size()), 4);
    for (const XSetting &s : settings) {
        bytes += QByteArray(1, char(s.type)) + '\0';
        card(std::uint32_t(s.name.size()), 2);
        padded(s.name);
        card(7, 4);
        if (s.type == 1) {
            card(std::uint32_t(s.name.size()), 4);
            padded(s.name);
        } else if (s.type == 0) {
            card(std::uint32_t(s.integer), 4);
        } else {
            bytes += QByteArray(8, '\x7f');
        }
    }
    return bytes;
}
