#pragma once

#include "storage/settings.h"

#include <array>
#include <cstdint>
#include <string>

// Everything the main window's handlers share apart from the window's own
// controls. One instance, living as long as the main window.
struct GameState
{
    FieldValue LevelName;                     // the level field as read, or the level chosen
    std::int16_t StepX = 0;                   // twips per tick of TimerB; positive moves right
    std::int16_t StepY = 0;                   // twips per tick of TimerB; positive moves down
    std::string AppDir;                       // always ends in a directory separator
    std::array<HighScoreEntry, 3> HighScoreTable; // in the order of LevelTable
    std::string EndTime;                      // "hh:mm:ss"
    double SecondsLeft = 0;                   // 0..59, as shown on the last clock tick
    std::string NowSeconds;                   // "00".."59" of the last clock tick
    std::string DefaultName;                  // pre-filled answer of the name prompt
};
