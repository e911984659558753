#pragma once

#include "storage/settings.h"

#include <optional>
#include <string>
#include <string_view>

// A stored score as the record test compares it: an exact decimal, a bare
// number as it is, an empty field as 0, a text by its value. A text may
// carry blanks around it and a sign; anything else is no number: none.
std::optional<std::string> scoreValue(const FieldValue &score);

// The German sentence that names a stored score that is no number, with its
// level and the file at path.
std::string noNumberMessage(const FieldValue &score, std::string_view level, const std::string &path);
