#include "game/tickschedule.h"

#include <algorithm>

TickRun ticksDue(MonotonicClock::time_point due, std::chrono::nanoseconds period,
                 MonotonicClock::time_point now)
{
    if (now < due)
        return {0, due};
    const auto missedPeriods = (now - due) / period;
    const auto dueTicks = missedPeriods + 1;
    const int ticks = static_cast<int>(std::min<decltype(dueTicks)>(dueTicks, MaxTicksPerWakeUp));
    return {ticks, due + dueTicks * period};
}
