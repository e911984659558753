#include "support/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

constexpr QDir::Filters Everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

} // namespace

ProgramFolder::ProgramFolder(const QByteArray &wahl)
{
    if (!wahl.isNull() && !writeWahl(wahl))
        QTest::qFail("Wahl.txt cannot be written", __FILE__, __LINE__);
}

QString ProgramFolder::path() const
{
    return m_dir.path();
}

QString ProgramFolder::filePath(const QString &name) const
{
    return m_dir.filePath(name);
}

QString ProgramFolder::wahlPath() const
{
    return filePath(QStringLiteral("Wahl.txt"));
}

bool ProgramFolder::writeWahl(const QByteArray &bytes) const
{
    return putFileBytes(wahlPath(), bytes);
}

QByteArray ProgramFolder::wahlBytes() const
{
    return fileBytes(wahlPath());
}

FileStamp ProgramFolder::wahlStamp() const
{
    return fileStamp(wahlPath());
}

QStringList ProgramFolder::otherEntries() const
{
    QStringList names = QDir(path()).entryList(Everything);
    names.removeAll(QStringLiteral("Wahl.txt"));
    return names;
}

bool ProgramFolder::clear() const
{
    if (!m_dir.isValid())
        return false;
    // A link is removed, never what it leads to.
    for (const QFileInfo &entry : QDir(path()).entryInfoList(Everything)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
    return QDir(path()).isEmpty(Everything);
}
