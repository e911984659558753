#pragma once

#include "faketoolkit.h"
#include "game/mainform.h"
#include "support/fakeclock.h"
#include "support/filestamp.h"
#include "support/recordprinter.h"
#include "support/wahlbytes.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <string>

// A program directory in a fresh temporary folder, a fake toolkit and clock,
// and the main window's logic on top of them.
struct GameFixture
{
    QTemporaryDir dir;
    FakeToolkit toolkit;
    FakeClock clock;
    MainForm form{toolkit, clock};

    explicit GameFixture(const QByteArray &wahl = WorkedExampleWahl)
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

    // The file's identity, modification time and bytes.
    FileStamp stamp() const { return fileStamp(path()); }

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

// Plays a game at the checked level that scores the given double clicks and
// errors, and lets its clock run out.
inline void playGame(GameFixture &f, int doubleClicks, int errors = 0)
{
    f.startAt(12, 0, 45);
    for (int i = 0; i < doubleClicks; ++i)
        f.doubleClick();
    for (int i = 0; i < errors; ++i)
        f.form.Ball_Click();
    f.tickAt(12, 1, 14);
    f.tickAt(12, 1, 15);
}
