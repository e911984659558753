#pragma once

#include "storage/settings.h"

#include <cstddef>

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

// The bytes that WriteSettings puts into the file: four lines, each ended by
// CR LF. Throws SettingsError when a text is too long to be read back.
std::string FormatSettings(const SettingsRecord &record, const std::string &nameForMessages);
