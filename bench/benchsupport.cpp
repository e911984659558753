#include "benchsupport.h"

#include <QWidget>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

std::int64_t monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

long peakResidentKib()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto toSeconds = [](timeval t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

long long voluntarySwitches()
{
    long long total = 0;
    for (const auto &task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string key;
        while (status >> key) {
            if (key == "voluntary_ctxt_switches:") {
                long long count = 0;
                status >> count;
                total += count;
            }
            status.ignore(1 << 12, '\n');
        }
    }
    return total;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void printFigure(const char *key, double value)
{
    std::printf("%s %.6f\n", key, value);
}

void printTicks(const std::vector<BenchClock::time_point> &ticks)
{
    using Milliseconds = std::chrono::duration<double, std::milli>;
    std::vector<double> intervals;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        intervals.push_back(Milliseconds(ticks[i] - ticks[i - 1]).count());
    const double span = ticks.size() > 1
        ? std::chrono::duration<double>(ticks.back() - ticks.front()).count()
        : NAN;
    printFigure("ticks_per_s", static_cast<double>(intervals.size()) / span);
    printFigure("tick_p50_ms", percentile(intervals, 0.50));
    printFigure("tick_p99_ms", percentile(intervals, 0.99));
    printFigure("tick_max_ms", percentile(intervals, 1.0));
}

void printSteps(long steps, BenchClock::duration elapsed)
{
    printFigure("steps_per_s",
                static_cast<double>(steps) / std::chrono::duration<double>(elapsed).count());
}

BenchApplication::BenchApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void BenchApplication::watchFirstFrame(const QString &objectName,
                                       std::function<void(QWidget &)> onFirstFrame)
{
    m_watchedName = objectName;
    m_onFirstFrame = std::move(onFirstFrame);
}

void BenchApplication::startCountingTimerEvents(const QObject *ignored)
{
    m_ignored = ignored;
    m_timerEvents = 0;
    m_counting = true;
}

std::int64_t BenchApplication::stopCountingTimerEvents()
{
    m_counting = false;
    return m_timerEvents;
}

// Looked up only on expose events, which are rare; the window is found by
// name so that the probe needs no handle on how the program built it.
QWidget *BenchApplication::watchedWidget(const QObject *receiver) const
{
    if (!receiver->isWindowType())
        return nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (widget->windowHandle() == receiver && widget->objectName() == m_watchedName)
            return widget;
    }
    return nullptr;
}

bool BenchApplication::notify(QObject *receiver, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (m_counting && type == QEvent::Timer && receiver != m_ignored)
        ++m_timerEvents;
    if (type == QEvent::Paint && m_insideExpose)
        ++m_paintsDuringExpose;
    QWidget *watched = nullptr;
    if (type == QEvent::Expose && m_onFirstFrame)
        watched = watchedWidget(receiver);
    if (!watched)
        return QApplication::notify(receiver, event);

    m_insideExpose = true;
    m_paintsDuringExpose = 0;
    const bool handled = QApplication::notify(receiver, event);
    m_insideExpose = false;
    if (m_paintsDuringExpose > 0 && static_cast<QWindow *>(receiver)->isExposed()) {
        // Taken before the callback runs: it may print or quit.
        auto onFirstFrame = std::move(m_onFirstFrame);
        m_onFirstFrame = nullptr;
        onFirstFrame(*watched);
    }
    return handled;
}
