#pragma once

#include "game/clock.h"

#include <optional>
#include <string>

// The game's reckoning with times of day, which its 30 seconds end by.

// "hh:mm:ss" of the time of day 12 hours and 30 seconds after start; the day
// is dropped. Only its seconds decide the end of a game.
std::string endTimeFor(const TimeOfDay &start);

// value is 0..99; below 10 with a leading zero.
std::string twoDigits(int value);

// The last two digits of "hh:mm:ss"; 0 for a text that holds no seconds.
int secondsField(const std::string &time);

// Whether the clock went back from earlier to later: by less than half a
// day back, as a clock is corrected, rather than by more than half ahead.
bool setBack(const TimeOfDay &earlier, const TimeOfDay &later);

// A tick of a running game: when it came and the seconds it showed left.
struct GameTick
{
    TimeOfDay time;
    double secondsLeft;
};

// The seconds left at the tick at now, whose seconds are nowSeconds ("ss"),
// of a game that ends at the seconds of endTime; previous is the game's last
// tick, none before its first.
double secondsLeftAt(const std::string &endTime, const std::string &nowSeconds, const TimeOfDay &now,
                     const std::optional<GameTick> &previous);
