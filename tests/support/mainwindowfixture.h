#pragma once

#include "support/fakeclock.h"
#include "support/fakemonotonicclock.h"
#include "support/programfolder.h"
#include "support/recordingbell.h"
#include "ui/hopsala.h"

#include <memory>

// The real main window over a program folder of its own, with a clock and a
// bell the test controls; with FakeTicks TimerB keeps its period against a
// monotonic clock the test moves too. A failure ends nothing: it is counted
// in terminations; the window system's bell records its rings too.
struct MainWindowFixture : ProgramFolder
{
    enum Ticks { RealTicks, FakeTicks };

    FakeClock *clock = nullptr;
    RecordingBell *bell = nullptr;
    RecordingBell *windowSystemBell = nullptr;
    FakeMonotonicClock *ticks = nullptr; // null with RealTicks
    std::unique_ptr<Hopsala> window;
    int terminations = 0;

    explicit MainWindowFixture(const QByteArray &wahl = DefaultWahl, Ticks kind = RealTicks);

    // Loads and shows the window as the program does at start.
    bool start();

    template<typename T = QWidget>
    T *control(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString caption(const char *name) const;
    bool timerActive(const char *name) const;
};
