#include "platform/kdeglobals.h"

#include "game/appdir.h"
#include "platform/desktopdoubleclick.h"
#include "platform/xdgfolders.h"
#include "storage/lockedfile.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace {

// A real kdeglobals holds some kilobytes.
constexpr std::size_t MaxFileBytes = 1 << 20;
constexpr std::string_view Group = "[KDE]";
constexpr std::string_view Key = "DoubleClickInterval";
constexpr std::string_view Lock = "[$i]";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The options in brackets after a key ("[$i]", "[$ie]", "[de]"), as KConfig
// has them for a number the game reads.
struct KeyOptions
{
    bool lock = false;   // no later line or file changes the entry
    bool expand = false; // KConfig expands "$…" in the value: the game never does
};

// Each flag of a "[$…]" option; any other (d deletes) and any language
// ("[de]", which KConfig reads only in that language) pass the line over.
constexpr std::pair<char, bool KeyOptions::*> Flags[] = {{'i', &KeyOptions::lock}, {'e', &KeyOptions::expand}};

std::optional<KeyOptions> keyOptions(std::string_view options)
{
    KeyOptions result;
    while (!options.empty()) {
        const auto close = options.find(']');
        if (!options.starts_with("[$") || close == std::string_view::npos)
            return std::nullopt;
        for (const char flag : options.substr(2, close - 2)) {
            const auto *known = std::find_if(std::begin(Flags), std::end(Flags),
                                             [flag](const auto &entry) { return entry.first == flag; });
            if (known == std::end(Flags))
                return std::nullopt;
            result.*(known->second) = true;
        }
        options.remove_prefix(close + 1);
    }
    return result;
}

// The kdeglobals in the order KConfig reads them, the system's first.
std::vector<std::string> kdeglobalsFiles()
{
    std::vector<std::string> files;
    const std::vector<std::string> system = xdgBaseFolders("XDG_CONFIG_DIRS", "/etc/xdg");
    for (auto folder = system.rbegin(); folder != system.rend(); ++folder)
        files.push_back(withTrailingSeparator(*folder) + "kdeglobals");
    if (const std::string home = xdgBaseFolder("XDG_CONFIG_HOME", ".config"); !home.empty())
        files.push_back(withTrailingSeparator(home) + "kdeglobals");
    return files;
}

} // namespace

bool isKdeDesktop()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    return desktops.contains(QLatin1String("KDE"), Qt::CaseInsensitive);
}

KdeglobalsEntry kdeDoubleClickEntry(std::string_view kdeglobals)
{
    KdeglobalsEntry entry;
    bool inGroup = false;
    bool beforeGroups = true;
    bool entryLocked = false;
    while (!kdeglobals.empty()) {
        const auto end = kdeglobals.find('\n');
        const std::string_view line = trimmed(kdeglobals.substr(0, end));
        kdeglobals.remove_prefix(end == std::string_view::npos ? kdeglobals.size() : end + 1);
        if (line.starts_with('[')) {
            const bool fileLocked = beforeGroups && line == Lock;
            beforeGroups = fileLocked;
            const bool locked = line.ends_with(Lock);
            inGroup = line.substr(0, line.size() - (locked ? Lock.size() : 0)) == Group;
            entry.locked = entry.locked || fileLocked || (locked && inGroup);
            continue;
        }
        const auto equals = line.find('=');
        const std::string_view key = trimmed(line.substr(0, equals));
        if (!inGroup || equals == std::string_view::npos || entryLocked || !key.starts_with(Key))
            continue;
        const std::optional<KeyOptions> options = keyOptions(key.substr(Key.size()));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (!options || (options->expand && value.find('$') != std::string_view::npos))
            continue;
        entry.value = value;
        entryLocked = options->lock;
        entry.locked = entry.locked || entryLocked;
    }
    return entry;
}

std::optional<int> readKdeDoubleClickInterval()
{
    std::optional<std::string> value;
    for (const std::string &file : kdeglobalsFiles()) {
        std::string text;
        try {
            text = ReadRegularFile(file, MaxFileBytes);
        } catch (const FileFailure &) {
            continue;
        }
        if (text.size() > MaxFileBytes)
            continue;
        const KdeglobalsEntry entry = kdeDoubleClickEntry(text);
        if (entry.value)
            value = std::string(*entry.value);
        if (entry.locked)
            break;
    }
    if (!value)
        return std::nullopt;
    long long ms = 0;
    const auto [rest, error] = std::from_chars(value->data(), value->data() + value->size(), ms);
    return error == std::errc() && rest == value->data() + value->size() ? acceptedIntervalMs(ms) : std::nullopt;
}
