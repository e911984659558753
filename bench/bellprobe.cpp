// Hopsala1 started as app/main.cpp starts it, with its real bell, for
// bench/belllatency.py. At the first frame it presses "Los" with the mouse;
// --first MS later it double-clicks the ball, --bells N times, --gap MS
// apart; before each double-click event it prints "bell_ns"
// (CLOCK_MONOTONIC), and ends long before the game would.

#include "app/start.h"
#include "benchsupport.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

struct Plan
{
    int firstMilliseconds = 500;
    int gapMilliseconds = 500;
    int bells = 10;
};

Plan readPlan(int argc, char *argv[])
{
    Plan plan;
    for (int i = 1; i + 1 < argc; i += 2) {
        const int value = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--first") == 0)
            plan.firstMilliseconds = value;
        else if (std::strcmp(argv[i], "--gap") == 0)
            plan.gapMilliseconds = value;
        else if (std::strcmp(argv[i], "--bells") == 0)
            plan.bells = value;
    }
    return plan;
}

void sendMouse(QWidget &widget, QEvent::Type type, Qt::MouseButtons buttons)
{
    const QPointF centre = QRectF(widget.rect()).center();
    QMouseEvent event(type, centre, widget.mapToGlobal(centre), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// Press, release, double click, release, as the window system delivers a
// double click; the double-click event is the one that beeps.
void doubleClick(QWidget &ball)
{
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) { sendMouse(ball, type, buttons); };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    std::printf("bell_ns %lld\n", static_cast<long long>(monotonicNanoseconds()));
    std::fflush(stdout);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
}

void ringAfter(QWidget &window, int left, const Plan &plan, int milliseconds)
{
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &window, [&window, left, plan] {
        if (left == 0) {
            QCoreApplication::exit(0);
            return;
        }
        doubleClick(*window.findChild<QWidget *>(QStringLiteral("Ball")));
        ringAfter(window, left - 1, plan, plan.gapMilliseconds);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    const Plan plan = readPlan(argc, argv);
    BenchApplication app(argc, argv);
    app.watchFirstFrame(QStringLiteral("Hopsala"), [&plan](QWidget &window) {
        QWidget &los = *window.findChild<QPushButton *>(QStringLiteral("cmdLos"));
        sendMouse(los, QEvent::MouseButtonPress, Qt::LeftButton);
        sendMouse(los, QEvent::MouseButtonRelease, Qt::NoButton);
        ringAfter(window, plan.bells, plan, plan.firstMilliseconds);
    });
    return runHopsala();
}
