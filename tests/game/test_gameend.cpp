#include "support/gamefixture.h"

#include <QTest>
#include <QTime>

using Label = Toolkit::Label;

class GameEndTest : public QObject
{
    Q_OBJECT

private slots:
    void theClockCountsDownTheSecondsToTheEndAndEndsTheGameAtZero_data()
    {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QList<QTime>>("ticks");
        QTest::addColumn<QStringList>("shown"); // after each tick
        const QTime start(12, 0, 45);
        QTest::newRow("down to the end second")
            << start << QList<QTime>{{12, 0, 45}, {12, 0, 46}, {12, 0, 50}, {12, 0, 59}, {12, 1, 14}, {12, 1, 15}}
            << QStringList{"30", "29", "25", "16", "1", "0"};
        QTest::newRow("across midnight") << QTime(23, 59, 50) << QList<QTime>{{23, 59, 59}, {0, 0, 20}}
                                         << QStringList{"21", "0"};
        QTest::newRow("held up across the end second") << start << QList<QTime>{{12, 1, 14}, {12, 1, 16}}
                                                       << QStringList{"1", "0"};
        QTest::newRow("clock set forward past it") << start << QList<QTime>{{12, 0, 50}, {15, 1, 16}}
                                                   << QStringList{"25", "0"};
        QTest::newRow("clock set back a second") << start << QList<QTime>{{12, 0, 55}, {12, 0, 54}}
                                                 << QStringList{"20", "21"};
        QTest::newRow("clock set back an hour") << start << QList<QTime>{{12, 1, 14}, {11, 1, 16}}
                                                << QStringList{"1", "59"};
    }
    void theClockCountsDownTheSecondsToTheEndAndEndsTheGameAtZero()
    {
        // "30" in the start second, "0" in the end second 30 s on, where the game ends with its
        // box; only the seconds count, so a game across midnight ends like any other. A tick
        // after a missed end second shows "0" and ends the game, not a minute later; a clock
        // set back shows more seconds, and that game goes on.
        QFETCH(QTime, start);
        QFETCH(QList<QTime>, ticks);
        QFETCH(QStringList, shown);
        GameFixture f;
        f.startAt(start.hour(), start.minute(), start.second());
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            f.tickAt(ticks[i].hour(), ticks[i].minute(), ticks[i].second());
            QCOMPARE(f.toolkit.caption(Label::lblZeit), shown[i].toStdString());
            QCOMPARE(f.form.state().NowSeconds, ticks[i].toString(QStringLiteral("ss")).toStdString());
            QCOMPARE(f.form.state().SecondsLeft, shown[i].toDouble());
            QCOMPARE(f.toolkit.gameRuns(), shown[i] != "0");
            QCOMPARE(f.toolkit.messages.size(), std::size_t(shown[i] == "0"));
        }
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
