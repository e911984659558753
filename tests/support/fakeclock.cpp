#include "support/fakeclock.h"

FakeClock::FakeClock(TimeOfDay start)
    : time(start)
{
}

TimeOfDay FakeClock::now() const
{
    return time;
}

void FakeClock::set(int hours, int minutes, int seconds)
{
    time = {hours, minutes, seconds};
}
