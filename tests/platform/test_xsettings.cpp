#include "platform/kdeglobals.h"
#include "platform/xsettings.h"
#include "support/xsettingsbytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <sys/stat.h>

namespace {

const XSetting Time1000{0, "Net/DoubleClickTime", 1000};
const XSetting Distance8{0, "Net/DoubleClickDistance", 8};
const XSetting Theme{1, "Net/ThemeName"};
const XSetting Colour{2, "Gtk/Colour"};

} // namespace

Q_DECLARE_METATYPE(std::optional<DesktopDoubleClick>)

class TestXSettings : public QObject
{
    Q_OBJECT

private slots:
    void onlyAWholeListGivesTheDoubleClickSettingsWithinTheirBounds_data();
    void onlyAWholeListGivesTheDoubleClickSettingsWithinTheirBounds();
    void kdesTimeIsReadAsKConfigReadsIt_data();
    void kdesTimeIsReadAsKConfigReadsIt();
};

void TestXSettings::onlyAWholeListGivesTheDoubleClickSettingsWithinTheirBounds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::optional<DesktopDoubleClick>>("expected");
    const QList<XSetting> all{Theme, Time1000, Colour, Distance8};
    const std::optional both = DesktopDoubleClick{1000, 8};
    QTest::newRow("least significant byte first") << xsettingsList(false, all) << both;
    QTest::newRow("most significant byte first") << xsettingsList(true, all) << both;
    QTest::newRow("keys missing") << xsettingsList(false, {Theme, Colour})
                                  << std::optional(DesktopDoubleClick{});
    QTest::newRow("a string, not a number")
        << xsettingsList(false, {{1, "Net/DoubleClickTime"}, Distance8})
        << std::optional(DesktopDoubleClick{{}, 8});
    QTest::newRow("below the bounds")
        << xsettingsList(true, {{0, "Net/DoubleClickTime", 99}, {0, "Net/DoubleClickDistance", 0}})
        << std::optional(DesktopDoubleClick{});
    QTest::newRow("above the bounds")
        << xsettingsList(true, {{0, "Net/DoubleClickTime", 5001}, {0, "Net/DoubleClickDistance", 101}})
        << std::optional(DesktopDoubleClick{});
    QTest::newRow("at the bounds")
        << xsettingsList(true, {{0, "Net/DoubleClickTime", 5000}, {0, "Net/DoubleClickDistance", 1}})
        << std::optional(DesktopDoubleClick{5000, 1});
    QTest::newRow("more settings counted than written")
        << xsettingsList(false, all, 0xFFFFFFFF) << std::optional<DesktopDoubleClick>();
    QTest::newRow("unknown type") << xsettingsList(false, {{3, "Net/DoubleClickTime"}})
                                  << std::optional<DesktopDoubleClick>();
    QTest::newRow("unknown byte order") << xsettingsList(false, all).replace(0, 1, QByteArray(1, 2))
                                        << std::optional<DesktopDoubleClick>();
    const QByteArray whole = xsettingsList(true, all);
    for (int length = 0; length < whole.size(); length += 3)
        QTest::addRow("cut after %d bytes", length) << whole.left(length)
                                                    << std::optional<DesktopDoubleClick>();
}

// The property is written by another program: only a complete list of
// settings counts, and of it only values within bounds; everything else
// leaves the values the game has.
void TestXSettings::onlyAWholeListGivesTheDoubleClickSettingsWithinTheirBounds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::optional<DesktopDoubleClick>, expected);
    QVERIFY(parseXSettings(bytes.toStdString()) == expected);
}

