#include "support/mainwindowfixture.h"
#include "support/trywait.h"
#include "support/widgetinput.h"
#include "ui/high.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object)
{
    return accessible(object)->text(QAccessible::Name);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyControlHasAGermanNameAndItsRole_data();
    void everyControlHasAGermanNameAndItsRole();
    void theValueLabelsReadTheirMeaningAndTheirNumber();
    void theMenuEntriesReadTheirCaptionsWithoutTheAccessKeyMark();
    void theHighScoreLabelsReadLevelMeaningAndValue();
    void theMenuWorksFromTheKeyboardAndGivesTheFocusBackToLos();
    void theAccessKeysChooseTheirEntriesInTheOpenMenu_data();
    void theAccessKeysChooseTheirEntriesInTheOpenMenu();
};

void TestAccessibility::initTestCase()
{
    QAccessible::setActive(true);
}

void TestAccessibility::everyControlHasAGermanNameAndItsRole_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::newRow("cmdLos") << "cmdLos" << "Los" << QAccessible::Button;
    QTest::newRow("lblZeit") << "lblZeit" << "Verbleibende Sekunden" << QAccessible::StaticText;
    QTest::newRow("Label2") << "Label2" << "Doppelklicks" << QAccessible::StaticText;
    QTest::newRow("lblPunkte") << "lblPunkte" << "Doppelklicks" << QAccessible::StaticText;
    QTest::newRow("Label3") << "Label3" << "Normale Klicks" << QAccessible::StaticText;
    QTest::newRow("lblPunkte2") << "lblPunkte2" << "Normale Klicks" << QAccessible::StaticText;
    QTest::newRow("Ball") << "Ball" << "Ball" << QAccessible::Graphic;
    QTest::newRow("Line1") << "Line1" << "Spielfeldrand" << QAccessible::Separator;
}

// Each control of the main window tells a screen reader what it is, in
// German; the start button and the ball also say what to do with them.
void TestAccessibility::everyControlHasAGermanNameAndItsRole()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    MainWindowFixture f;
    for (QWidget *each : f.window->centralWidget()->findChildren<QWidget *>())
        QVERIFY2(!nameOf(each).isEmpty(), qPrintable(each->objectName()));
    QAccessibleInterface *face = accessible(f.control(control.toLatin1().constData()));
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(face->role(), role);
    if (control == QLatin1String("cmdLos") || control == QLatin1String("Ball"))
        QVERIFY(!face->text(QAccessible::Description).isEmpty());
}

// A screen reader reads the meaning and the number together; the caption
// keeps the bare number that the game reads back.
void TestAccessibility::theValueLabelsReadTheirMeaningAndTheirNumber()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QTest::mouseDClick(f.window->windowHandle(), Qt::LeftButton, {},
                       centreInWindow(f.control("Ball")));
    HOPSALA_TRY_COMPARE(f.caption("lblZeit"), QStringLiteral("30"));
    QCOMPARE(nameOf(f.control("lblZeit")), QStringLiteral("Verbleibende Sekunden: 30"));
    QCOMPARE(nameOf(f.control("lblPunkte")), QStringLiteral("Doppelklicks: 1"));
    QCOMPARE(nameOf(f.control("lblPunkte2")), QStringLiteral("Normale Klicks: 1"));
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("1"));
}

// Menu title and entries read as their captions, without the "&" of the
// access key; the level entries tell which one is checked.
void TestAccessibility::theMenuEntriesReadTheirCaptionsWithoutTheAccessKeyMark()
{
    MainWindowFixture f;
    QAccessibleInterface *bar = accessible(f.window->menuBar());
    QCOMPARE(bar->childCount(), 1);
    QCOMPARE(bar->child(0)->text(QAccessible::Name), QStringLiteral("Datei"));
    QAccessibleInterface *menu = accessible(f.window->menuBar()->actions().first()->menu());
    QCOMPARE(menu->text(QAccessible::Name), QStringLiteral("Datei"));
    const QStringList names{QStringLiteral("Anfänger"), QStringLiteral("Fortgeschrittener"),
                            QStringLiteral("Profi"), QStringLiteral("Highscore"), QString(),
                            QStringLiteral("Beenden")};
    QCOMPARE(menu->childCount(), names.size());
    for (int i = 0; i < menu->childCount(); ++i) {
        QAccessibleInterface *entry = menu->child(i);
        QCOMPARE(entry->text(QAccessible::Name), names[i]);
        QCOMPARE(entry->role(), i == 4 ? QAccessible::Separator : QAccessible::MenuItem);
        QCOMPARE(bool(entry->state().checkable), i < 3);
        QCOMPARE(bool(entry->state().checked), i == 0);
    }
}

