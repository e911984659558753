#include "game/gametime.h"

#include <charconv>

namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;
// Twelve hours ahead, then the game's 30 seconds: only the seconds count.
constexpr int GameOffsetSeconds = 12 * 60 * 60 + 30;

} // namespace

std::string twoDigits(int value)
{
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

int secondsField(const std::string &time)
{
    int seconds = 0;
    if (time.size() >= 2)
        std::from_chars(time.data() + time.size() - 2, time.data() + time.size(), seconds);
    return seconds;
}

bool setBack(const TimeOfDay &earlier, const TimeOfDay &later)
{
    const auto secondOfDay = [](const TimeOfDay &t) { return (t.hours * 60 + t.minutes) * 60 + t.seconds; };
    const int ahead = (secondOfDay(later) - secondOfDay(earlier) + SecondsPerDay) % SecondsPerDay;
    return ahead > SecondsPerDay / 2;
}

std::string endTimeFor(const TimeOfDay &start)
{
    const int startSeconds = (start.hours * 60 + start.minutes) * 60 + start.seconds;
    const int end = (startSeconds + GameOffsetSeconds) % SecondsPerDay;
    return twoDigits(end / 3600) + ':' + twoDigits(end / 60 % 60) + ':' + twoDigits(end % 60);
}

double secondsLeftAt(const std::string &endTime, const std::string &nowSeconds, const TimeOfDay &now,
                     const std::optional<GameTick> &previous)
{
    double secondsLeft = secondsField(endTime) - secondsField(nowSeconds);
    if (secondsLeft < 0)
        secondsLeft += 60;
    // Seconds left only ever fall while the clock runs on; more than on the
    // last tick means no tick fell within the end second (the program was
    // held up, or the clock set forward), and the game is over now rather
    // than a minute later. A clock set back shows more too: that game goes
    // on until the seconds next equal the end second.
    if (previous && secondsLeft > previous->secondsLeft && !setBack(previous->time, now))
        return 0;
    return secondsLeft;
}
