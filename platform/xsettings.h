#pragma once

#include "platform/desktopdoubleclick.h"

#include <optional>
#include <string_view>

// The double-click settings in the bytes of an _XSETTINGS_SETTINGS property
// (the freedesktop XSETTINGS format, either byte order): Net/DoubleClickTime
// and Net/DoubleClickDistance, each unset when missing, of another type or
// out of bounds. None when the bytes are no complete settings list: another
// program wrote them, so they may be cut short, malformed or hostile. The
// work is bounded by the number of bytes.
std::optional<DesktopDoubleClick> parseXSettings(std::string_view bytes);
