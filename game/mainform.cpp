#include "game/mainform.h"

#include "game/appdir.h"
#include "game/gametime.h"
#include "game/leveltable.h"
#include "game/newrecordentry.h"
#include "game/score.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace {

// The ball bounces this far inside the window's outer size, which includes
// the frame, the title bar and the menu bar.
constexpr float BottomMargin = 750.0f;
constexpr float RightMargin = 100.0f;

} // namespace

MainForm::MainForm(Toolkit &toolkit, const Clock &clock)
    : m_toolkit(toolkit)
    , m_clock(clock)
{
}

std::string MainForm::settingsPath() const
{
    return settingsFilePath(m_state.AppDir);
}

// AppDir, with the player's Wahl.txt in it where the install keeps one for
// each player and this is their first start.
void MainForm::findAppDir()
{
    const SettingsPlace place = m_toolkit.settingsPlace();
    // Never the root folder or the working folder in its stead: their
    // Wahl.txt is no file of this program's, nor this player's.
    if (place.directory.empty())
        throw GameError(place.defaultFile.empty()
                            ? "Der Ordner des Programms lässt sich nicht bestimmen, und damit auch nicht seine "
                              "Datei „Wahl.txt“. Das Spiel wird beendet."
                            : "Der Ordner für deine Rekorde lässt sich nicht bestimmen: Weder XDG_DATA_HOME noch "
                              "HOME nennen einen absoluten Pfad, und die Benutzerdatenbank kennt keinen "
                              "persönlichen Ordner. Das Spiel wird beendet.");
    m_state.AppDir = withTrailingSeparator(place.directory);
    if (!place.defaultFile.empty())
        PlaceDefaultSettings(settingsPath(), place.defaultFile);
}

void MainForm::Form_Load()
{
    findAppDir();
    const SettingsRecord record = ReadSettings(settingsPath());
    m_state.LevelName = record.level;
    m_state.HighScoreTable = record.entries;
    // A score the record test cannot read is said now, not after a game
    // played for nothing.
    for (std::size_t i = 0; i < LevelTable.size(); ++i) {
        if (!scoreValue(m_state.HighScoreTable[i].score))
            throw GameError(noNumberMessage(m_state.HighScoreTable[i].score, LevelTable[i].name, settingsPath())
                            + " Bitte die Datei prüfen oder durch eine gültige ersetzen.");
    }

    if (const auto index = levelIndexByName(m_state.LevelName)) {
        applyLevel(*index);
    } else {
        // A level field that names no level leaves the mark on "Anfänger",
        // where the window is created with it, so a record is stored for
        // "Anfänger": the ball gets that level's steps too, or that record
        // could be set on a ball that never moves. The marks and LevelName
        // stay as they are; LevelName is written back unchanged.
        m_state.StepX = LevelTable[0].stepX;
        m_state.StepY = LevelTable[0].stepY;
    }
}

void MainForm::applyLevel(std::size_t index)
{
    m_state.StepX = LevelTable[index].stepX;
    m_state.StepY = LevelTable[index].stepY;
    for (std::size_t i = 0; i < LevelTable.size(); ++i)
        m_toolkit.setChecked(LevelTable[i].menuItem, i == index);
}

void MainForm::Form_Resize()
{
    m_toolkit.setLineY2(m_toolkit.windowOuterHeight());
}

void MainForm::cmdLos_Click()
{
    m_toolkit.setTimerEnabled(Toolkit::Timer::TimerZ, true);
    m_toolkit.setTimerEnabled(Toolkit::Timer::TimerB, true);
    m_state.EndTime = endTimeFor(m_clock.now());
    m_previousTick.reset();
    resetBothCounters();
}

