#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// A file's bytes; "<unreadable>" when it cannot be read, which no test
// expects as a file's content.
QByteArray fileBytes(const QString &path);
inline QByteArray fileBytes(const std::string &path) { return fileBytes(QString::fromStdString(path)); }

// Makes bytes a file's whole content; false when they are not.
bool putFileBytes(const QString &path, const QByteArray &bytes);
inline bool putFileBytes(const std::string &path, const QByteArray &bytes)
{
    return putFileBytes(QString::fromStdString(path), bytes);
}
