#pragma once

#include <optional>

// The double-click time and distance that the player set on the desktop.
// Each is unset where the desktop publishes none that the game accepts; the
// ball then pairs presses by Qt's own values.
struct DesktopDoubleClick
{
    std::optional<int> intervalMs;
    std::optional<int> distancePx;
    bool operator==(const DesktopDoubleClick &) const = default;
};

// A desktop's value is taken only within these bounds: outside them it is
// a slip of the hand or of the program that wrote it, and no player could
// double-click by it.
inline std::optional<int> acceptedIntervalMs(long long ms)
{
    return ms >= 100 && ms <= 5000 ? std::optional<int>(static_cast<int>(ms)) : std::nullopt;
}

inline std::optional<int> acceptedDistancePx(long long px)
{
    return px >= 1 && px <= 100 ? std::optional<int>(static_cast<int>(px)) : std::nullopt;
}
