#pragma once

#include "game/clock.h"

// The local time of day of the system.
class SystemClock : public Clock
{
public:
    TimeOfDay now() const override;
};
