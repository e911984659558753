#include "support/gamefixture.h"
#include "support/levelrows.h"

#include <QTest>

using Label = Toolkit::Label;
using Timer = Toolkit::Timer;
using Item = Toolkit::MenuItem;

class PlayTest : public QObject
{
    Q_OBJECT

private slots:
    void theEndTimeIsTwelveHoursAndThirtySecondsAhead_data()
    {
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("s");
        QTest::addColumn<QString>("endTime");
        QTest::newRow("morning") << 9 << 15 << 10 << "21:15:40";
        QTest::newRow("before noon") << 11 << 59 << 45 << "00:00:15";
        QTest::newRow("afternoon") << 14 << 0 << 0 << "02:00:30";
        QTest::newRow("before midnight") << 23 << 59 << 50 << "12:00:20";
        QTest::newRow("midnight") << 0 << 0 << 0 << "12:00:30";
    }
    void theEndTimeIsTwelveHoursAndThirtySecondsAhead()
    {
        // "Los" fixes the end 12:00:30 after the start, the day dropped.
        QFETCH(int, h);
        QFETCH(int, m);
        QFETCH(int, s);
        QFETCH(QString, endTime);
        GameFixture f;
        f.startAt(h, m, s);
        QCOMPARE(QString::fromStdString(f.form.state().EndTime), endTime);
    }

    void losStartsBothTimersAndZeroesBothCountersOnly()
    {
        // Starting touches the timers, EndTime and the two counters, nothing else.
        GameFixture f;
        f.toolkit.log.clear();
        f.startAt(10, 20, 5);
        const std::vector<std::string> expected{"TimerZ on", "TimerB on", "caption lblPunkte 0",
                                                "caption lblPunkte2 0"};
        QCOMPARE(f.toolkit.log, expected);
        QCOMPARE(f.toolkit.left, 2280.0f);
        QCOMPARE(f.form.state().StepX, std::int16_t(8));
    }

