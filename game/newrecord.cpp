#include "game/leveltable.h"
#include "game/mainform.h"

#include <string>

namespace {

std::string_view trimmedBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A stored score as an exact decimal: a bare number as it is, an empty field
// as 0, a text by its value. A text may carry blanks around it and a sign;
// anything else is no number and the record cannot be compared.
std::string scoreValue(const FieldValue &score, std::string_view level, const std::string &path)
{
    if (score.isEmpty())
        return "0";
    if (score.isNumber())
        return score.displayText();
    std::string_view text = trimmedBlanks(score.textValue());
    const bool plus = text.starts_with('+');
    text.remove_prefix(plus ? 1 : 0);
    if (auto value = CanonicalDecimal(text); value && !(plus && text.starts_with('-')))
        return *value;
    throw GameError("Der Rekord für „" + std::string(level) + "“ in der Datei „" + path + "“ ist keine Zahl: "
                    + QuoteForMessage(score.textValue()) + ". Bitte die Datei prüfen oder durch eine gültige ersetzen.");
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

// The game's count G is whole, so the stored score S rounded down is below G
// exactly when S itself is: the exact comparison needs no rounding.
bool MainForm::beatsStored(const FieldValue &storedScore, std::size_t level) const
{
    const std::string gameScore = std::to_string(counter(Toolkit::Label::lblPunkte));
    return CompareDecimals(scoreValue(storedScore, LevelTable[level].name, settingsPath()), gameScore) < 0;
}

void MainForm::enterNewRecord()
{
    const SettingsRecord stored = ReadSettings(settingsPath());
    m_state.LevelName = stored.level;
    m_state.HighScoreTable = stored.entries;

    // The check mark, not LevelName, tells the level of the game just played.
    const std::size_t index = checkedLevelIndex();
    if (!beatsStored(m_state.HighScoreTable[index].score, index))
        return;

    const std::string points = m_toolkit.caption(Toolkit::Label::lblPunkte);
    m_state.DefaultName = m_state.HighScoreTable[index].name.displayText();
    const std::string answer = m_toolkit.inputBox(
        "Neuer Rekord: " + points + " Doppelklicks! Trag deinen Namen ein:", "Highscore",
        m_state.DefaultName);
    storeNewRecord(index, {FieldValue::text(points), FieldValue::text(answer.empty() ? "unbekannt" : answer)});
}

// The name box may have stood open for minutes while another copy of the
// game stored a record: the new one goes into the records the file holds
// now, and only while the game still beats the one stored for its level.
void MainForm::storeNewRecord(std::size_t level, const HighScoreEntry &entry)
{
    bool outdone = false;
    const auto held = UpdateSettings(settingsPath(), [&](const auto &stored) -> std::optional<SettingsRecord> {
        if (stored && !beatsStored(stored->entries[level].score, level)) {
            outdone = true;
            return std::nullopt;
        }
        SettingsRecord record = stored.value_or(SettingsRecord{m_state.LevelName, m_state.HighScoreTable});
        record.entries[level] = entry;
        return record;
    });
    m_state.LevelName = held->level;
    m_state.HighScoreTable = held->entries;
    if (!outdone)
        return;
    const HighScoreEntry &better = held->entries[level];
    m_toolkit.messageBox("Inzwischen wurde für „" + std::string(LevelTable[level].name)
                         + "“ ein mindestens ebenso gutes Ergebnis gespeichert ("
                         + QuoteForMessage(better.score.displayText()) + " Doppelklicks von "
                         + QuoteForMessage(better.name.displayText()) + "), darum wird deins nicht eingetragen.");
}
