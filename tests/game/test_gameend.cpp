#include "support/gamefixture.h"

#include <QTest>
#include <QTime>

using Label = Toolkit::Label;
using Timer = Toolkit::Timer;
using Item = Toolkit::MenuItem;

class GameEndTest : public QObject
{
    Q_OBJECT

private slots:
    void theClockCountsDownToTheEndSecond()
    {
        // Start at 12:00:45: "30" in the start second, "25" at :50, "1" at 01:14, "0" at 01:15.
        GameFixture f;
        f.startAt(12, 0, 45);
        const std::pair<int, std::string> ticks[] = {{45, "30"}, {46, "29"}, {50, "25"}, {59, "16"}};
        for (const auto &[second, shown] : ticks) {
            f.tickAt(12, 0, second);
            QCOMPARE(f.toolkit.caption(Label::lblZeit), shown);
        }
        f.tickAt(12, 1, 14);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("1"));
        QCOMPARE(f.form.state().NowSeconds, std::string("14"));
        QCOMPARE(f.form.state().SecondsLeft, 1.0);
        QVERIFY(f.toolkit.gameRuns());
        QVERIFY(f.toolkit.messages.empty());
        f.tickAt(12, 1, 15);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("0"));
        QVERIFY(!f.toolkit.gameRuns());
        QCOMPARE(f.toolkit.messages.size(), std::size_t(1));
    }

    void aGameAcrossMidnightEndsLikeAnyOther()
    {
        // Only the seconds count: 23:59:50 ends at 00:00:20.
        GameFixture f;
        f.startAt(23, 59, 50);
        f.tickAt(23, 59, 59);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("21"));
        f.tickAt(0, 0, 20);
        QVERIFY(!f.toolkit.gameRuns());
    }

    void aMissedEndSecondEndsTheGameOnTheNextTickButAClockSetBackDoesNot_data()
    {
        QTest::addColumn<QTime>("before");
        QTest::addColumn<QTime>("after");
        QTest::addColumn<QString>("shown");
        QTest::newRow("held up across the end second") << QTime(12, 1, 14) << QTime(12, 1, 16) << "0";
        QTest::newRow("clock set forward past it") << QTime(12, 0, 50) << QTime(15, 1, 16) << "0";
        QTest::newRow("clock set back a second") << QTime(12, 0, 55) << QTime(12, 0, 54) << "21";
        QTest::newRow("clock set back an hour") << QTime(12, 1, 14) << QTime(11, 1, 16) << "59";
    }
    void aMissedEndSecondEndsTheGameOnTheNextTickButAClockSetBackDoesNot()
    {
        // No tick within the end second: the next tick shows "0" and ends, not a minute
        // later; a clock set back shows more seconds too, and that game goes on.
        QFETCH(QTime, before);
        QFETCH(QTime, after);
        QFETCH(QString, shown);
        GameFixture f;
        f.startAt(12, 0, 45);
        f.tickAt(before.hour(), before.minute(), before.second());
        f.tickAt(after.hour(), after.minute(), after.second());
        QCOMPARE(f.toolkit.caption(Label::lblZeit), shown.toStdString());
        QCOMPARE(f.form.state().SecondsLeft, shown.toDouble());
        QCOMPARE(f.toolkit.gameRuns(), shown != "0");
        QCOMPARE(f.toolkit.messages.size(), std::size_t(shown == "0"));
    }

    void aNewGameDoesNotInheritTheLastTickOfTheOldOne()
    {
        // A game stopped at "3" by a level choice: the next game's "30" is no missed end.
        GameFixture f;
        f.startAt(12, 0, 45);
        f.tickAt(12, 1, 12);
        f.form.mnuAnf_Click();
        f.startAt(12, 2, 0);
        f.tickAt(12, 2, 0);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("30"));
        QVERIFY(f.toolkit.gameRuns());
    }

    void moreDoubleClicksThanClicksGiveANegativeErrorCount()
    {
        // The errors are the clicks less the double clicks, sign and all: double clicks that
        // came without their first click make the count negative.
        GameFixture f(wahlFile({"\"Anf\xe4nger\"", "99,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        f.startAt(12, 0, 45);
        for (int i = 0; i < 3; ++i)
            f.form.Ball_DblClick();
        f.form.Ball_Click();
        f.tickAt(12, 1, 15);
        const std::vector<std::string> expected{"Ende! Es wurden 3 Doppelklicks geschafft. Fehler:-2"};
        QCOMPARE(f.toolkit.messages, expected);
    }

    void theEndBeepsStopsBothTimersThenReports_data()
    {
        QTest::addColumn<int>("doubleClicks");
        QTest::addColumn<int>("errors");
        QTest::addColumn<QString>("message");
        QTest::newRow("12 and 3") << 12 << 3 << "Ende! Es wurden 12 Doppelklicks geschafft. Fehler:3";
        QTest::newRow("nothing") << 0 << 0 << "Ende! Es wurden 0 Doppelklicks geschafft. Fehler:0";
    }
    void theEndBeepsStopsBothTimersThenReports()
    {
        // Beep, TimerZ off, TimerB off, then the box; the counters stay visible.
        QFETCH(int, doubleClicks);
        QFETCH(int, errors);
        QFETCH(QString, message);
        GameFixture f(wahlFile({"\"Anf\xe4nger\"", "99,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        playGame(f, doubleClicks, errors);
        const auto &log = f.toolkit.log;
        const auto at = [&log](const std::string &entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
        const auto box = at("messageBox " + message.toStdString());
        QVERIFY(box < std::ssize(log));
        QCOMPARE(log[std::size_t(box) - 3], std::string("beep"));
        QCOMPARE(log[std::size_t(box) - 2], std::string("TimerZ off"));
        QCOMPARE(log[std::size_t(box) - 1], std::string("TimerB off"));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::to_string(doubleClicks));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte2), std::to_string(doubleClicks + errors));
        QCOMPARE(f.toolkit.beeps, doubleClicks + 1);
        QVERIFY(f.toolkit.inputBoxes.empty());
    }
};

QTEST_GUILESS_MAIN(GameEndTest)
#include "test_gameend.moc"
