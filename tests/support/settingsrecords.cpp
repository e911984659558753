#include "support/settingsrecords.h"

#include <utility>

FieldValue Text(const char *utf8)
{
    return FieldValue::text(utf8);
}

FieldValue Number(long long value)
{
    return FieldValue::number(value);
}

FieldValue Number(std::string_view decimal)
{
    return FieldValue::number(decimal);
}

SettingsRecord MakeRecord(FieldValue level, FieldValue s1, FieldValue n1, FieldValue s2, FieldValue n2,
                          FieldValue s3, FieldValue n3)
{
    return SettingsRecord{std::move(level), {{{s1, n1}, {s2, n2}, {s3, n3}}}};
}

SettingsRecord WorkedExample()
{
    return MakeRecord(Text("Anfänger"), Number(12), Text("Maus"), Number(9), Text("Igel"), Number(0),
                      Text("unbekannt"));
}
