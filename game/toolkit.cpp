#include "game/toolkit.h"

void stopBothTimers(Toolkit &toolkit)
{
    toolkit.setTimerEnabled(Toolkit::Timer::TimerZ, false);
    toolkit.setTimerEnabled(Toolkit::Timer::TimerB, false);
}

void resetBothCounters(Toolkit &toolkit)
{
    toolkit.setCaption(Toolkit::Label::lblPunkte, "0");
    toolkit.setCaption(Toolkit::Label::lblPunkte2, "0");
}
