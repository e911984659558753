#include "support/recordprinter.h"

#include <QString>
#include <QTest>

namespace {

QString describe(const FieldValue &field)
{
    switch (field.kind()) {
    case FieldValue::Kind::Number:
        return "number " + QString::fromStdString(field.displayText());
    case FieldValue::Kind::Text:
        return "text \"" + QString::fromStdString(field.textValue()) + "\"";
    case FieldValue::Kind::Empty:
        break;
    }
    return QStringLiteral("empty");
}

QString describe(const HighScoreEntry &entry)
{
    return describe(entry.score) + ", " + describe(entry.name);
}

} // namespace

char *toString(const FieldValue &field)
{
    return QTest::toString(describe(field));
}

char *toString(const HighScoreEntry &entry)
{
    return QTest::toString(describe(entry));
}

char *toString(const SettingsRecord &record)
{
    QString text = describe(record.level);
    for (const HighScoreEntry &entry : record.entries)
        text += " | " + describe(entry);
    return QTest::toString(text);
}
