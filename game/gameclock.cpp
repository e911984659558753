#include "game/mainform.h"

#include <charconv>

namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;
// Twelve hours ahead, then the game's 30 seconds: only the seconds count.
constexpr int GameOffsetSeconds = 12 * 60 * 60 + 30;

// value is 0..99.
std::string twoDigits(int value)
{
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

// The last two digits of "hh:mm:ss"; 0 for a text that holds no seconds.
int secondsField(const std::string &time)
{
    int seconds = 0;
    if (time.size() >= 2)
        std::from_chars(time.data() + time.size() - 2, time.data() + time.size(), seconds);
    return seconds;
}

// Whether the clock went back from earlier to later: by less than half a
// day back, as a clock is corrected, rather than by more than half ahead.
bool setBack(const TimeOfDay &earlier, const TimeOfDay &later)
{
    const auto secondOfDay = [](const TimeOfDay &t) { return (t.hours * 60 + t.minutes) * 60 + t.seconds; };
    const int ahead = (secondOfDay(later) - secondOfDay(earlier) + SecondsPerDay) % SecondsPerDay;
    return ahead > SecondsPerDay / 2;
}

} // namespace

std::string endTimeFor(const TimeOfDay &start)
{
    const int startSeconds = (start.hours * 60 + start.minutes) * 60 + start.seconds;
    const int end = (startSeconds + GameOffsetSeconds) % SecondsPerDay;
    return twoDigits(end / 3600) + ':' + twoDigits(end / 60 % 60) + ':' + twoDigits(end % 60);
}

void MainForm::TimerZ_Timer()
{
    const TimeOfDay now = m_clock.now();
    m_state.NowSeconds = twoDigits(now.seconds);
    double secondsLeft = secondsField(m_state.EndTime) - secondsField(m_state.NowSeconds);
    if (secondsLeft < 0)
        secondsLeft += 60;
    // Seconds left only ever fall while the clock runs on; more than on the
    // last tick means no tick fell within the end second (the program was
    // held up, or the clock set forward), and the game is over now rather
    // than a minute later. A clock set back shows more too: that game goes
    // on until the seconds next equal the end second.
    if (m_previousTick && secondsLeft > m_previousTick->secondsLeft && !setBack(m_previousTick->time, now))
        secondsLeft = 0;
    m_state.SecondsLeft = secondsLeft;
    m_previousTick = Tick{now, secondsLeft};

    m_toolkit.setCaption(Toolkit::Label::lblZeit, std::to_string(static_cast<int>(secondsLeft)));
    if (m_toolkit.caption(Toolkit::Label::lblZeit) == "0")
        endGame();
}

void MainForm::endGame()
{
    m_toolkit.beep();
    // Both timers are off before any box shows: no tick re-enters this
    // handler and the ball stands still while the boxes are open.
    stopBothTimers(m_toolkit);

    const std::string doubleClicks = m_toolkit.caption(Toolkit::Label::lblPunkte);
    const long errors = counter(Toolkit::Label::lblPunkte2) - counter(Toolkit::Label::lblPunkte);
    m_toolkit.messageBox("Ende! Es wurden " + doubleClicks + " Doppelklicks geschafft. Fehler:"
                         + std::to_string(errors));
    enterNewRecord();
}
