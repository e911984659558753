#include "ui/xsettings.h"

#include "support/xsettingsbytes.h"

#include <QTest>

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

QTEST_APPLESS_MAIN(TestXSettings)
#include "test_xsettings.moc"
