#include "support/wahlbytes.h"

QByteArray wahlFile(std::initializer_list<QByteArray> lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}
