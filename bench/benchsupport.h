#pragma once

#include <QApplication>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

// What the floor and the probe measure alike. Results go to stdout as
// "key value" lines for bench/run.py.

using BenchClock = std::chrono::steady_clock;

// CLOCK_MONOTONIC in nanoseconds: bench/run.py reads the same clock just
// before it starts a program, so the two subtract to the start-up time.
std::int64_t monotonicNanoseconds();

// The peak resident set of this process (VmHWM), in KiB.
long peakResidentKib();

// User and system CPU time of all threads of this process, in seconds.
double cpuSeconds();

// Voluntary context switches of all threads: each one is a thread going to
// sleep, so the count is the number of wake-ups.
long long voluntarySwitches();

// The value at fraction p of the values (nearest rank); NaN when empty.
double percentile(std::vector<double> values, double p);

void printFigure(const char *key, double value);

// ticks_per_s over the span from the first to the last tick, and the
// interval between ticks: tick_p50_ms, tick_p99_ms, tick_max_ms.
void printTicks(const std::vector<BenchClock::time_point> &ticks);

// steps_per_s: the steps of a game (ticks of the ball's timer) over the
// time it ran.
void printSteps(long steps, BenchClock::duration elapsed);

// A QApplication that tells when a window has painted its first frame
// and counts the timer events it delivers. Both the floor and the probe use
// it, so whatever it costs is the same on both sides of a ratio.
//
// Qt paints a widget window and hands the frame to the X connection while
// it handles the window's first expose event; the moment that event returns
// with the window exposed and widgets painted is the first frame. The frame
// leaves the connection at its next flush, a fraction of a millisecond
// later, alike for every program measured.
class BenchApplication : public QApplication
{
public:
    BenchApplication(int &argc, char **argv);

    // onFirstFrame runs once, right after the first frame of the top-level
    // widget named objectName, and is given that widget.
    void watchFirstFrame(const QString &objectName, std::function<void(QWidget &)> onFirstFrame);

    // Counts the timer events delivered to any object except ignored, which
    // is the bench's own phase timer.
    void startCountingTimerEvents(const QObject *ignored);
    std::int64_t stopCountingTimerEvents();

    bool notify(QObject *receiver, QEvent *event) override;

private:
    QWidget *watchedWidget(const QObject *receiver) const;

    QString m_watchedName;
    std::function<void(QWidget &)> m_onFirstFrame;
    bool m_insideExpose = false;
    int m_paintsDuringExpose = 0;
    bool m_counting = false;
    const QObject *m_ignored = nullptr;
    std::int64_t m_timerEvents = 0;
};
