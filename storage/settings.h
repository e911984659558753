#pragma once

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// The Wahl.txt format: the chosen level and the best result of each level.
// In memory every text is UTF-8; the file is Windows-1252 with CR LF line ends.

// A read or write that failed, or a value that the file cannot hold. what()
// is a German sentence for the player that names the file and the cause.
class SettingsError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One field of the file: empty, a number or a text. A field keeps its form
// through memory, so a score read as a bare number is written back bare and
// one read in quotes is written back in quotes. A number is held exactly, as
// its canonical decimal digits, however many there are.
class FieldValue
{
public:
    enum class Kind { Empty, Number, Text };

    FieldValue() = default; // empty
    static FieldValue number(long long value);
    // Throws SettingsError unless decimal is a plain decimal number.
    static FieldValue number(std::string_view decimal);
    static FieldValue text(std::string utf8);

    Kind kind() const { return static_cast<Kind>(m_value.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }

    const std::string &textValue() const; // only for a text

    // What a label shows: "", the canonical digits of a number, a text unquoted.
    std::string displayText() const;

    bool operator==(const FieldValue &other) const = default;

private:
    struct Decimal { std::string digits; bool operator==(const Decimal &) const = default; };
    using Value = std::variant<std::monostate, Decimal, std::string>;
    explicit FieldValue(Value value) : m_value(std::move(value)) {}
    Value m_value;
};

// One best result: the double-click count and the holder's name.
struct HighScoreEntry
{
    FieldValue score;
    FieldValue name;
    bool operator==(const HighScoreEntry &other) const = default;
};

// The whole file: the level field and one entry per level, in the order
// "Anfänger", "Fortgeschrittener", "Profi".
struct SettingsRecord
{
    FieldValue level;
    std::array<HighScoreEntry, 3> entries;
    bool operator==(const SettingsRecord &other) const = default;
};

// The file's name in the program's directory, in exactly this letter case.
inline constexpr const char *SettingsFileName = "Wahl.txt";

// Plain decimal numbers, independent of the locale: an optional "-", digits,
// optionally "." and more digits, of any length. The canonical form has no
// leading zeros, no trailing zeros after the point, no point for a whole
// number and no "-0"; nullopt for anything else.
std::optional<std::string> CanonicalDecimal(std::string_view text);

// Below, at or above zero as a is below, equal to or above b (both canonical).
int CompareDecimals(std::string_view a, std::string_view b);

// A value as a message quotes it: in German quotes, cut after 40 characters
// with "…", so that a damaged file cannot flood a message box.
std::string QuoteForMessage(std::string_view utf8);

// Reads the seven fields of the file at path, through symbolic links. Throws
// SettingsError when it is missing, unreadable, no regular file, UTF-16,
// ends before the seventh field or is too large to be one of ours.
SettingsRecord ReadSettings(const std::string &path);

// As ReadSettings, but none where the file is not there (a link's target
// included), as after a cleanup tool or a sync client removed it.
std::optional<SettingsRecord> ReadSettingsIfPresent(const std::string &path);

// What the file at path holds for a reader that can go on without it: the
// record; or none where the file is missing, or is there but cannot be read
// as records (cut short, damaged, too large, UTF-16), which damaged tells.
// Throws SettingsError only where the file cannot be read at all (no regular
// file, no permission, a failing disk).
struct SettingsReading
{
    std::optional<SettingsRecord> record;
    bool damaged = false;
};
SettingsReading ReadSettingsIfIntact(const std::string &path);

// Throws SettingsError, naming the cause, when the file at path could not be
// written now: a read-only disk, a file or folder that refuses writing, no
// regular file in its place, a full disk. Writes nothing.
void CheckSettingsWritable(const std::string &path);

// A player's first start, where each player keeps a Wahl.txt of their own:
// makes the folder of path and those above it where missing, and where the
// file at path is missing (a link's target included), copies the installed
// file at defaultPath there byte for byte, under the writers' lock, so that
// two first starts at once make one file. A file that is there stays as it
// is, whatever it holds. Throws SettingsError naming the file and the cause;
// a copy that fails leaves no file behind.
void PlaceDefaultSettings(const std::string &path, const std::string &defaultPath);

// Puts the four lines of record into the file at path, through symbolic
// links. Throws SettingsError when a step fails; the old content stays as it
// was unless the failure came after the first new byte reached the file.
void WriteSettings(const std::string &path, const SettingsRecord &record);

// What a writer makes of the file: given the record it holds, or none where
// the file cannot be read as one (missing, damaged, refused), the record to
// write, or none to leave the file as it is.
using SettingsChange =
    std::function<std::optional<SettingsRecord>(const std::optional<SettingsRecord> &stored)>;

// What UpdateSettings leaves: the record the file holds afterwards, and a
// German sentence for the player on what of the old content the write could
// not keep (characters the file cannot hold, anything after the records, a
// damaged file), empty when it kept everything.
struct SettingsUpdate
{
    std::optional<SettingsRecord> record;
    std::string lost;
};

// Reads the file at path and writes what change makes of it, both within one
// hold of the writers' lock, so that no other copy of the program writes in
// between (a holder that hangs is waited for only a second, as by
// WriteSettings). The record is the one written, or the one read when change
// wrote nothing. Lines that change leaves as they were are written back byte
// for byte where the file can hold them so. Throws SettingsError as
// WriteSettings does.
SettingsUpdate UpdateSettings(const std::string &path, const SettingsChange &change);
