#include "platform/systemclock.h"

#include <algorithm>
#include <ctime>

// Read on every tick of TimerZ. localtime_r keeps the time zone it read
// first; QTime::currentTime() looks at the zone's file again on every call.
TimeOfDay SystemClock::now() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // A leap second shows as the last second of its minute.
    return {local.tm_hour, local.tm_min, std::min(local.tm_sec, 59)};
}
