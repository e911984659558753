#pragma once

#include "storage/settings.h"

#include <QMetaType>

// How QCOMPARE names a field, an entry and a record when they differ:
// "number 12", "text "Maus"", "empty"; an entry as score, name; a record as
// its level and entries, separated by " | ".
char *toString(const FieldValue &field);
char *toString(const HighScoreEntry &entry);
char *toString(const SettingsRecord &record);

Q_DECLARE_METATYPE(FieldValue)
Q_DECLARE_METATYPE(SettingsRecord)
