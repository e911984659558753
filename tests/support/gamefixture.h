#pragma once

#include "game/mainform.h"
#include "support/fakeclock.h"
#include "support/faketoolkit.h"
#include "support/programfolder.h"
#include "support/recordprinter.h"

// The main window's logic over a fake toolkit and clock and a program folder
// of its own, loaded as at start unless the test wants it NotLoaded.
struct GameFixture : ProgramFolder
{
    enum Load { Loaded, NotLoaded };

    FakeToolkit toolkit;
    FakeClock clock;
    MainForm form{toolkit, clock};

    explicit GameFixture(const QByteArray &wahl = WorkedExampleWahl, Load load = Loaded)
        : ProgramFolder(wahl)
    {
        toolkit.directory = path().toStdString();
        if (load == Loaded)
            form.Form_Load();
    }

    // Starts a game at the given time of day.
    void startAt(int hours, int minutes, int seconds)
    {
        clock.set(hours, minutes, seconds);
        form.cmdLos_Click();
    }

    // One clock tick at the given time of day.
    void tickAt(int hours, int minutes, int seconds)
    {
        clock.set(hours, minutes, seconds);
        form.TimerZ_Timer();
    }

    void doubleClick()
    {
        form.Ball_Click();
        form.Ball_DblClick();
    }
};

// Plays a game at the checked level that scores the given double clicks and
// errors, and lets its clock run out.
inline void playGame(GameFixture &f, int doubleClicks, int errors = 0)
{
    f.startAt(12, 0, 45);
    for (int i = 0; i < doubleClicks; ++i)
        f.doubleClick();
    for (int i = 0; i < errors; ++i)
        f.form.Ball_Click();
    f.tickAt(12, 1, 14);
    f.tickAt(12, 1, 15);
}
