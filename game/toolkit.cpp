#include "game/toolkit.h"

void stopBothTimers(Toolkit &toolkit)
{
    toolkit.setTimerEnabled(Toolkit::Timer::TimerZ, false);
    toolkit.setTimerEnabled(Toolkit::Timer::TimerB, false);
}
