#include "support/mainwindowfixture.h"

#include "app/start.h"
#include "platform/steadytimer.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

MainWindowFixture::MainWindowFixture(const QByteArray &wahl, Ticks kind)
    : ProgramFolder(wahl)
{
    auto ownClock = std::make_unique<FakeClock>(TimeOfDay{10, 20, 5});
    clock = ownClock.get();
    auto ownBell = std::make_unique<RecordingBell>();
    bell = ownBell.get();
    auto ownWindowSystemBell = std::make_unique<RecordingBell>();
    windowSystemBell = ownWindowSystemBell.get();
    auto ownTicks = kind == FakeTicks ? std::make_unique<FakeMonotonicClock>() : nullptr;
    ticks = ownTicks.get();
    window = std::make_unique<Hopsala>(HopsalaPorts{std::move(ownClock), {path().toStdString()}, std::move(ownBell),
                                                    std::move(ownWindowSystemBell), std::move(ownTicks),
                                                    [this] { ++terminations; }});
    dressAfterFirstFrame(*window);
}

bool MainWindowFixture::start()
{
    window->load();
    window->showCentred();
    return QTest::qWaitForWindowExposed(window.get());
}

QString MainWindowFixture::caption(const char *name) const
{
    return control<QLabel>(name)->text();
}

bool MainWindowFixture::timerActive(const char *name) const
{
    if (auto *steady = control<SteadyTimer>(name))
        return steady->isActive();
    return control<QTimer>(name)->isActive();
}
