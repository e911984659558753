#pragma once

#include "storage/settings.h"

#include <concepts>
#include <string_view>

// Fields and records as the tests write them.
FieldValue Text(const char *utf8);
FieldValue Number(long long value);
FieldValue Number(std::string_view decimal);
// A fraction is written as its decimal digits, never as a double.
template<std::floating_point Double>
FieldValue Number(Double) = delete;

SettingsRecord MakeRecord(FieldValue level, FieldValue s1, FieldValue n1, FieldValue s2, FieldValue n2,
                          FieldValue s3, FieldValue n3);

// The file a player starts with: Anfänger; 12 Maus, 9 Igel, 0 unbekannt.
SettingsRecord WorkedExample();
