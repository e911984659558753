#pragma once

#include "game/clock.h"

// A clock that stands where the test puts it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(TimeOfDay start = {12, 0, 0});

    TimeOfDay now() const override;
    void set(int hours, int minutes, int seconds);

    TimeOfDay time;
};
