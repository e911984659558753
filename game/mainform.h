#pragma once

#include "game/clock.h"
#include "game/gameerror.h"
#include "game/gamestate.h"
#include "game/gametime.h"
#include "game/toolkit.h"

#include <cstddef>
#include <optional>
#include <string>

// The logic of the main window Hopsala: every handler of its events and its
// method Schreiben. It reaches the window, the timers, the boxes, the beep and
// the place of Wahl.txt only through the toolkit, and the time of day only
// through the clock. A handler that fails throws (SettingsError or GameError);
// the toolkit's owner reports it and ends the program.
class MainForm
{
public:
    MainForm(Toolkit &toolkit, const Clock &clock);

    void Form_Load();
    void Form_Resize();
    void cmdLos_Click();
    void Ball_Click();
    void Ball_DblClick();
    void TimerB_Timer();
    void TimerZ_Timer();
    void mnuAnf_Click();
    void mnuFor_Click();
    void mnuPro_Click();
    void mnuHigh_Click();
    void mnuEnd_Click();
    void Schreiben();

    // A game ends or is broken off: TimerZ first, so that no clock tick
    // follows, then TimerB. The window stops a game so too when it closes.
    void stopBothTimers();

    GameState &state() { return m_state; }
    const GameState &state() const { return m_state; }

private:
    void findAppDir();
    void chooseLevel(std::size_t index);
    void applyLevel(std::size_t index);
    void countClick(Toolkit::Label label);
    long counter(Toolkit::Label label) const;
    void endGame();
    void enterNewRecord();
    std::size_t checkedLevelIndex() const;
    std::string settingsPath() const;
    // Both counters show "0": lblPunkte, then lblPunkte2.
    void resetBothCounters();

    Toolkit &m_toolkit;
    const Clock &m_clock;
    GameState m_state;
    // The previous tick of the running game; none before its first tick.
    std::optional<GameTick> m_previousTick;
};
