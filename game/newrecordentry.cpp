#include "game/newrecordentry.h"

#include "game/appdir.h"
#include "game/leveltable.h"
#include "game/score.h"

#include <utility>

NewRecordEntry::NewRecordEntry(Toolkit &toolkit, GameState &state, std::size_t level, std::string points,
                               long count)
    : m_toolkit(toolkit)
    , m_state(state)
    , m_level(level)
    , m_points(std::move(points))
    , m_count(count)
{
}

std::string NewRecordEntry::settingsPath() const
{
    return settingsFilePath(m_state.AppDir);
}

void NewRecordEntry::run()
{
    bool record = false;
    retryUntilDone([&] { record = refreshIsRecord(); },
                   "Das Ergebnis (" + m_points + " Doppelklicks) wird mit dem Rekord verglichen, sobald die Datei "
                   "wieder gelesen werden kann.",
                   "Das Ergebnis (" + m_points + " Doppelklicks) wird nicht gespeichert.");
    if (!record)
        return;

    // The player hears of a file that cannot take the record before typing a name.
    retryUntilDone([this] { CheckSettingsWritable(settingsPath()); },
                   "Der neue Rekord kann erst gespeichert werden, wenn die Datei wieder beschreibbar ist.",
                   "Der Rekord (" + m_points + " Doppelklicks) wird nicht gespeichert.");
    m_state.DefaultName = m_state.HighScoreTable[m_level].name.displayText();
    const std::string answer = m_toolkit.inputBox(
        "Neuer Rekord: " + m_points + " Doppelklicks! Trag deinen Namen ein:", "Highscore", m_state.DefaultName);
    const HighScoreEntry entry{FieldValue::text(m_points), FieldValue::text(answer.empty() ? "unbekannt" : answer)};
    const std::string what =
        "Rekord (" + m_points + " Doppelklicks von " + QuoteForMessage(entry.name.displayText()) + ")";
    retryUntilDone([&] { storeNewRecord(entry); }, "Der neue " + what + " ist noch nicht gespeichert.",
                   "Der " + what + " wird nicht gespeichert.");
}

// A file removed during the game (a cleanup tool, a sync client) holds no
// records, nor does one cut short or damaged meanwhile (an editor saving):
// any score is a record then, and the write makes the file anew, a damaged
// one from the records read last. A stored score that is no number is said
// and counts as none.
bool NewRecordEntry::refreshIsRecord()
{
    const SettingsReading reading = ReadSettingsIfIntact(settingsPath());
    if (reading.damaged)
        return beatsStored(FieldValue());
    const SettingsRecord stored = reading.record.value_or(SettingsRecord{m_state.LevelName, {}});
    m_state.LevelName = stored.level;
    m_state.HighScoreTable = stored.entries;
    const FieldValue &score = stored.entries[m_level].score;
    if (!scoreValue(score))
        m_toolkit.messageBox(noNumberMessage(score, LevelTable[m_level].name, settingsPath())
                             + " Er zählt darum nicht, und ein neuer Rekord ersetzt ihn.");
    return beatsStored(score);
}

// The game's count G is whole, so the stored score S rounded down is below G
// exactly when S itself is: the exact comparison needs no rounding.
bool NewRecordEntry::beatsStored(const FieldValue &storedScore) const
{
    return CompareDecimals(scoreValue(storedScore).value_or("0"), std::to_string(m_count)) < 0;
}

// A record the player has earned is not lost to a file that cannot take it
// for the moment (a full disk, a read-only remount, a folder in its place):
// the player is told why and may try again as often as they like. Only
// giving up ends the program, as any failure does, saying what is lost.
void NewRecordEntry::retryUntilDone(const std::function<void()> &step, const std::string &why,
                                    const std::string &lost)
{
    for (;;) {
        try {
            return step();
        } catch (const SettingsError &error) {
            if (!m_toolkit.retryBox(std::string(error.what()) + "\n\n" + why))
                throw SettingsError(std::string(error.what()) + "\n\n" + lost + " Das Spiel wird beendet.");
        }
    }
}

// The name box may have stood open for minutes while another copy of the
// game stored a record: the new one goes into the records the file holds
// now, and only while the game still beats the one stored for its level.
void NewRecordEntry::storeNewRecord(const HighScoreEntry &entry)
{
    bool outdone = false;
    const auto held = updateSettingsAndSay(m_toolkit, settingsPath(),
                                           [&](const auto &stored) -> std::optional<SettingsRecord> {
        if (stored && !beatsStored(stored->entries[m_level].score)) {
            outdone = true;
            return std::nullopt;
        }
        SettingsRecord record = stored.value_or(SettingsRecord{m_state.LevelName, m_state.HighScoreTable});
        record.entries[m_level] = entry;
        return record;
    });
    m_state.LevelName = held->level;
    m_state.HighScoreTable = held->entries;
    if (!outdone)
        return;
    const HighScoreEntry &better = held->entries[m_level];
    m_toolkit.messageBox("Inzwischen wurde für „" + std::string(LevelTable[m_level].name)
                         + "“ ein mindestens ebenso gutes Ergebnis gespeichert ("
                         + QuoteForMessage(better.score.displayText()) + " Doppelklicks von "
                         + QuoteForMessage(better.name.displayText()) + "), darum wird deins nicht eingetragen.");
}

std::optional<SettingsRecord> updateSettingsAndSay(Toolkit &toolkit, const std::string &path,
                                                   const SettingsChange &change)
{
    SettingsUpdate update = UpdateSettings(path, change);
    if (!update.lost.empty())
        toolkit.messageBox(update.lost);
    return std::move(update.record);
}
