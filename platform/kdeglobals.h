#pragma once

#include <optional>
#include <string_view>

// KDE Plasma's double-click time: DoubleClickInterval, in milliseconds, in
// the group [KDE] of its configuration file kdeglobals.

// Whether the desktop is KDE Plasma, as XDG_CURRENT_DESKTOP tells it.
bool isKdeDesktop();

// What one kdeglobals says of the interval, as KConfig reads it: the
// trimmed text of the last DoubleClickInterval line of the group [KDE] that
// KConfig would take for a number, none where no line sets it; and whether
// the file locks the entry against every file read after it ("[$i]" on a
// line of its own before the first group, "[KDE][$i]", or
// "DoubleClickInterval[$i]=…"), also where it holds no value.
struct KdeglobalsEntry
{
    std::optional<std::string_view> value;
    bool locked = false;
};
KdeglobalsEntry kdeDoubleClickEntry(std::string_view kdeglobals);

// The interval as KDE's own programs find it: the files of the folders of
// $XDG_CONFIG_DIRS, the last first, then of $XDG_CONFIG_HOME, each folder
// named by the bytes the variable holds; a later file's value replaces an
// earlier one's unless that one is locked. None where the value is no number
// within the accepted bounds. A file that is no regular file, cannot be read
// or is larger than any real kdeglobals is passed over; nothing waits for a
// FIFO.
std::optional<int> readKdeDoubleClickInterval();
