#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <string>

struct XSetting
{
    std::uint8_t type; // 0 integer, 1 string, 2 colour
    std::string name;
    std::int32_t integer = 0;
};

// An _XSETTINGS_SETTINGS property as a manager writes it; count, when not
// 0, is the number of settings the list claims to hold.
QByteArray xsettingsList(bool msbFirst, const QList<XSetting> &settings, std::uint32_t count = 0);
