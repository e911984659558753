#pragma once

#include <chrono>

// The local time of day, in whole seconds.
struct TimeOfDay
{
    int hours = 0;   // 0..23
    int minutes = 0; // 0..59
    int seconds = 0; // 0..59
    bool operator==(const TimeOfDay &other) const = default;
};

// The game's port to the time of day; ui/ gives the system's.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual TimeOfDay now() const = 0;
};

// The monotonic clock that a periodic timer keeps its period against; it
// never jumps with the time of day. Tests drive a fake.
class MonotonicClock
{
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~MonotonicClock() = default;
    virtual time_point now() const = 0;
};
