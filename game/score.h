#pragma once

#include "storage/settings.h"

#include <string>
#include <string_view>

// A stored score as the record test compares it: an exact decimal, a bare
// number as it is, an empty field as 0, a text by its value. A text may
// carry blanks around it and a sign; anything else is no number, and the
// GameError thrown names the level and the file at path.
std::string scoreValue(const FieldValue &score, std::string_view level, const std::string &path);
