#pragma once

#include <optional>
#include <string_view>

// KDE Plasma's double-click time: DoubleClickInterval, in milliseconds, in
// the group [KDE] of its configuration file kdeglobals.

// Whether the desktop is KDE Plasma, as XDG_CURRENT_DESKTOP tells it.
bool isKdeDesktop();

// The text of the last DoubleClickInterval line of the group [KDE] in the
// text of a kdeglobals, trimmed, as KDE's own reader takes it; none where
// the group has no such line.
std::optional<std::string_view> kdeDoubleClickValue(std::string_view kdeglobals);

// The interval as KDE's own programs find it: from the first kdeglobals that
// sets it, of $XDG_CONFIG_HOME and then of $XDG_CONFIG_DIRS in their order;
// none where that value is no number within the accepted bounds. A file
// that is no regular file, cannot be read or is larger than any real
// kdeglobals is passed over; nothing waits for a FIFO.
std::optional<int> readKdeDoubleClickInterval();
