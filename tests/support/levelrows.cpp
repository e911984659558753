#include "support/levelrows.h"

#include <QTest>

void addLevelRows()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("stepX");
    QTest::addColumn<int>("stepY");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("levelName");
    QTest::newRow("Anfänger") << 0 << 8 << 11 << QByteArray("\"Anf\xe4nger\"") << QByteArray("Anfänger");
    QTest::newRow("Fortgeschrittener") << 1 << 10 << 15 << QByteArray("\"Fortgeschrittener\"")
                                       << QByteArray("Fortgeschrittener");
    QTest::newRow("Profi") << 2 << 15 << 25 << QByteArray("\"Profi\"") << QByteArray("Profi");
}