// Each score and name of High reads with its level and meaning.
void TestAccessibility::theHighScoreLabelsReadLevelMeaningAndValue()
{
    MainWindowFixture f(wahlFile({"\"Profi\"", "12,\"Maus\"", "\"14\",\"J\xf6rg\"", "0,"}));
    QVERIFY(f.start());
    f.control<QAction>("mnuHigh")->trigger();
    High *high = f.window->toolkit().highScores();
    QVERIFY(high);
    const struct { const char *label; QString name; } expected[] = {
        {"Label1", QStringLiteral("Anfänger")},
        {"PAn", QStringLiteral("Anfänger, Doppelklicks: 12")},
        {"NAn", QStringLiteral("Anfänger, Name: Maus")},
        {"PFo", QStringLiteral("Fortgeschrittener, Doppelklicks: 14")},
        {"NFo", QStringLiteral("Fortgeschrittener, Name: Jörg")},
        {"PPr", QStringLiteral("Profi, Doppelklicks: 0")},
        {"NPr", QStringLiteral("Profi, Name")},
    };
    for (const auto &e : expected)
        QCOMPARE(nameOf(high->findChild<QLabel *>(QString::fromLatin1(e.label))), e.name);
    QCOMPARE(high->findChild<QLabel *>(QStringLiteral("NAn"))->text(), QStringLiteral("Maus"));
}

// Alt alone enters the menu bar ("Datei" has no access key), Down opens the
// list, arrows and Enter choose; afterwards "Los" has the focus again, so
// Enter starts a game.
void TestAccessibility::theMenuWorksFromTheKeyboardAndGivesTheFocusBackToLos()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWindow *handle = f.window->windowHandle();
    QTest::keyClick(handle, Qt::Key_Alt);
    QCOMPARE(f.window->menuBar()->activeAction()->text(), QStringLiteral("Datei"));
    QTest::keyClick(handle, Qt::Key_Down);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("mnuDatei"));
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    HOPSALA_TRY_VERIFY(!QApplication::activePopupWidget());
    QVERIFY(f.control<QAction>("mnuFor")->isChecked());
    HOPSALA_TRY_COMPARE(QApplication::focusWidget(), f.control("cmdLos"));
    QTest::keyClick(handle, Qt::Key_Return);
    QVERIFY(f.timerActive("TimerZ"));
}

void TestAccessibility::theAccessKeysChooseTheirEntriesInTheOpenMenu_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("highScoresOpen");
    QTest::addColumn<bool>("quit");
    QTest::newRow("H") << Qt::Key_H << true << false;
    QTest::newRow("B") << Qt::Key_B << false << true;
}

// In the open list, H chooses "Highscore" and B "Beenden".
void TestAccessibility::theAccessKeysChooseTheirEntriesInTheOpenMenu()
{
    QFETCH(Qt::Key, key);
    QFETCH(bool, highScoresOpen);
    QFETCH(bool, quit);
    MainWindowFixture f;
    QVERIFY(f.start());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window->windowHandle(), Qt::Key_Alt);
    QTest::keyClick(f.window->windowHandle(), Qt::Key_Down);
    QWidget *menu = QApplication::activePopupWidget();
    QVERIFY(menu);
    QTest::keyClick(menu, key);
    HOPSALA_TRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.window->toolkit().highScores() != nullptr, highScoresOpen);
    QCOMPARE(f.window->toolkit().hasQuit(), quit);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
