#include "gamefixture.h"

#include <QTest>

#include <cstring>

using Label = Toolkit::Label;
using Timer = Toolkit::Timer;
using Item = Toolkit::MenuItem;

namespace {

const std::string Prompt26 = "Neuer Rekord: 26 Doppelklicks! Trag deinen Namen ein:";

// Plays a game at the checked level that scores the given double clicks and
// errors, and lets its clock run out.
void playGame(GameFixture &f, int doubleClicks, int errors = 0)
{
    f.startAt(12, 0, 45);
    for (int i = 0; i < doubleClicks; ++i)
        f.doubleClick();
    for (int i = 0; i < errors; ++i)
        f.form.Ball_Click();
    f.tickAt(12, 1, 14);
    f.tickAt(12, 1, 15);
}

} // namespace

class GameEndTest : public QObject
{
    Q_OBJECT

private slots:
    void theClockCountsDownToTheEndSecond()
    {
        // Start at 12:00:45: "30" in the start second, "25" at :50, "1" at 01:14, "0" at 01:15.
        GameFixture f;
        f.form.Form_Load();
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
        f.form.Form_Load();
        f.startAt(23, 59, 50);
        f.tickAt(23, 59, 59);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("21"));
        f.tickAt(0, 0, 20);
        QVERIFY(!f.toolkit.gameRuns());
    }

    void aMissedEndSecondEndsTheGameOnTheNextTick()
    {
        // No tick within the end second: the next tick shows "0" and ends, not a minute later.
        GameFixture f;
        f.form.Form_Load();
        f.startAt(12, 0, 45);
        f.tickAt(12, 1, 14);
        f.tickAt(12, 1, 16); // would show 59
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("0"));
        QCOMPARE(f.form.state().SecondsLeft, 0.0);
        QVERIFY(!f.toolkit.gameRuns());
        QCOMPARE(f.toolkit.messages.size(), std::size_t(1));
    }

    void aNewGameDoesNotInheritTheLastTickOfTheOldOne()
    {
        // A game stopped at "3" by a level choice: the next game's "30" is no missed end.
        GameFixture f;
        f.form.Form_Load();
        f.startAt(12, 0, 45);
        f.tickAt(12, 1, 12);
        f.form.mnuAnf_Click();
        f.startAt(12, 2, 0);
        f.tickAt(12, 2, 0);
        QCOMPARE(f.toolkit.caption(Label::lblZeit), std::string("30"));
        QVERIFY(f.toolkit.gameRuns());
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
        GameFixture f(fileWith("\"Anf\xe4nger\"", "99,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""));
        f.form.Form_Load();
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

    void aNewRecordAsksForTheNameAndStoresItAtOnce()
    {
        // 26 beats 25: prompt, title and old holder as default; the score is stored as text.
        GameFixture f(fileWith("\"Anf\xe4nger\"", "25,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""));
        f.form.Form_Load();
        f.toolkit.answers = {"J\xc3\xb6rg"};
        playGame(f, 26, 2);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(1));
        QCOMPARE(f.toolkit.inputBoxes[0].prompt, Prompt26);
        QCOMPARE(f.toolkit.inputBoxes[0].title, std::string("Highscore"));
        QCOMPARE(f.toolkit.inputBoxes[0].defaultText, std::string("Maus"));
        QCOMPARE(f.form.state().DefaultName, std::string("Maus"));
        QCOMPARE(f.fileBytes(), fileWith("\"Anf\xe4nger\"", "\"26\",\"J\xf6rg\"", "9,\"Igel\"", "0,\"unbekannt\""));
        QCOMPARE(f.form.state().HighScoreTable[0].score, FieldValue::text("26"));
    }

    void theRecordTestComparesWholeNumbers_data()
    {
        QTest::addColumn<QByteArray>("storedScore");
        QTest::addColumn<int>("game");
        QTest::addColumn<bool>("record");
        QTest::newRow("equal count") << QByteArray("26") << 26 << false;
        QTest::newRow("text score 25") << QByteArray("\"25\"") << 26 << true;
        QTest::newRow("text score with blanks") << QByteArray("\" 26 \"") << 26 << false;
        QTest::newRow("empty score, one click") << QByteArray("") << 1 << true;
        QTest::newRow("empty score, none") << QByteArray("") << 0 << false;
        QTest::newRow("fraction rounds down") << QByteArray("25.9") << 26 << true;
        QTest::newRow("negative") << QByteArray("-1") << 0 << true;
        QTest::newRow("a hair below thirteen rounds down to 12") << QByteArray("12.9999999999999999999") << 13 << true;
        QTest::newRow("the same as a text") << QByteArray("\"12.9999999999999999999\"") << 13 << true;
        QTest::newRow("beyond a double") << QByteArray("99999999999999999999") << 26 << false;
        QTest::newRow("400 digits") << QByteArray("1" + QByteArray(400, '0')) << 26 << false;
    }
    void theRecordTestComparesWholeNumbers()
    {
        // Only a count above the stored one is a record; a file that is not a record stays unwritten.
        QFETCH(QByteArray, storedScore);
        QFETCH(int, game);
        QFETCH(bool, record);
        const QByteArray file = fileWith("\"Anf\xe4nger\"", storedScore + ",\"Maus\"", "9,\"Igel\"", "0,\"x\"");
        GameFixture f(file);
        f.form.Form_Load();
        playGame(f, game);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(record ? 1 : 0));
        if (!record)
            QCOMPARE(f.fileBytes(), file);
    }

    void aScoreThatIsNoNumberIsAnErrorAndLeavesTheFile_data()
    {
        QTest::addColumn<QByteArray>("storedScore");
        QTest::newRow("empty text") << QByteArray("\"\"");
        QTest::newRow("word") << QByteArray("\"viele\"");
        QTest::newRow("unquoted word") << QByteArray("viele");
        QTest::newRow("double sign") << QByteArray("\"+-3\"");
        QTest::newRow("a megabyte of letters") << QByteArray(1 << 20, 'x');
    }
    void aScoreThatIsNoNumberIsAnErrorAndLeavesTheFile()
    {
        // A stored score that cannot be compared ends the game with a German error.
        QFETCH(QByteArray, storedScore);
        const QByteArray file = fileWith("\"Anf\xe4nger\"", storedScore + ",\"Maus\"", "9,\"Igel\"", "0,\"x\"");
        GameFixture f(file);
        f.form.Form_Load();
        try {
            playGame(f, 3);
            QFAIL("a score that is no number was compared");
        } catch (const GameError &error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains("keine Zahl"), error.what());
            // The bad value is quoted with at most 40 characters, so the box stays readable.
            QVERIFY2(std::strlen(error.what()) < 400, "the message quotes the whole value");
        }
        QVERIFY(f.toolkit.inputBoxes.empty());
        QCOMPARE(f.fileBytes(), file);
    }

    void cancelOrAnEmptiedFieldStoresUnbekannt()
    {
        // An empty answer (Cancel or a cleared field) stores "unbekannt"; blanks are kept.
        GameFixture f;
        f.form.Form_Load();
        f.toolkit.answers = {""};
        playGame(f, 13);
        QCOMPARE(f.form.state().HighScoreTable[0].name, FieldValue::text("unbekannt"));
        f.toolkit.answers = {"  Ida "};
        playGame(f, 14);
        QCOMPARE(f.fileBytes(), fileWith("\"Anf\xe4nger\"", "\"14\",\"  Ida \"", "9,\"Igel\"", "0,\"unbekannt\""));
    }

    void theCheckMarkNotTheLevelNamePicksTheEntry()
    {
        // A level field naming no level keeps the mark on "Anfänger": entry 1 gets the record,
        // and the level field goes back as it was read.
        GameFixture f(fileWith("\"profi\"", "1,\"Maus\"", "9,\"Igel\"", "0,\"x\""));
        f.form.Form_Load();
        f.toolkit.answers = {"Fuchs"};
        playGame(f, 2);
        QCOMPARE(f.fileBytes(), fileWith("\"profi\"", "\"2\",\"Fuchs\"", "9,\"Igel\"", "0,\"x\""));
    }

    void theEndReReadsTheFileBeforeTheRecordTest()
    {
        // A change made to the file during the game is what the record test sees and keeps.
        GameFixture f;
        f.form.Form_Load();
        f.form.mnuPro_Click();
        f.writeFile(fileWith("\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "30,\"Eule\""));
        f.toolkit.answers = {"Fuchs"};
        playGame(f, 14);
        QVERIFY(f.toolkit.inputBoxes.empty());
        f.writeFile(fileWith("\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""));
        playGame(f, 14);
        QCOMPARE(f.fileBytes(), fileWith("\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "\"14\",\"Fuchs\""));
        // A later level choice writes the record back unchanged.
        f.form.mnuFor_Click();
        QCOMPARE(f.fileBytes(), fileWith("\"Fortgeschrittener\"", "12,\"Maus\"", "9,\"Igel\"", "\"14\",\"Fuchs\""));
    }

    void okOnTheOfferedNameKeepsTheHolder()
    {
        // The default answer is the holder's name: taking it keeps the name with the new score.
        GameFixture f;
        f.form.Form_Load();
        f.toolkit.answers = {"Maus"};
        playGame(f, 20);
        QCOMPARE(f.form.state().HighScoreTable[0], (HighScoreEntry{FieldValue::text("20"), FieldValue::text("Maus")}));
    }

    void aFileRemovedDuringTheGameIsAnErrorAtItsEnd()
    {
        // The end re-reads Wahl.txt; without it the game ends with an error, nothing is created.
        GameFixture f;
        f.form.Form_Load();
        QFile::remove(f.path());
        QVERIFY_THROWS_EXCEPTION(SettingsError, playGame(f, 5));
        QVERIFY(!QFile::exists(f.path()));
        QVERIFY(!f.toolkit.gameRuns());
    }
};

QTEST_GUILESS_MAIN(GameEndTest)
#include "test_gameend.moc"
