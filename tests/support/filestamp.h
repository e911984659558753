#pragma once

#include <QByteArray>
#include <QString>

#include <ctime>
#include <sys/types.h>

// What tells a file that was left alone from one written again with the
// same bytes: a rewrite through a new file gives another inode, a rewrite in
// place another modification time.
struct FileStamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    QByteArray bytes;

    bool operator==(const FileStamp &other) const;
};

FileStamp fileStamp(const QString &path);

char *toString(const FileStamp &stamp);
