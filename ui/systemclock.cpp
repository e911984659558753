#include "ui/systemclock.h"

#include <QTime>

TimeOfDay SystemClock::now() const
{
    const QTime time = QTime::currentTime();
    return {time.hour(), time.minute(), time.second()};
}
