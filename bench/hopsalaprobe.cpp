// Hopsala1 started as app/main.cpp starts it (runHopsala), with probes. Prints
// "key value" lines for bench/run.py.
//
// --first-frame: prints first_frame_ns (CLOCK_MONOTONIC) once the main window
//   has painted its first frame, and ends.
// --session: after the first frame lets the program rest (timer events and
//   context switches while no game runs), presses "Los" (TimerB's ticks and
//   the CPU time of a running game), then double-clicks the ball many times
//   (time from the double-click event to lblPunkte's new text), and ends
//   long before the game would.
// --steps SECONDS: after the first frame presses "Los" and counts TimerB's
//   timeouts, each one step of the ball, for SECONDS of the game (at most
//   25, before the game ends); prints steps_per_s and the game's CPU time.

#include "app/start.h"
#include "benchsupport.h"
#include "platform/steadytimer.h"
#include "ui/hopsala.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

namespace {

constexpr int SettleMilliseconds = 1000; // start-up's own timers die down
constexpr int IdleMilliseconds = 3000;
constexpr int GameMilliseconds = 5000;
constexpr int DoubleClicks = 2000;

double seconds(BenchClock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

class Session
{
public:
    Session(BenchApplication &app, QWidget &window) : m_app(app), m_window(window)
    {
        m_phase.setSingleShot(true);
        m_phase.setTimerType(Qt::PreciseTimer);
    }

    void start()
    {
        after(SettleMilliseconds, [this] { rest(); });
    }

private:
    void after(int milliseconds, std::function<void()> next)
    {
        QObject::disconnect(&m_phase, nullptr, nullptr, nullptr);
        QObject::connect(&m_phase, &QTimer::timeout, std::move(next));
        m_phase.start(milliseconds);
    }

    void rest()
    {
        const long long switchesBefore = voluntarySwitches();
        const BenchClock::time_point begin = BenchClock::now();
        m_app.startCountingTimerEvents(&m_phase);
        after(IdleMilliseconds, [this, switchesBefore, begin] {
            const double timerEvents = static_cast<double>(m_app.stopCountingTimerEvents());
            // Less the one sleep that the phase timer itself ends.
            const double switches =
                static_cast<double>(voluntarySwitches() - switchesBefore - 1);
            const double elapsed = seconds(BenchClock::now() - begin);
            printFigure("idle_timer_events_per_s", timerEvents / elapsed);
            printFigure("idle_switches_per_s", switches / elapsed);
            play();
        });
    }

    void play()
    {
        auto *timerB = m_window.findChild<SteadyTimer *>(QStringLiteral("TimerB"));
        auto *cmdLos = m_window.findChild<QPushButton *>(QStringLiteral("cmdLos"));
        m_ticks.reserve(1000);
        const QMetaObject::Connection ticks = QObject::connect(
            timerB, &SteadyTimer::timeout, [this] { m_ticks.push_back(BenchClock::now()); });
        const double cpuBefore = cpuSeconds();
        const long long switchesBefore = voluntarySwitches();
        const BenchClock::time_point begin = BenchClock::now();
        cmdLos->click();
        after(GameMilliseconds, [this, ticks, cpuBefore, switchesBefore, begin] {
            const double cpu = cpuSeconds() - cpuBefore;
            const double switches = static_cast<double>(voluntarySwitches() - switchesBefore);
            const double elapsed = seconds(BenchClock::now() - begin);
            QObject::disconnect(ticks);
            printTicks(m_ticks);
            printFigure("game_cpu_percent", 100.0 * cpu / elapsed);
            printFigure("game_switches_per_s", switches / elapsed);
            doubleClick();
            printFigure("peak_rss_kib", static_cast<double>(peakResidentKib()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }

    // Press, release, double click, release, as the window system delivers
    // a double click; only the double-click event is timed, up to the new
    // text of lblPunkte. The event loop runs between two double clicks, so
    // the ball moves and the label is painted as in play.
    void doubleClick()
    {
        auto *ball = m_window.findChild<QWidget *>(QStringLiteral("Ball"));
        auto *lblPunkte = m_window.findChild<QLabel *>(QStringLiteral("lblPunkte"));
        const QPointF centre = QRectF(ball->rect()).center();
        auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
            QMouseEvent event(type, centre, ball->mapToGlobal(centre), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(ball, &event);
        };
        std::vector<double> handling;
        int counted = 0;
        for (int i = 0; i < DoubleClicks; ++i) {
            send(QEvent::MouseButtonPress, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, Qt::NoButton);
            const QString before = lblPunkte->text();
            const BenchClock::time_point begin = BenchClock::now();
            send(QEvent::MouseButtonDblClick, Qt::LeftButton);
            const bool changed = lblPunkte->text() != before;
            const BenchClock::time_point end = BenchClock::now();
            send(QEvent::MouseButtonRelease, Qt::NoButton);
            counted += changed ? 1 : 0;
            handling.push_back(1e3 * seconds(end - begin));
            QCoreApplication::processEvents();
        }
        printFigure("dblclick_counted", counted);
        printFigure("dblclick_sent", DoubleClicks);
        printFigure("dblclick_p50_ms", percentile(handling, 0.50));
        printFigure("dblclick_p99_ms", percentile(handling, 0.99));
    }

    BenchApplication &m_app;
    QWidget &m_window;
    QTimer m_phase;
    std::vector<BenchClock::time_point> m_ticks;
};

// Steps of the ball per second of a game, one TimerB_Timer per timeout, and
// the CPU time the game takes meanwhile.
void countSteps(QWidget &window, int gameSeconds)
{
    static QTimer end;
    static long steps = 0;
    auto *timerB = window.findChild<SteadyTimer *>(QStringLiteral("TimerB"));
    auto *cmdLos = window.findChild<QPushButton *>(QStringLiteral("cmdLos"));
    QObject::connect(timerB, &SteadyTimer::timeout, [] { ++steps; });
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    const double cpuBefore = cpuSeconds();
    const BenchClock::time_point begin = BenchClock::now();
    QObject::connect(&end, &QTimer::timeout, [cpuBefore, begin] {
        const BenchClock::duration elapsed = BenchClock::now() - begin;
        printSteps(steps, elapsed);
        printFigure("game_cpu_percent", 100.0 * (cpuSeconds() - cpuBefore) / seconds(elapsed));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    cmdLos->click();
    end.start(std::chrono::seconds(gameSeconds));
}

} // namespace

int main(int argc, char *argv[])
{
    const bool session = argc > 1 && std::strcmp(argv[1], "--session") == 0;
    const int stepSeconds = argc > 2 && std::strcmp(argv[1], "--steps") == 0
        ? std::clamp(std::atoi(argv[2]), 1, 25)
        : 0;
    BenchApplication app(argc, argv);
    std::unique_ptr<Session> probe;
    app.watchFirstFrame(QStringLiteral("Hopsala"), [&app, &probe, session,
                                                    stepSeconds](QWidget &window) {
        std::printf("first_frame_ns %lld\n", static_cast<long long>(monotonicNanoseconds()));
        std::fflush(stdout);
        if (stepSeconds > 0) {
            QWidget *shown = &window;
            QTimer::singleShot(SettleMilliseconds, [shown, stepSeconds] {
                countSteps(*shown, stepSeconds);
            });
            return;
        }
        if (!session) {
            QCoreApplication::exit(0);
            return;
        }
        probe = std::make_unique<Session>(app, window);
        probe->start();
    });
    return runHopsala();
}