    void clicksCountAndBeepOnlyWhileTheClockRuns()
    {
        // Without a running game neither counter moves and nothing beeps.
        GameFixture f;
        f.doubleClick();
        f.form.Ball_Click();
        QVERIFY(f.toolkit.captions.empty());
        QCOMPARE(f.toolkit.beeps, 0);

        f.startAt(10, 20, 5);
        f.doubleClick();
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::string("1"));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte2), std::string("1"));
        QCOMPARE(f.toolkit.beeps, 1);
        for (int i = 0; i < 9; ++i)
            f.doubleClick();
        f.form.Ball_Click();
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::string("10"));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte2), std::string("11"));
        QCOMPARE(f.toolkit.beeps, 10);

        f.toolkit.timers[Timer::TimerZ] = false; // the ball timer alone is no game
        f.doubleClick();
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::string("10"));
        QCOMPARE(f.toolkit.beeps, 10);
    }

    void aSecondLosRestartsTheGameWhereTheBallStands()
    {
        // Pressing "Los" again zeroes the counters and moves the end past the new start.
        GameFixture f;
        f.startAt(10, 20, 5);
        f.doubleClick();
        f.tickAt(10, 20, 25);
        f.form.TimerB_Timer();
        f.startAt(10, 20, 25);
        QCOMPARE(f.form.state().EndTime, std::string("22:20:55"));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::string("0"));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte2), std::string("0"));
        QCOMPARE(f.toolkit.left, 2288.0f);
        f.tickAt(10, 20, 26);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("29"));
        QVERIFY(f.toolkit.gameRuns());
    }

    void aLevelChoiceDuringAGameStopsItWithoutABoxAndStoresTheLevel()
    {
        // Choosing "Profi" stops the game silently and rewrites only the first line.
        GameFixture f;
        f.startAt(10, 20, 5);
        f.doubleClick();
        f.tickAt(10, 20, 10);
        f.form.mnuPro_Click();
        QVERIFY(!f.toolkit.timers.at(Timer::TimerZ));
        QVERIFY(!f.toolkit.timers.at(Timer::TimerB));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::string("0"));
        QCOMPARE(f.toolkit.caption(Label::lblPunkte2), std::string("0"));
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("25"));
        QVERIFY(f.toolkit.messages.empty());
        QVERIFY(!f.toolkit.isChecked(Item::mnuAnf));
        QVERIFY(!f.toolkit.isChecked(Item::mnuFor));
        QVERIFY(f.toolkit.isChecked(Item::mnuPro));
        QCOMPARE(f.wahlBytes(), QByteArray("\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n"));
        QCOMPARE(f.form.state().LevelName, FieldValue::text("Profi"));
    }

    void eachLevelEntrySetsItsPositiveStepsAndMark_data() { addLevelRows(); }
    void eachLevelEntrySetsItsPositiveStepsAndMark()
    {
        // After a bounce (negative steps) a level choice gives positive steps of its size.
        QFETCH(int, level);
        QFETCH(int, stepX);
        QFETCH(int, stepY);
        QFETCH(QByteArray, name);
        GameFixture f(wahlFile({"\"Profi \"", "\"25\",\"Maus\"", ",\"Igel\"", "0,"}));
        // Another copy of the game stores a record after this one has read the file: it stays.
        f.writeWahl(wahlFile({"\"Profi \"", "\"25\",\"Maus\"", ",\"Igel\"", "\"3\",\"Zweiter\""}));
        f.form.state().StepX = -15;
        f.form.state().StepY = -25;
        void (MainForm::*handlers[])() = {&MainForm::mnuAnf_Click, &MainForm::mnuFor_Click,
                                          &MainForm::mnuPro_Click};
        (f.form.*handlers[level])();
        QCOMPARE(f.form.state().StepX, std::int16_t(stepX));
        QCOMPARE(f.form.state().StepY, std::int16_t(stepY));
        const Item items[] = {Item::mnuAnf, Item::mnuFor, Item::mnuPro};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(f.toolkit.isChecked(items[i]), i == level);
        // The level that matched none is replaced; the scores keep their forms.
        QCOMPARE(f.wahlBytes(), name + "\r\n\"25\",\"Maus\"\r\n,\"Igel\"\r\n\"3\",\"Zweiter\"\r\n");
    }

    void choosingTheCurrentLevelWritesTheSameFileAgain()
    {
        // A choice of the level already checked still resets the counters and writes.
        GameFixture f;
        f.writeWahl("\"Anf\xe4nger\",12,\"Maus\",9,\"Igel\",0,\"unbekannt\"");
        f.form.mnuAnf_Click();
        QCOMPARE(f.wahlBytes(), WorkedExampleWahl);
        QCOMPARE(f.toolkit.caption(Label::lblPunkte), std::string("0"));
    }

    void choosingTheCurrentLevelRewritesTheFileEvenWithTheSameBytes()
    {
        // The file is written again, not left alone because its bytes would not change.
        GameFixture f;
        const FileStamp before = f.wahlStamp();
        f.form.mnuAnf_Click();
        const FileStamp after = f.wahlStamp();
        QCOMPARE(after.bytes, before.bytes);
        QVERIFY2(!(after == before), "the file was left alone");
    }

    void whatALevelWriteCannotKeepIsSaid_data()
    {
        QTest::addColumn<QByteArray>("before"); // the lines after the level
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("said"); // after "Die Datei „…“ "
        const QByteArray odd(" 12 ,\"Ma\tus\" x\r\n9,Igel\r\n\"0\" ,\"\"\r\n");
        QTest::newRow("odd lines stay byte for byte") << odd << odd << QString();
        QTest::newRow("a record on two lines is joined")
            << QByteArray("12,\"Maus\"\r\n9\r\n\"Igel\"\r\n0,\"unbekannt\"\r\n")
            << QByteArray("12,\"Maus\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n") << QString();
        QTest::newRow("undefined bytes and a fifth line")
            << QByteArray("12,\"Maus\"\r\n9,\"I\x81gel\"\r\n0,\"\x9D\"\r\nNotiz\r\n")
            << QByteArray("12,\"Maus\"\r\n9,\"I?gel\"\r\n0,\"?\"\r\n")
            << "wurde gespeichert, doch nicht alles darin ließ sich erhalten. In Zeilen 3 und 4 standen Zeichen, "
               "die Windows-1252 nicht kennt, oder Steuerzeichen; dort steht jetzt „?“ oder ein Leerzeichen. Was "
               "hinter den Rekorden stand (etwa eine fünfte Zeile), ist nicht mehr in der Datei.";
        QTest::newRow("damaged during the run")
            << QByteArray("12,\"Maus\"\r\n") << QByteArray("12,\"Maus\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n")
            << "ist unvollständig: Sie endet vor dem siebten Feld. Sie wurde mit den Rekorden neu geschrieben, "
               "die das Spiel zuletzt gelesen hatte.";
    }
    void whatALevelWriteCannotKeepIsSaid()
    {
        // Lines a level choice leaves alone are written back as they stand
        // where the file can hold them so; whatever is lost, the player is told.
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, said);
        GameFixture f;
        QVERIFY(f.writeWahl("\"Anf\xe4nger\"\r\n" + before));
        f.form.mnuPro_Click();
        QCOMPARE(f.wahlBytes(), "\"Profi\"\r\n" + after);
        std::vector<std::string> told;
        if (!said.isEmpty())
            told.push_back(("Die Datei „" + f.wahlPath() + "“ " + said).toStdString());
        QCOMPARE(f.toolkit.messages, told);
    }

    void aFailedLevelWriteIsReportedAfterTheChoiceTookEffect()
    {
        // The choice stands in the window even when the file cannot be written.
        GameFixture f;
        f.form.state().AppDir = f.toolkit.directory + "/missing/";
        const FileStamp before = f.wahlStamp();
        QVERIFY_THROWS_EXCEPTION(SettingsError, f.form.mnuFor_Click());
        QVERIFY(f.toolkit.isChecked(Item::mnuFor));
        QCOMPARE(f.form.state().StepX, std::int16_t(10));
        QCOMPARE(f.wahlBytes(), WorkedExampleWahl);
        QCOMPARE(f.wahlStamp(), before);
    }

    void highscoreAndBeendenGoToTheToolkit()
    {
        // "Highscore" asks for the window, "Beenden" ends the program, neither writes.
        GameFixture f;
        const FileStamp before = f.wahlStamp();
        f.startAt(10, 0, 0);
        f.form.mnuHigh_Click();
        QCOMPARE(f.toolkit.highScoreWindows, 1);
        QVERIFY(f.toolkit.gameRuns());
        f.form.mnuEnd_Click();
        QCOMPARE(f.toolkit.quits, 1);
        QCOMPARE(f.wahlBytes(), WorkedExampleWahl);
        QCOMPARE(f.wahlStamp(), before);
    }
};

QTEST_GUILESS_MAIN(PlayTest)
#include "test_play.moc"
