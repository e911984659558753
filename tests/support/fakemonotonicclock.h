#pragma once

#include "game/clock.h"

#include <chrono>

// A monotonic clock that stands where the test puts it.
class FakeMonotonicClock : public MonotonicClock
{
public:
    time_point now() const override { return time; }
    time_point time = time_point(std::chrono::hours(10));
};
