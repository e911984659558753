#include "support/filestamp.h"

#include <QFile>
#include <QTest>

#include <sys/stat.h>

bool FileStamp::operator==(const FileStamp &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
        && bytes == other.bytes;
}

FileStamp fileStamp(const QString &path)
{
    FileStamp stamp;
    struct stat status{};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.modified = status.st_mtim;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        stamp.bytes = file.readAll();
    return stamp;
}

char *toString(const FileStamp &stamp)
{
    if (!stamp.exists)
        return QTest::toString(QStringLiteral("no file"));
    return QTest::toString(QStringLiteral("device %1, inode %2, modified %3.%4 s, %5 bytes: %6")
                               .arg(stamp.device)
                               .arg(stamp.inode)
                               .arg(stamp.modified.tv_sec)
                               .arg(stamp.modified.tv_nsec, 9, 10, QLatin1Char('0'))
                               .arg(stamp.bytes.size())
                               .arg(QString::fromLatin1(stamp.bytes.toPercentEncoding(" \"',"))));
}
