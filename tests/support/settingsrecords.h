#pragma once

// Records are made here to be compared, and printed when they differ.
#include "support/recordprinter.h"

#include "storage/settings.h"

#include <concepts>
#include <string_view>
#include <utility>

// Fields and records as the tests write them.
inline FieldValue Text(const char *utf8)
{
    return FieldValue::text(utf8);
}

inline FieldValue Number(long long value)
{
    return FieldValue::number(value);
}

inline FieldValue Number(std::string_view decimal)
{
    return FieldValue::number(decimal);
}

// A fraction is written as its decimal digits, never as a double.
template<std::floating_point Double>
FieldValue Number(Double) = delete;

inline SettingsRecord MakeRecord(FieldValue level, FieldValue s1, FieldValue n1, FieldValue s2, FieldValue n2,
                                 FieldValue s3, FieldValue n3)
{
    return SettingsRecord{std::move(level), {{{s1, n1}, {s2, n2}, {s3, n3}}}};
}

// The file a player starts with: Anfänger; 12 Maus, 9 Igel, 0 unbekannt.
inline SettingsRecord WorkedExample()
{
    return MakeRecord(Text("Anfänger"), Number(12), Text("Maus"), Number(9), Text("Igel"), Number(0),
                      Text("unbekannt"));
}
