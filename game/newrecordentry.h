#pragma once

#include "game/gamestate.h"
#include "game/toolkit.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// The last step of a game's end: Wahl.txt read again, the game's count
// tested against the record it holds for the level just played, and a
// record asked a name for and stored. What the game earned is never lost to
// the file: any trouble with it, from the read to the write, is said in a
// box that offers to try again, and only giving up ends the program.
class NewRecordEntry
{
public:
    // level indexes LevelTable; points is lblPunkte's caption, count its value.
    NewRecordEntry(Toolkit &toolkit, GameState &state, std::size_t level, std::string points, long count);

    void run();

private:
    bool refreshIsRecord();
    bool beatsStored(const FieldValue &storedScore) const;
    void storeNewRecord(const HighScoreEntry &entry);
    // why: what waits for the file; lost: what giving up loses.
    void retryUntilDone(const std::function<void()> &step, const std::string &why, const std::string &lost);
    std::string settingsPath() const;

    Toolkit &m_toolkit;
    GameState &m_state;
    std::size_t m_level;
    std::string m_points;
    long m_count;
};

// Reads Wahl.txt and writes what change makes of it, as UpdateSettings does,
// and tells the player in a box whatever of the file the write could not keep.
std::optional<SettingsRecord> updateSettingsAndSay(Toolkit &toolkit, const std::string &path,
                                                   const SettingsChange &change);
