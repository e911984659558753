#include "game/leveltable.h"
#include "game/mainform.h"

#include <cmath>

namespace {

std::string_view trimmedBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A stored score as a number: a bare number as it is, an empty field as 0, a
// text by its value. A text may carry blanks around it and a sign; anything
// else is no number and the record cannot be compared.
double scoreValue(const FieldValue &score, std::string_view level, const std::string &path)
{
    if (score.isEmpty())
        return 0;
    if (score.isNumber())
        return score.numberValue();
    std::string_view text = trimmedBlanks(score.textValue());
    const bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    if (const auto value = ParseDecimal(text); value && !(plus && text.front() == '-'))
        return *value;
    throw GameError("Der Rekord für „" + std::string(level) + "“ in der Datei „" + path
                    + "“ ist keine Zahl: „" + score.textValue()
                    + "“. Bitte die Datei prüfen oder durch eine gültige ersetzen.");
}

} // namespace

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
    const SettingsRecord stored = ReadSettings(settingsPath());
    m_state.LevelName = stored.level;
    m_state.HighScoreTable = stored.entries;

    // The check mark, not LevelName, tells the level of the game just played.
    const std::size_t index = checkedLevelIndex();
    HighScoreEntry &entry = m_state.HighScoreTable[index];
    const std::string points = m_toolkit.caption(Toolkit::Label::lblPunkte);
    const double gameScore = static_cast<double>(counter(Toolkit::Label::lblPunkte));
    const double bestScore = std::floor(scoreValue(entry.score, LevelTable[index].name, settingsPath()));
    if (!(bestScore < gameScore))
        return;

    m_state.DefaultName = entry.name.displayText();
    const std::string answer = m_toolkit.inputBox(
        "Neuer Rekord: " + points + " Doppelklicks! Trag deinen Namen ein:", "Highscore",
        m_state.DefaultName);
    entry.name = FieldValue::text(answer.empty() ? "unbekannt" : answer);
    entry.score = FieldValue::text(points);
    writeSettings();
}
