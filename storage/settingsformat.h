#pragma once

#include "storage/settings.h"

#include <cstddef>
#include <istream>
#include <string>

// The Wahl.txt format apart from the file itself, so that it can be used on
// any stream. nameForMessages stands for the file in SettingsError messages.

// The longest field, in bytes of the file, that a reader accepts and a
// writer writes: a guard against reading a damaged file into memory whole.
inline constexpr std::size_t MaxFieldBytes = std::size_t{1} << 20;

// Reads the seven fields from the stream's position on and no further.
SettingsRecord ReadSettingsFrom(std::istream &in, const std::string &nameForMessages);

// The bytes that WriteSettings puts into the file: four lines, each ended by
// CR LF. Throws SettingsError when a text is too long to be read back.
std::string FormatSettings(const SettingsRecord &record, const std::string &nameForMessages);
