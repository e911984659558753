#include "support/gamefixture.h"

#include <QTest>

#include <cstring>

using Label = Toolkit::Label;

namespace {

const std::string Prompt26 = "Neuer Rekord: 26 Doppelklicks! Trag deinen Namen ein:";

} // namespace

class NewRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void aNewRecordAsksForTheNameAndStoresItAtOnce()
    {
        // 26 beats 25: prompt, title and old holder as default; the score is stored as text.
        GameFixture f(wahlFile({"\"Anf\xe4nger\"", "25,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        f.toolkit.answers = {"J\xc3\xb6rg"};
        playGame(f, 26, 2);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(1));
        QCOMPARE(f.toolkit.inputBoxes[0].prompt, Prompt26);
        QCOMPARE(f.toolkit.inputBoxes[0].title, std::string("Highscore"));
        QCOMPARE(f.toolkit.inputBoxes[0].defaultText, std::string("Maus"));
        QCOMPARE(f.form.state().DefaultName, std::string("Maus"));
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Anf\xe4nger\"", "\"26\",\"J\xf6rg\"", "9,\"Igel\"", "0,\"unbekannt\""}));
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
        QTest::newRow("negative, its digits above the count") << QByteArray("\" -30\"") << 26 << true;
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
        const QByteArray file = wahlFile({"\"Anf\xe4nger\"", storedScore + ",\"Maus\"", "9,\"Igel\"", "0,\"x\""});
        GameFixture f(file);
        const FileStamp before = f.wahlStamp();
        playGame(f, game);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(record ? 1 : 0));
        if (!record) {
            QCOMPARE(f.wahlBytes(), file);
            QCOMPARE(f.wahlStamp(), before);
        }
    }

    void aScoreThatIsNoNumberIsAnErrorAtStartAndLeavesTheFile_data()
    {
        QTest::addColumn<QByteArray>("storedScore");
        QTest::newRow("empty text") << QByteArray("\"\"");
        QTest::newRow("word") << QByteArray("\"viele\"");
        QTest::newRow("unquoted word") << QByteArray("viele");
        QTest::newRow("double sign") << QByteArray("\"+-3\"");
        QTest::newRow("exponent") << QByteArray("1e3");
        QTest::newRow("hexadecimal") << QByteArray("0x10");
        QTest::newRow("decimal comma") << QByteArray("\"0,5\"");
        QTest::newRow("a NUL inside") << QByteArray("1\0002", 3);
        QTest::newRow("a megabyte of letters") << QByteArray(1 << 20, 'x');
    }
    void aScoreThatIsNoNumberIsAnErrorAtStartAndLeavesTheFile()
    {
        // A stored score that cannot be compared is a German error at start-up, before a
        // game is played for nothing; the file stays as it is.
        QFETCH(QByteArray, storedScore);
        const QByteArray file = wahlFile({"\"Anf\xe4nger\"", storedScore + ",\"Maus\"", "9,\"Igel\"", "0,\"x\""});
        GameFixture f(file, GameFixture::NotLoaded);
        try {
            f.form.Form_Load();
            QFAIL("a score that is no number was accepted");
        } catch (const GameError &error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains("keine Zahl"), error.what());
            // The bad value is quoted with at most 40 characters, so the box stays readable.
            QVERIFY2(std::strlen(error.what()) < 400, "the message quotes the whole value");
        }
        QCOMPARE(f.wahlBytes(), file);
    }

    void cancelOrAnEmptiedFieldStoresUnbekannt()
    {
        // An empty answer (Cancel or a cleared field) stores "unbekannt"; blanks are kept.
        GameFixture f;
        f.toolkit.answers = {""};
        playGame(f, 13);
        QCOMPARE(f.form.state().HighScoreTable[0].name, FieldValue::text("unbekannt"));
        f.toolkit.answers = {"  Ida "};
        playGame(f, 14);
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Anf\xe4nger\"", "\"14\",\"  Ida \"", "9,\"Igel\"", "0,\"unbekannt\""}));
    }

    void theCheckMarkNotTheLevelNamePicksTheEntry()
    {
        // A level field naming no level keeps the mark on "Anfänger": entry 1 gets the record,
        // and the level field goes back as it was read.
        GameFixture f(wahlFile({"\"profi\"", "1,\"Maus\"", "9,\"Igel\"", "0,\"x\""}));
        f.toolkit.answers = {"Fuchs"};
        playGame(f, 2);
        QCOMPARE(f.wahlBytes(), wahlFile({"\"profi\"", "\"2\",\"Fuchs\"", "9,\"Igel\"", "0,\"x\""}));
    }

    void theEndReReadsTheFileBeforeTheRecordTest()
    {
        // A change made to the file during the game is what the record test sees and keeps.
        GameFixture f;
        f.form.mnuPro_Click();
        f.writeWahl(wahlFile({"\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "30,\"Eule\""}));
        f.toolkit.answers = {"Fuchs"};
        playGame(f, 14);
        QVERIFY(f.toolkit.inputBoxes.empty());
        f.writeWahl(wahlFile({"\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        playGame(f, 14);
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "\"14\",\"Fuchs\""}));
        // A later level choice writes the record back unchanged.
        f.form.mnuFor_Click();
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Fortgeschrittener\"", "12,\"Maus\"", "9,\"Igel\"", "\"14\",\"Fuchs\""}));
    }

    void whatAnotherCopyStoredWhileTheNameWasAskedForIsKept_data()
    {
        QTest::addColumn<QByteArray>("meanwhile");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("told");
        const QByteArray better = wahlFile({"\"Profi\"", "20,\"Eule\"", "9,\"Igel\"", "0,\"unbekannt\""});
        QTest::newRow("an equal score for the level") << better << better << true;
        QTest::newRow("a lower score for the level, a record for another")
            << wahlFile({"\"Profi\"", "19,\"Eule\"", "9,\"Igel\"", "\"3\",\"Dachs\""})
            << wahlFile({"\"Profi\"", "\"20\",\"Fuchs\"", "9,\"Igel\"", "\"3\",\"Dachs\""}) << false;
    }
    void whatAnotherCopyStoredWhileTheNameWasAskedForIsKept()
    {
        // The record is decided against the file as it is when the name is given: only the
        // game's own entry changes, and only while it still beats the stored one; otherwise
        // the player is told.
        QFETCH(QByteArray, meanwhile);
        QFETCH(QByteArray, expected);
        QFETCH(bool, told);
        GameFixture f;
        f.toolkit.answers = {"Fuchs"};
        f.toolkit.onEffect = [&] {
            if (f.toolkit.log.back().starts_with("inputBox"))
                f.writeWahl(meanwhile);
        };
        playGame(f, 20);
        QCOMPARE(f.wahlBytes(), expected);
        QCOMPARE(f.toolkit.messages.size(), std::size_t(told ? 2 : 1));
        if (told)
            QCOMPARE(f.toolkit.messages.back(), std::string("Inzwischen wurde für „Anfänger“ ein mindestens "
                     "ebenso gutes Ergebnis gespeichert („20“ Doppelklicks von „Eule“), darum wird deins nicht eingetragen."));
    }

    void theOfferedNameIsTheOneJustReadWhenTheFileChangedDuringTheGame()
    {
        // DefaultName is the holder's name as the end of the game re-reads it, not as start-up
        // read it.
        GameFixture f;
        f.writeWahl(wahlFile({"\"Anf\xe4nger\"", "15,\"Eule\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        f.toolkit.answers = {"Fuchs"};
        playGame(f, 20);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(1));
        QCOMPARE(f.toolkit.inputBoxes[0].defaultText, std::string("Eule"));
        QCOMPARE(f.form.state().DefaultName, std::string("Eule"));
    }

    void aRecordAtFortgeschrittenerChangesTheSecondEntryOnly()
    {
        // The mark on mnuFor picks entry 2; the other entries go back in the form they were read.
        GameFixture f(wahlFile({"\"Fortgeschrittener\"", "\"30\",\"Maus\"", "9,\"Igel\"", ",\"x\""}));
        f.toolkit.answers = {"Dachs"};
        playGame(f, 10, 4);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(1));
        QCOMPARE(f.toolkit.inputBoxes[0].prompt, std::string("Neuer Rekord: 10 Doppelklicks! Trag deinen Namen ein:"));
        QCOMPARE(f.toolkit.inputBoxes[0].defaultText, std::string("Igel"));
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Fortgeschrittener\"", "\"30\",\"Maus\"", "\"10\",\"Dachs\"", ",\"x\""}));
        QCOMPARE(f.form.state().HighScoreTable[1], (HighScoreEntry{FieldValue::text("10"), FieldValue::text("Dachs")}));
    }

    void okOnTheOfferedNameKeepsTheHolder()
    {
        // The default answer is the holder's name: taking it keeps the name with the new score.
        GameFixture f;
        f.toolkit.answers = {"Maus"};
        playGame(f, 20);
        QCOMPARE(f.form.state().HighScoreTable[0], (HighScoreEntry{FieldValue::text("20"), FieldValue::text("Maus")}));
    }

};

QTEST_GUILESS_MAIN(NewRecordTest)
#include "test_newrecord.moc"
