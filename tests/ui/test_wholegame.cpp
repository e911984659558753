#include "support/mainwindowfixture.h"
#include "support/modalanswerer.h"
#include "support/trywait.h"
#include "support/widgetinput.h"
#include "ui/high.h"

#include <QLabel>
#include <QTest>

namespace {

QStringList shownRecord(const High *high)
{
    return {high->findChild<QLabel *>(QStringLiteral("PAn"))->text(),
            high->findChild<QLabel *>(QStringLiteral("NAn"))->text()};
}

} // namespace

class TestWholeGame : public QObject
{
    Q_OBJECT

private slots:
    void aGameThatBeatsTheRecordAsksForTheNameAndStoresIt();
};

// One game through the real window: "Los", the clock running down on real
// ticks, two double clicks and one stray click on the moving ball, the end
// report, the name prompt and the new record in Wahl.txt.
void TestWholeGame::aGameThatBeatsTheRecordAsksForTheNameAndStoresIt()
{
    MainWindowFixture f(wahlFile({"\"Anf\xe4" "nger\"", "1,\"J\xfcrgen\"", "0,\"unbekannt\"",
                                  "0,\"unbekannt\""}));
    QVERIFY(f.start());
    f.control<QAction>("mnuHigh")->trigger();
    QPointer<High> high = f.window->toolkit().highScores();
    QVERIFY(high);
    QCOMPARE(shownRecord(high), (QStringList{"1", QStringLiteral("Jürgen")}));

    f.clock->time = {10, 20, 5};
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    HOPSALA_TRY_COMPARE(f.caption("lblZeit"), QStringLiteral("30"));
    const QPoint start = f.control("Ball")->pos();
    HOPSALA_TRY_VERIFY(f.control("Ball")->pos() != start);
    clickBall(*f.window, true);
    clickBall(*f.window, false);
    clickBall(*f.window, true);
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("2"));
    QCOMPARE(f.caption("lblPunkte2"), QStringLiteral("3"));
    f.clock->time = {10, 20, 34};
    HOPSALA_TRY_COMPARE(f.caption("lblZeit"), QStringLiteral("1"));

    ModalAnswerer answerer(QStringLiteral("Jörg"));
    f.clock->time = {10, 20, 35};
    const QByteArray expected = wahlFile({"\"Anf\xe4" "nger\"", "\"2\",\"J\xf6rg\"",
                                          "0,\"unbekannt\"", "0,\"unbekannt\""});
    HOPSALA_TRY_COMPARE(f.wahlBytes(), expected);
    QCOMPARE(answerer.seen.size(), 2);
    const SeenDialog report = answerer.seen[0];
    QVERIFY(report.isMessageBox);
    QCOMPARE(report.icon, QMessageBox::NoIcon);
    QCOMPARE(report.title, QStringLiteral("Hopsala1"));
    QCOMPARE(report.text, QStringLiteral("Ende! Es wurden 2 Doppelklicks geschafft. Fehler:1"));
    const SeenDialog prompt = answerer.seen[1];
    QVERIFY(!prompt.isMessageBox);
    QCOMPARE(prompt.title, QStringLiteral("Highscore"));
    QCOMPARE(prompt.text, QStringLiteral("Neuer Rekord: 2 Doppelklicks! Trag deinen Namen ein:"));
    QCOMPARE(prompt.value, QStringLiteral("Jürgen"));
    QCOMPARE(f.caption("lblZeit"), QStringLiteral("0"));
    QVERIFY(!f.timerActive("TimerZ") && !f.timerActive("TimerB"));

    // The open window keeps what it read; a fresh one shows the new record.
    QVERIFY(high);
    QCOMPARE(shownRecord(high), (QStringList{"1", QStringLiteral("Jürgen")}));
    high->close();
    HOPSALA_TRY_VERIFY(high.isNull());
    f.control<QAction>("mnuHigh")->trigger();
    QCOMPARE(shownRecord(f.window->toolkit().highScores()), (QStringList{"2", QStringLiteral("Jörg")}));
    QCOMPARE(f.terminations, 0);
}

QTEST_MAIN(TestWholeGame)
#include "test_wholegame.moc"
