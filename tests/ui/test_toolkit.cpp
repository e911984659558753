#include "storage/settings.h"
#include "support/mainwindowfixture.h"
#include "support/modalanswerer.h"
#include "ui/high.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class TestToolkit : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheStartButtonTakesTheFocusAndHasIt();
    void enterAndSpacePressTheStartButton_data();
    void enterAndSpacePressTheStartButton();
    void theMessageBoxIsPlainWithOnlyOk();
    void theInputBoxGivesTheTextOnOkAndNothingOnCancel_data();
    void theInputBoxGivesTheTextOnOkAndNothingOnCancel();
    void beendenDuringAGameEndsAtOnceWithoutBoxOrWrite();
    void aStartUpFailureThrowsAndLeavesTheWindowHiddenAndNoFile();
    void aFailingHandlerStopsTheGameReportsAndEnds();
    void aFailureWithoutGermanWordsReachesThePlayerInGerman();
};

// cmdLos alone takes the keyboard focus, so Enter and Space reach it.
void TestToolkit::onlyTheStartButtonTakesTheFocusAndHasIt()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto *cmdLos = f.control<QPushButton>("cmdLos");
    QCOMPARE(QApplication::focusWidget(), cmdLos);
    QVERIFY(cmdLos->isDefault());
    for (QWidget *widget : f.window->findChildren<QWidget *>()) {
        if (widget != cmdLos && !widget->isWindow())
            QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(widget->objectName()));
    }
}

void TestToolkit::enterAndSpacePressTheStartButton_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Return") << Qt::Key_Return;
    QTest::newRow("Enter") << Qt::Key_Enter;
    QTest::newRow("Space") << Qt::Key_Space;
}

// Enter, Return and Space press cmdLos, which holds the focus.
void TestToolkit::enterAndSpacePressTheStartButton()
{
    QFETCH(Qt::Key, key);
    MainWindowFixture f;
    QVERIFY(f.start());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QSignalSpy pressed(f.control<QPushButton>("cmdLos"), &QPushButton::clicked);
    QTest::keyClick(f.window->windowHandle(), key);
    QCOMPARE(pressed.size(), 1);
    QVERIFY(f.timerActive("TimerZ"));
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("0"));
}

// A missing Wahl.txt stops the start: the window never shows, no file is made.
void TestToolkit::aStartUpFailureThrowsAndLeavesTheWindowHiddenAndNoFile()
{
    MainWindowFixture f(QByteArray{});
    QVERIFY_THROWS_EXCEPTION(SettingsError, f.window->load());
    QVERIFY(!f.window->isVisible());
    QVERIFY(!QFile::exists(f.wahlPath()));
}

// A handler that fails stops the game, tells why in a plain box titled
// "Hopsala1" and ends the program.
void TestToolkit::aFailingHandlerStopsTheGameReportsAndEnds()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QVERIFY(f.timerActive("TimerB"));
    QVERIFY(QFile::remove(f.wahlPath()) && QDir().mkdir(f.wahlPath()));
    ModalAnswerer answerer;
    f.control<QAction>("mnuHigh")->trigger();
    QCOMPARE(f.terminations, 1);
    QCOMPARE(answerer.seen.size(), 1);
    const SeenDialog box = answerer.seen.first();
    QVERIFY(box.isMessageBox);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.title, QStringLiteral("Hopsala1"));
    QVERIFY2(box.text.contains(QStringLiteral("Wahl.txt")), qPrintable(box.text));
    QVERIFY(!f.timerActive("TimerB") && !f.timerActive("TimerZ"));
    QVERIFY(!f.window->toolkit().highScores());
    QVERIFY(QFileInfo(f.wahlPath()).isDir());
}

// A failure that is none of ours, with an English text, ends the program
// like any other, and the box tells the player in German.
void TestToolkit::aFailureWithoutGermanWordsReachesThePlayerInGerman()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    ModalAnswerer answerer;
    f.window->toolkit().fail(std::out_of_range("vector::_M_range_check: __n is out of range"));
    QCOMPARE(f.terminations, 1);
    QVERIFY(f.window->toolkit().hasQuit());
    QCOMPARE(answerer.seen.size(), 1);
    const QString text = answerer.seen.first().text;
    QVERIFY2(text.contains(QStringLiteral("Fehler")) && !text.contains(QStringLiteral("range")),
             qPrintable(text));
}

// The end report: the text in a box without icon, titled "Hopsala1", with
// nothing to press but OK.
void TestToolkit::theMessageBoxIsPlainWithOnlyOk()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    ModalAnswerer answerer;
    f.window->toolkit().messageBox("Ende! Es wurden 3 Doppelklicks geschafft. Fehler:0");
    QCOMPARE(answerer.seen.size(), 1);
    const SeenDialog box = answerer.seen.first();
    QVERIFY(box.isMessageBox);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.title, QStringLiteral("Hopsala1"));
    QCOMPARE(box.text, QStringLiteral("Ende! Es wurden 3 Doppelklicks geschafft. Fehler:0"));
    QCOMPARE(box.buttons.size(), 1);
}

void TestToolkit::theInputBoxGivesTheTextOnOkAndNothingOnCancel_data()
{
    QTest::addColumn<ModalAnswerer::Input>("answer");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("OK") << ModalAnswerer::Input::Ok << QStringLiteral(" Björn ") << " Björn ";
    QTest::newRow("OK on an emptied field") << ModalAnswerer::Input::Ok << QString() << "";
    QTest::newRow("Cancel") << ModalAnswerer::Input::Cancel << QStringLiteral("Björn") << "";
}

// The name prompt shows prompt, title and the old name; the answer comes
// back exactly as typed, and Cancel gives the empty text.
void TestToolkit::theInputBoxGivesTheTextOnOkAndNothingOnCancel()
{
    QFETCH(ModalAnswerer::Input, answer);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    MainWindowFixture f;
    QVERIFY(f.start());
    ModalAnswerer answerer(typed, answer);
    const std::string given = f.window->toolkit().inputBox(
        "Neuer Rekord: 5 Doppelklicks! Trag deinen Namen ein:", "Highscore", "Jürgen");
    QCOMPARE(QString::fromStdString(given), result);
    QCOMPARE(answerer.seen.size(), 1);
    const SeenDialog prompt = answerer.seen.first();
    QVERIFY(!prompt.isMessageBox);
    QCOMPARE(prompt.title, QStringLiteral("Highscore"));
    QCOMPARE(prompt.text, QStringLiteral("Neuer Rekord: 5 Doppelklicks! Trag deinen Namen ein:"));
    QCOMPARE(prompt.value, QStringLiteral("Jürgen"));
    QVERIFY(prompt.buttons.contains(QStringLiteral("Abbrechen")));
}

// "Beenden" ends at once: no report, nothing written, no handler after it.
void TestToolkit::beendenDuringAGameEndsAtOnceWithoutBoxOrWrite()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    ModalAnswerer answerer;
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QTimer::singleShot(0, f.control<QAction>("mnuEnd"), &QAction::trigger);
    // The bound: a quit that fails to end the loop ends it with status 2.
    QTimer bound;
    bound.setSingleShot(true);
    connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    bound.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(f.window->toolkit().hasQuit());
    QVERIFY(!f.timerActive("TimerZ") && !f.timerActive("TimerB"));
    f.control<QAction>("mnuPro")->trigger();
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QVERIFY(!f.timerActive("TimerZ"));
    QCOMPARE(f.wahlBytes(), DefaultWahl);
    QVERIFY(answerer.seen.isEmpty());
    QCOMPARE(f.terminations, 0);
}

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
