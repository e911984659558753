#pragma once

#include <QString>

#include <string_view>

// The game's and the file's texts are UTF-8 bytes; Qt's are QString.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
