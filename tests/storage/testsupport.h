#pragma once

#include "storage/settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <clocale>
#include <cstring>
#include <locale>
#include <stdexcept>
#include <string>

// Takes the locale from the environment as a program does. Returns an error
// text when the locale that LC_ALL names is missing, so that a run meant to
// prove independence of the decimal comma cannot pass in the C locale.
inline QString UseEnvironmentLocale()
{
    if (std::setlocale(LC_ALL, "") == nullptr)
        return QStringLiteral("setlocale failed; run tools/ensure-locale");
    try {
        std::locale::global(std::locale(""));
    } catch (const std::runtime_error &error) {
        return QStringLiteral("locale missing (%1); run tools/ensure-locale").arg(error.what());
    }
    const QByteArray wanted = qgetenv("LC_ALL");
    if (wanted.startsWith("de_DE") && std::strcmp(std::localeconv()->decimal_point, ",") != 0)
        return QStringLiteral("the German locale is not in effect");
    return {};
}

inline FieldValue Text(const char *utf8)
{
    return FieldValue::text(utf8);
}

inline FieldValue Number(double value)
{
    return FieldValue::number(value);
}

inline SettingsRecord MakeRecord(FieldValue level, FieldValue s1, FieldValue n1, FieldValue s2,
                                 FieldValue n2, FieldValue s3, FieldValue n3)
{
    return SettingsRecord{std::move(level), {{{s1, n1}, {s2, n2}, {s3, n3}}}};
}

// The file a player starts with: Anfänger; 12 Maus, 9 Igel, 0 unbekannt.
inline SettingsRecord WorkedExample()
{
    return MakeRecord(Text("Anfänger"), Number(12), Text("Maus"), Number(9), Text("Igel"), Number(0),
                      Text("unbekannt"));
}

inline const QByteArray WorkedExampleBytes = QByteArray("\"Anf\xE4nger\"\r\n"
                                                        "12,\"Maus\"\r\n"
                                                        "9,\"Igel\"\r\n"
                                                        "0,\"unbekannt\"\r\n");

inline QByteArray FileBytes(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline bool PutFileBytes(const std::string &path, const QByteArray &bytes)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Everything in a directory but the file itself: leftovers of a write.
inline QStringList OtherEntries(const QString &directory, const QString &fileName = "Wahl.txt")
{
    QStringList names = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                  | QDir::NoDotAndDotDot);
    names.removeAll(fileName);
    return names;
}

inline char *toString(const FieldValue &field)
{
    switch (field.kind()) {
    case FieldValue::Kind::Number:
        return QTest::toString("number " + QString::fromStdString(FormatDecimal(field.numberValue())));
    case FieldValue::Kind::Text:
        return QTest::toString("text \"" + QString::fromStdString(field.textValue()) + "\"");
    case FieldValue::Kind::Empty:
        break;
    }
    return QTest::toString(QStringLiteral("empty"));
}

inline QString Describe(const FieldValue &field)
{
    char *text = toString(field);
    const QString described = QString::fromUtf8(text);
    delete[] text;
    return described;
}

inline char *toString(const SettingsRecord &record)
{
    QString text = Describe(record.level);
    for (const HighScoreEntry &entry : record.entries)
        text += " | " + Describe(entry.score) + ", " + Describe(entry.name);
    return QTest::toString(text);
}

Q_DECLARE_METATYPE(FieldValue)
Q_DECLARE_METATYPE(SettingsRecord)
Q_DECLARE_METATYPE(std::string)
