#include "platform/kdeglobals.h"

#include "platform/desktopdoubleclick.h"
#include "storage/lockedfile.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <charconv>

namespace {

// A real kdeglobals holds some kilobytes.
constexpr std::size_t MaxFileBytes = 1 << 20;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

bool isKdeDesktop()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    return desktops.contains(QLatin1String("KDE"), Qt::CaseInsensitive);
}

std::optional<std::string_view> kdeDoubleClickValue(std::string_view kdeglobals)
{
    std::optional<std::string_view> value;
    bool inGroup = false;
    while (!kdeglobals.empty()) {
        const auto end = kdeglobals.find('\n');
        const std::string_view line = trimmed(kdeglobals.substr(0, end));
        kdeglobals.remove_prefix(end == std::string_view::npos ? kdeglobals.size() : end + 1);
        const auto equals = line.find('=');
        if (line.starts_with('['))
            inGroup = line == "[KDE]";
        else if (inGroup && equals != std::string_view::npos && trimmed(line.substr(0, equals)) == "DoubleClickInterval")
            value = trimmed(line.substr(equals + 1));
    }
    return value;
}

std::optional<int> readKdeDoubleClickInterval()
{
    const QStringList files =
        QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    for (const QString &file : files) {
        std::string text;
        try {
            text = ReadRegularFile(QFile::encodeName(file).toStdString(), MaxFileBytes);
        } catch (const FileFailure &) {
            continue;
        }
        const std::optional<std::string_view> value = kdeDoubleClickValue(text);
        if (text.size() > MaxFileBytes || !value)
            continue;
        long long ms = 0;
        const auto [rest, error] = std::from_chars(value->data(), value->data() + value->size(), ms);
        return error == std::errc() && rest == value->data() + value->size() ? acceptedIntervalMs(ms) : std::nullopt;
    }
    return std::nullopt;
}