// A counter label holds the plain decimal digits that the game wrote into it.
long MainForm::counter(Toolkit::Label label) const
{
    const std::string text = m_toolkit.caption(label);
    long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void MainForm::countClick(Toolkit::Label label)
{
    m_toolkit.setCaption(label, std::to_string(counter(label) + 1));
}

void MainForm::Ball_Click()
{
    if (!m_toolkit.isTimerEnabled(Toolkit::Timer::TimerZ))
        return;
    countClick(Toolkit::Label::lblPunkte2);
}

void MainForm::Ball_DblClick()
{
    if (!m_toolkit.isTimerEnabled(Toolkit::Timer::TimerZ))
        return;
    countClick(Toolkit::Label::lblPunkte);
    m_toolkit.beep();
}

// The reads and writes go to the toolkit in this order on purpose: every test
// sees the position that the same tick has just written, and a sign change
// takes effect on the next tick. Two tests that hold in one tick negate a
// step twice, so it keeps its sign.
void MainForm::TimerB_Timer()
{
    Toolkit &t = m_toolkit;
    t.setBallTop(static_cast<float>(t.ballTop() + static_cast<float>(m_state.StepY)));
    t.setBallLeft(static_cast<float>(t.ballLeft() + static_cast<float>(m_state.StepX)));

    const float ballHeight = t.ballHeight();
    const float bottomBound = t.windowOuterHeight() - BottomMargin;
    if (bottomBound <= ballHeight + t.ballTop())
        m_state.StepY = static_cast<std::int16_t>(-m_state.StepY);

    const float ballWidth = t.ballWidth();
    const float rightBound = t.windowOuterWidth() - RightMargin;
    if (rightBound <= ballWidth + t.ballLeft())
        m_state.StepX = static_cast<std::int16_t>(-m_state.StepX);

    if (t.ballTop() <= 0.0f)
        m_state.StepY = static_cast<std::int16_t>(-m_state.StepY);

    const float leftBound = t.lineX1();
    if (t.ballLeft() <= leftBound)
        m_state.StepX = static_cast<std::int16_t>(-m_state.StepX);
}

void MainForm::TimerZ_Timer()
{
    const TimeOfDay now = m_clock.now();
    m_state.NowSeconds = twoDigits(now.seconds);
    const double secondsLeft = secondsLeftAt(m_state.EndTime, m_state.NowSeconds, now, m_previousTick);
    m_state.SecondsLeft = secondsLeft;
    m_previousTick = GameTick{now, secondsLeft};

    m_toolkit.setCaption(Toolkit::Label::lblZeit, std::to_string(static_cast<int>(secondsLeft)));
    if (m_toolkit.caption(Toolkit::Label::lblZeit) == "0")
        endGame();
}

void MainForm::endGame()
{
    m_toolkit.beep();
    // Both timers are off before any box shows: no tick re-enters this
    // handler and the ball stands still while the boxes are open.
    stopBothTimers();

    const std::string doubleClicks = m_toolkit.caption(Toolkit::Label::lblPunkte);
    const long errors = counter(Toolkit::Label::lblPunkte2) - counter(Toolkit::Label::lblPunkte);
    m_toolkit.messageBox("Ende! Es wurden " + doubleClicks + " Doppelklicks geschafft. Fehler:"
                         + std::to_string(errors));
    enterNewRecord();
}

std::size_t MainForm::checkedLevelIndex() const
{
    for (std::size_t i = 0; i < LevelTable.size(); ++i) {
        if (m_toolkit.isChecked(LevelTable[i].menuItem))
            return i;
    }
    return 0; // the window is created with "Anfänger" checked
}

void MainForm::enterNewRecord()
{
    // The check mark, not LevelName, tells the level of the game just played.
    NewRecordEntry(m_toolkit, m_state, checkedLevelIndex(), m_toolkit.caption(Toolkit::Label::lblPunkte),
                   counter(Toolkit::Label::lblPunkte))
        .run();
}

void MainForm::chooseLevel(std::size_t index)
{
    applyLevel(index);
    stopBothTimers();
    resetBothCounters();
    m_state.LevelName = FieldValue::text(std::string(LevelTable[index].name));
    Schreiben();
}

void MainForm::mnuAnf_Click() { chooseLevel(0); }
void MainForm::mnuFor_Click() { chooseLevel(1); }
void MainForm::mnuPro_Click() { chooseLevel(2); }

// Another copy of the game, or a hand in an editor, may have stored records
// since this one read the file: the level goes into the records the file
// holds now, and only a file that holds none takes those in memory.
void MainForm::Schreiben()
{
    const auto written = updateSettingsAndSay(m_toolkit, settingsPath(), [this](const auto &stored) {
        SettingsRecord record = stored.value_or(SettingsRecord{{}, m_state.HighScoreTable});
        record.level = m_state.LevelName;
        return std::optional(record);
    });
    m_state.HighScoreTable = written->entries;
}

void MainForm::mnuHigh_Click() { m_toolkit.showHighScores(); }
void MainForm::mnuEnd_Click() { m_toolkit.quit(); }

void MainForm::stopBothTimers()
{
    m_toolkit.setTimerEnabled(Toolkit::Timer::TimerZ, false);
    m_toolkit.setTimerEnabled(Toolkit::Timer::TimerB, false);
}

void MainForm::resetBothCounters()
{
    m_toolkit.setCaption(Toolkit::Label::lblPunkte, "0");
    m_toolkit.setCaption(Toolkit::Label::lblPunkte2, "0");
}
