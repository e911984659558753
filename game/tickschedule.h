#pragma once

#include "game/clock.h"

#include <chrono>

// A wake-up that comes whole periods late runs the missed ticks at once, up
// to this many in all; the rest are dropped, so the ball never leaps across
// the field.
constexpr int MaxTicksPerWakeUp = 4;

struct TickRun
{
    int ticks = 0;                          // to run now, one after another
    MonotonicClock::time_point nextDue{};   // of the tick after them
};

// The ticks of a timer whose next tick was due at due, woken at now. The next
// due time is one period after the last tick that was due, dropped or run,
// never one period after the wake-up: the timer keeps its phase. period > 0.
TickRun ticksDue(MonotonicClock::time_point due, std::chrono::nanoseconds period,
                 MonotonicClock::time_point now);