void TestXSettings::kdesTimeIsReadAsKConfigReadsIt_data()
{
    QTest::addColumn<QByteArray>("user"); // the file's text, or "FIFO" or "FOLDER"
    QTest::addColumn<int>("expected");    // 0: none
    QTest::addColumn<QByteArray>("system");
    const QByteArray s = "[KDE]\nDoubleClickInterval=600\n", own = "[KDE]\nDoubleClickInterval=200\n";
    QTest::newRow("the player's") << QByteArray("[KDE]\nDoubleClickInterval=1000\n") << 1000 << s;
    QTest::newRow("blanks, other groups")
        << QByteArray("[General]\nDoubleClickInterval=300\n[KDE]\r\n DoubleClickInterval = 700 \r\n"
                      "[KDE][Sub]\nDoubleClickInterval=900\n") << 700 << s;
    QTest::newRow("the last line counts")
        << QByteArray("[KDE]\nDoubleClickInterval=300\nDoubleClickInterval=800\n") << 800 << s;
    QTest::newRow("garbage") << QByteArray("[KDE]\nDoubleClickInterval=schnell\n") << 0 << s;
    QTest::newRow("out of bounds") << QByteArray("[KDE]\nDoubleClickInterval=5001\n") << 0 << s;
    QTest::newRow("not set: the system's") << QByteArray("[KDE]\nSingleClick=false\n") << 600 << s;
    QTest::newRow("a FIFO, not waited for") << QByteArray("FIFO") << 600 << s;
    QTest::newRow("larger than any real one") << QByteArray("[KDE]\nDoubleClickInterval=1000\n").leftJustified(4 << 20) << 600 << s;
    QTest::newRow("a folder") << QByteArray("FOLDER") << 600 << s;
    QTest::newRow("the system locks the entry") << own << 1000 << QByteArray("[KDE]\nDoubleClickInterval[$i]=1000\n");
    QTest::newRow("the system locks the group") << own << 1000 << QByteArray("[KDE][$i]\nDoubleClickInterval=1000\n");
    QTest::newRow("the system locks its file") << own << 1000 << QByteArray("[$i]\n[KDE]\nDoubleClickInterval=1000\n");
    QTest::newRow("a locked group without the entry") << own << 0 << QByteArray("[KDE][$i]\nSingleClick=true\n");
    QTest::newRow("other options") << QByteArray("[KDE]\nDoubleClickInterval[$e]=$(echo 1000)\n"
                                                 "DoubleClickInterval[de]=900\nDoubleClickInterval[$d]=800\n") << 600 << s;
}

// KDE's double-click time is looked up as KConfig looks it up: the system's
// kdeglobals first, then the player's, whose value counts unless an earlier
// file locks it (the entry, its group or the whole file); a line whose
// options KConfig would not read as a plain number is passed over, nothing
// is expanded or run. One that cannot be KDE's own (a FIFO, a folder, many
// megabytes) is passed over without waiting, and a value that is no number
// within bounds counts as none. Both folders have names that are no UTF-8.
void TestXSettings::kdesTimeIsReadAsKConfigReadsIt()
{
    QFETCH(QByteArray, user);
    QFETCH(int, expected);
    QFETCH(QByteArray, system);
    QTemporaryDir configs;
    const QByteArray home = QFile::encodeName(configs.path()) + "/h\xff", systemFolder = home + "/s\xfe";
    QVERIFY(::mkdir(home.constData(), 0700) == 0 && ::mkdir(systemFolder.constData(), 0700) == 0);
    qputenv("XDG_CONFIG_HOME", home);
    qputenv("XDG_CONFIG_DIRS", "relative:" + systemFolder);
    QVERIFY(std::ofstream((systemFolder + "/kdeglobals").constData(), std::ios::binary) << system.toStdString());
    const QByteArray path = home + "/kdeglobals";
    if (user == "FIFO")
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else if (user == "FOLDER")
        QCOMPARE(::mkdir(path.constData(), 0700), 0);
    else
        QVERIFY(std::ofstream(path.constData(), std::ios::binary) << user.toStdString());
    QCOMPARE(readKdeDoubleClickInterval().value_or(0), expected);
}

QTEST_APPLESS_MAIN(TestXSettings)
#include "test_xsettings.moc"
