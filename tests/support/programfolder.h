#pragma once

// With the folder come the helpers for the bytes of its files.
#include "support/filebytes.h"
#include "support/filestamp.h"
#include "support/wahlbytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A program's folder of its own: a fresh temporary folder that holds the
// Wahl.txt a test gives it; null bytes leave it without one.
class ProgramFolder
{
public:
    explicit ProgramFolder(const QByteArray &wahl = {});

    QString path() const;
    QString filePath(const QString &name) const;
    QString wahlPath() const;
    bool writeWahl(const QByteArray &bytes) const;
    QByteArray wahlBytes() const;
    // What tells Wahl.txt left alone from Wahl.txt written again.
    FileStamp wahlStamp() const;
    // Everything in the folder but Wahl.txt: the leftovers of a write.
    QStringList otherEntries() const;
    // Empties the folder, which stays the same folder; false when it is
    // not there or something stays.
    bool clear() const;

private:
    QTemporaryDir m_dir;
};
