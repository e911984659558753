#pragma once

#include "storage/settings.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// The Wahl.txt format as pure functions over the file's bytes; nameForMessages
// stands for the file in SettingsError messages.

// The longest text of a field, in bytes of the file, that a reader accepts
// and a writer writes.
inline constexpr std::size_t MaxFieldBytes = std::size_t{1} << 20;

// The largest file a reader looks at: seven fields of MaxFieldBytes with
// room for their quotes, separators and blanks. Anything larger is damage.
inline constexpr std::size_t MaxFileBytes = std::size_t{8} << 20;

// The seven fields from the start of bytes. A UTF-8 byte-order mark makes the
// texts UTF-8; a UTF-16 one is refused; anything else is Windows-1252.
SettingsRecord ParseSettings(std::string_view bytes, const std::string &nameForMessages);

// The file as a writer finds it: its record, and what a write needs in order
// to keep the lines of the record that it does not change.
struct StoredSettings
{
    // One line of the record: the level, or an entry's score and name.
    struct Line
    {
        // Its bytes, where they read back as the same fields when written
        // as they stand: a Windows-1252 file, every byte a character, no
        // line end within, every quote closed.
        std::optional<std::string> verbatim;
        // Whether its fields hold each character as the file does: no "?"
        // for a byte or character the file cannot hold, no blank for a
        // control character.
        bool exact = true;
    };
    SettingsRecord record;
    std::array<Line, 4> lines;
    bool moreAfterRecords = false; // anything but blanks after the seventh field
};

StoredSettings ParseStoredSettings(std::string_view bytes, const std::string &nameForMessages);

// The bytes that WriteSettings puts into the file: four lines, each ended by
// CR LF. Throws SettingsError when a text is too long to be read back.
std::string FormatSettings(const SettingsRecord &record, const std::string &nameForMessages);

// The bytes that replace stored with record, and what of stored they could
// not keep.
struct SettingsRewrite
{
    std::string bytes;
    std::string lost; // a German sentence for the player; empty when nothing
};

// As FormatSettings, but a line that record leaves as stored holds it is
// written back byte for byte where it can be.
SettingsRewrite FormatOver(const StoredSettings &stored, const SettingsRecord &record,
                           const std::string &nameForMessages);
