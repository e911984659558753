#include "support/filebytes.h"

#include <QFile>

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray fileBytes(const std::string &path)
{
    return fileBytes(QString::fromStdString(path));
}

bool putFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool putFileBytes(const std::string &path, const QByteArray &bytes)
{
    return putFileBytes(QString::fromStdString(path), bytes);
}
