#include "game/mainform.h"

#include "game/appdir.h"
#include "game/leveltable.h"

#include <charconv>
#include <string>

MainForm::MainForm(Toolkit &toolkit, const Clock &clock)
    : m_toolkit(toolkit)
    , m_clock(clock)
{
}

std::string MainForm::settingsPath() const
{
    return settingsFilePath(m_state.AppDir);
}

void MainForm::Form_Load()
{
    m_state.AppDir = withTrailingSeparator(m_toolkit.programDirectory());
    const SettingsRecord record = ReadSettings(settingsPath());
    m_state.LevelName = record.level;
    m_state.HighScoreTable = record.entries;

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

void MainForm::cmdLos_Click()
{
    m_toolkit.setTimerEnabled(Toolkit::Timer::TimerZ, true);
    m_toolkit.setTimerEnabled(Toolkit::Timer::TimerB, true);
    m_state.EndTime = endTimeFor(m_clock.now());
    m_previousTick.reset();
    resetBothCounters(m_toolkit);
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

void MainForm::chooseLevel(std::size_t index)
{
    applyLevel(index);
    stopBothTimers(m_toolkit);
    resetBothCounters(m_toolkit);
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
    const auto written = UpdateSettings(settingsPath(), [this](const auto &stored) {
        SettingsRecord record = stored.value_or(SettingsRecord{{}, m_state.HighScoreTable});
        record.level = m_state.LevelName;
        return std::optional(record);
    });
    m_state.HighScoreTable = written->entries;
}

void MainForm::mnuHigh_Click()
{
    m_toolkit.showHighScores();
}

void MainForm::mnuEnd_Click()
{
    m_toolkit.quit();
}
