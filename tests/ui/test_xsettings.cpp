#include "ui/xsettings.h"

#include <QTest>

#include <cstdint>
#include <string>

namespace {

struct Setting
{
    std::uint8_t type; // 0 integer, 1 string, 2 colour
    std::string name;
    std::int32_t integer = 0;
};

// An _XSETTINGS_SETTINGS property as a manager writes it.
QByteArray settingsList(bool msbFirst, const QList<Setting> &settings, std::uint32_t count = 0)
{
    QByteArray bytes;
    const auto card = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += char(value >> 8 * (msbFirst ? size - 1 - i : i));
    };
    const auto padded = [&](const std::string &text) {
        bytes += QByteArray::fromStdString(text) + QByteArray((4 - text.size() % 4) % 4, '\0');
    };
    bytes += QByteArray(1, char(msbFirst)) + QByteArray(3, '\0');
    card(42, 4);
    card(count != 0 ? count : std::uint32_t(settings.size()), 4);
    for (const Setting &s : settings) {
        bytes += QByteArray(1, char(s.type)) + '\0';
        card(std::uint32_t(s.name.size()), 2);
        padded(s.name);
        card(7, 4);
        if (s.type == 1) {
            card(std::uint32_t(s.name.size()), 4);
            padded(s.name);
        } else if (s.type == 0) {
            card(std::uint32_t(s.integer), 4);
        } else {
            bytes += QByteArray(8, '\x7f');
        }
    }
    return bytes;
}

const Setting Time1000{0, "Net/DoubleClickTime", 1000};
const Setting Distance8{0, "Net/DoubleClickDistance", 8};
const Setting Theme{1, "Net/ThemeName"};
const Setting Colour{2, "Gtk/Colour"};

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
    const QList<Setting> all{Theme, Time1000, Colour, Distance8};
    const std::optional both = DesktopDoubleClick{1000, 8};
    QTest::newRow("least significant byte first") << settingsList(false, all) << both;
    QTest::newRow("most significant byte first") << settingsList(true, all) << both;
    QTest::newRow("keys missing") << settingsList(false, {Theme, Colour})
                                  << std::optional(DesktopDoubleClick{});
    QTest::newRow("a string, not a number")
        << settingsList(false, {{1, "Net/DoubleClickTime"}, Distance8})
        << std::optional(DesktopDoubleClick{{}, 8});
    QTest::newRow("below the bounds")
        << settingsList(true, {{0, "Net/DoubleClickTime", 99}, {0, "Net/DoubleClickDistance", 0}})
        << std::optional(DesktopDoubleClick{});
    QTest::newRow("above the bounds")
        << settingsList(true, {{0, "Net/DoubleClickTime", 5001}, {0, "Net/DoubleClickDistance", 101}})
        << std::optional(DesktopDoubleClick{});
    QTest::newRow("at the bounds")
        << settingsList(true, {{0, "Net/DoubleClickTime", 5000}, {0, "Net/DoubleClickDistance", 1}})
        << std::optional(DesktopDoubleClick{5000, 1});
    QTest::newRow("more settings counted than written")
        << settingsList(false, all, 0xFFFFFFFF) << std::optional<DesktopDoubleClick>();
    QTest::newRow("unknown type") << settingsList(false, {{3, "Net/DoubleClickTime"}})
                                  << std::optional<DesktopDoubleClick>();
    QTest::newRow("unknown byte order") << settingsList(false, all).replace(0, 1, QByteArray(1, 2))
                                        << std::optional<DesktopDoubleClick>();
    const QByteArray whole = settingsList(true, all);
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
