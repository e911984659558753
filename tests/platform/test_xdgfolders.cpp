#include "platform/xdgfolders.h"

#include <QTest>

#include <pwd.h>
#include <unistd.h>

// Where a player's records lie in an install that belongs to the system.
class XdgFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void thePlayersDataFolderFollowsTheXdgRules_data()
    {
        QTest::addColumn<QByteArray>("dataHome"); // null: unset
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<QByteArray>("expected"); // "~": the user database's home
        QTest::newRow("unset") << QByteArray() << QByteArray("/home/p") << QByteArray("/home/p/.local/share/hopsala");
        QTest::newRow("empty") << QByteArray("") << QByteArray("/home/p/") << QByteArray("/home/p/.local/share/hopsala");
        QTest::newRow("relative") << QByteArray("daten") << QByteArray("/home/p")
                                  << QByteArray("/home/p/.local/share/hopsala");
        QTest::newRow("set") << QByteArray("/srv/d\xff/") << QByteArray("/home/p") << QByteArray("/srv/d\xff/hopsala");
        QTest::newRow("no home of its own") << QByteArray() << QByteArray("p") << QByteArray("~/.local/share/hopsala");
    }
    void thePlayersDataFolderFollowsTheXdgRules()
    {
        // $XDG_DATA_HOME counts only as an absolute path, ~/.local/share stands in for it;
        // a HOME that names no absolute folder gives way to the user database's. The bytes
        // are kept as they are.
        QFETCH(QByteArray, dataHome);
        QFETCH(QByteArray, home);
        QFETCH(QByteArray, expected);
        if (dataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", dataHome);
        qputenv("HOME", home);
        expected.replace("~", ::getpwuid(::getuid())->pw_dir);
        QCOMPARE(QByteArray::fromStdString(playerDataFolder()), expected);
    }
};

QTEST_GUILESS_MAIN(XdgFoldersTest)
#include "test_xdgfolders.moc"
