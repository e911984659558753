#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// The Wahl.txt format: the chosen level and the best result of each level.
// In memory every text is UTF-8; the file is Windows-1252 with CR LF line ends.

// One field of the file: empty, a number or a text. A field keeps its form
// through memory, so a score read as a bare number is written back bare and
// one read in quotes is written back in quotes.
class FieldValue
{
public:
    enum class Kind { Empty, Number, Text };

    FieldValue() = default; // empty
    static FieldValue number(double value);
    static FieldValue text(std::string utf8);

    Kind kind() const;
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }

    double numberValue() const;           // only for a number
    const std::string &textValue() const; // only for a text

    // What a label shows: "" for empty, the plain decimal digits of a number,
    // a text without its quotes.
    std::string displayText() const;

    bool operator==(const FieldValue &other) const = default;

private:
    std::variant<std::monostate, double, std::string> m_value;
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

// A read or write that failed. what() is a German sentence for the player
// that names the file and the cause.
class SettingsError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The file's name in the program's directory, in exactly this letter case.
inline constexpr const char *SettingsFileName = "Wahl.txt";

// Plain decimal numbers, independent of the locale: an optional "-", digits,
// optionally "." and more digits. Written without exponent and, for whole
// numbers, without a decimal point (12, -3, 12.5).
std::optional<double> ParseDecimal(std::string_view text);
std::string FormatDecimal(double value);

// Reads the seven fields of the file at path. Throws SettingsError when the
// file is missing, unreadable, ends before the seventh field or holds a field
// too long to be one of ours.
SettingsRecord ReadSettings(const std::string &path);

// Replaces the file at path with the four lines of record. The old file stays
// as it was when any step fails; throws SettingsError then.
void WriteSettings(const std::string &path, const SettingsRecord &record);
