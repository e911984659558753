#pragma once

#include "faketoolkit.h"
#include "game/mainform.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <QMetaType>
#include <QTest>

#include <string>

Q_DECLARE_METATYPE(FieldValue)

// Lets QCOMPARE say which field differs.
inline char *toString(const FieldValue &value)
{
    const char *kind = value.isEmpty() ? "empty" : value.isNumber() ? "number" : "text";
    return QTest::toString(QString::fromUtf8(kind) + ":" + QString::fromStdString(value.displayText()));
}

// The worked example of the file: Windows-1252, CR LF.
inline const QByteArray ExampleFile = QByteArray("\"Anf\xe4nger\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n");

// A program directory in a fresh temporary folder, a fake toolkit and clock,
// and the main window's logic on top of them.
struct GameFixture
{
    QTemporaryDir dir;
    FakeToolkit toolkit;
    FakeClock clock;
    MainForm form{toolkit, clock};

    explicit GameFixture(const QByteArray &wahl = ExampleFile)
    {
        toolkit.directory = dir.path().toStdString();
        if (!wahl.isNull())
            writeFile(wahl);
    }

    QString path() const { return dir.filePath(QStringLiteral("Wahl.txt")); }

    void writeFile(const QByteArray &bytes) const
    {
        QFile file(path());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }

    QByteArray fileBytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Starts a game at the given time of day.
    void startAt(int hours, int minutes, int seconds)
    {
        clock.set(hours, minutes, seconds);
        form.cmdLos_Click();
    }

    // One clock tick at the given time of day.
    void tickAt(int hours, int minutes, int seconds)
    {
        clock.set(hours, minutes, seconds);
        form.TimerZ_Timer();
    }

    void doubleClick()
    {
        form.Ball_Click();
        form.Ball_DblClick();
    }
};

inline QByteArray fileWith(const char *level, const char *line2, const char *line3, const char *line4)
{
    return QByteArray(level) + "\r\n" + line2 + "\r\n" + line3 + "\r\n" + line4 + "\r\n";
}
