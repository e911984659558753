// The floor of the ratios: the least a Qt Widgets program with a main
// window, a menu bar and a few labels costs on this machine. Its window has
// the size of the game's.
//
//   (no argument)   stays open until it is ended; for the peak memory.
//   --first-frame   prints first_frame_ns (CLOCK_MONOTONIC) once its window
//                   has painted its first frame, and ends.
//   --game          a second after the first frame moves one 50 by 50 pixel
//                   label by a pixel on every tick of a 16 ms precise timer
//                   for 5 s, the least a moving ball costs, and prints the
//                   figures that the probe prints for a running game.
//   --steps SECONDS the same for SECONDS (at most 25); prints steps_per_s,
//                   the ticks of the timer per second, as the probe does.

#include "benchsupport.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int SettleMilliseconds = 1000; // as in the probe
constexpr int TickMilliseconds = 16;
constexpr int GameMilliseconds = 5000;

// Moves ball back and forth along the diagonal until the game's time is up.
void playFloorGame(QLabel *ball, int milliseconds)
{
    static QTimer tick;
    static QTimer end;
    static std::vector<BenchClock::time_point> ticks;
    tick.setTimerType(Qt::PreciseTimer);
    end.setTimerType(Qt::PreciseTimer);
    end.setSingleShot(true);
    QObject::connect(&tick, &QTimer::timeout, [ball] {
        ticks.push_back(BenchClock::now());
        const int step = (ticks.size() / 100) % 2 == 0 ? 1 : -1;
        ball->move(ball->pos() + QPoint(step, step));
    });
    const double cpuBefore = cpuSeconds();
    const long long switchesBefore = voluntarySwitches();
    const BenchClock::time_point begin = BenchClock::now();
    QObject::connect(&end, &QTimer::timeout, [cpuBefore, switchesBefore, begin] {
        const double cpu = cpuSeconds() - cpuBefore;
        const double switches = static_cast<double>(voluntarySwitches() - switchesBefore);
        const double elapsed = std::chrono::duration<double>(BenchClock::now() - begin).count();
        tick.stop();
        printTicks(ticks);
        printSteps(static_cast<long>(ticks.size()), BenchClock::now() - begin);
        printFigure("game_cpu_percent", 100.0 * cpu / elapsed);
        printFigure("game_switches_per_s", switches / elapsed);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    tick.start(TickMilliseconds);
    end.start(milliseconds);
}

} // namespace

int main(int argc, char *argv[])
{
    const char *mode = argc > 1 ? argv[1] : "";
    BenchApplication app(argc, argv);

    QMainWindow window;
    window.setObjectName(QStringLiteral("Floor"));
    window.setWindowTitle(QStringLiteral("Floor"));
    QMenu *menu = window.menuBar()->addMenu(QStringLiteral("Datei"));
    for (const char *entry : {"Eins", "Zwei", "Drei", "Ende"})
        menu->addAction(QString::fromLatin1(entry));
    auto *client = new QWidget(&window);
    for (int row = 0; row < 4; ++row) {
        auto *label = new QLabel(QStringLiteral("Zeile %1").arg(row), client);
        label->setGeometry(8, 8 + row * 40, 100, 25);
    }
    auto *ball = new QLabel(QStringLiteral("O"), client);
    ball->setGeometry(150, 40, 50, 50);
    // Opaque like the game's ball: moving a see-through widget costs about
    // three times the wake-ups, which would make a poor floor.
    ball->setAutoFillBackground(true);
    window.setCentralWidget(client);
    window.resize(312, 206 + window.menuBar()->sizeHint().height());

    const bool steps = std::strcmp(mode, "--steps") == 0 && argc > 2;
    const int gameMilliseconds =
        steps ? 1000 * std::clamp(std::atoi(argv[2]), 1, 25) : GameMilliseconds;
    const bool game = steps || std::strcmp(mode, "--game") == 0;
    if (game || std::strcmp(mode, "--first-frame") == 0) {
        app.watchFirstFrame(window.objectName(), [game, ball, gameMilliseconds](QWidget &) {
            std::printf("first_frame_ns %lld\n", static_cast<long long>(monotonicNanoseconds()));
            std::fflush(stdout);
            if (game)
                QTimer::singleShot(SettleMilliseconds,
                                   [ball, gameMilliseconds] { playFloorGame(ball, gameMilliseconds); });
            else
                QCoreApplication::exit(0);
        });
    }
    window.show();
    return QApplication::exec();
}
