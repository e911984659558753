#include "support/callresults.h"
#include "support/gamefixture.h"
#include "support/levelrows.h"

#include "game/appdir.h"
#include "storage/settings.h"

#include <QDir>
#include <QTest>

using Item = Toolkit::MenuItem;

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void theStoredLevelSetsStepsAndOneCheckMark_data()
    {
        addLevelRows();
        QTest::newRow("unquoted Profi") << 2 << 15 << 25 << QByteArray("Profi") << QByteArray("Profi");
    }
    void theStoredLevelSetsStepsAndOneCheckMark()
    {
        // Start-up applies the stored level: its steps, and the mark on its entry alone.
        QFETCH(int, level);
        QFETCH(int, stepX);
        QFETCH(int, stepY);
        QFETCH(QByteArray, name);
        GameFixture f(wahlFile({name, "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        QCOMPARE(f.form.state().StepX, stepX);
        QCOMPARE(f.form.state().StepY, stepY);
        const Item items[] = {Item::mnuAnf, Item::mnuFor, Item::mnuPro};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(f.toolkit.isChecked(items[i]), i == level);
    }

    void startupKeepsWhatWasReadAndTouchesNothingElse()
    {
        // Start-up fills AppDir, LevelName and the table; no timer, no label, no write.
        GameFixture f(WorkedExampleWahl, GameFixture::NotLoaded);
        const FileStamp before = f.wahlStamp();
        f.form.Form_Load();
        const GameState &s = f.form.state();
        QCOMPARE(s.AppDir, f.toolkit.directory + "/");
        QCOMPARE(s.LevelName, FieldValue::text("Anfänger"));
        QCOMPARE(s.HighScoreTable[0], (HighScoreEntry{FieldValue::number(12), FieldValue::text("Maus")}));
        QCOMPARE(s.HighScoreTable[1], (HighScoreEntry{FieldValue::number(9), FieldValue::text("Igel")}));
        QCOMPARE(s.HighScoreTable[2], (HighScoreEntry{FieldValue::number(0), FieldValue::text("unbekannt")}));
        QVERIFY(!f.toolkit.timers.at(Toolkit::Timer::TimerB));
        QVERIFY(!f.toolkit.timers.at(Toolkit::Timer::TimerZ));
        QVERIFY(f.toolkit.captions.empty());
        QCOMPARE(f.wahlBytes(), WorkedExampleWahl);
        QCOMPARE(f.wahlStamp(), before);
        QVERIFY(s.EndTime.empty());
    }

    void aLevelThatMatchesNoneGetsTheBeginnersStepsButKeepsItsText_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<FieldValue>("expected");
        QTest::newRow("lower case") << QByteArray("\"profi\"") << FieldValue::text("profi");
        QTest::newRow("trailing blank") << QByteArray("\"Profi \"") << FieldValue::text("Profi ");
        QTest::newRow("number") << QByteArray("12") << FieldValue::number(12);
        QTest::newRow("empty") << QByteArray("") << FieldValue();
        QTest::newRow("empty text") << QByteArray("\"\"") << FieldValue::text("");
    }
    void aLevelThatMatchesNoneGetsTheBeginnersStepsButKeepsItsText()
    {
        // The mark stays on "Anfänger" as created, so the ball moves at that
        // level's speed; LevelName keeps what was read and no mark is touched.
        QFETCH(QByteArray, level);
        QFETCH(FieldValue, expected);
        GameFixture f(wahlFile({level, "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
        QCOMPARE(f.form.state().StepX, std::int16_t(8));
        QCOMPARE(f.form.state().StepY, std::int16_t(11));
        QCOMPARE(f.form.state().LevelName, expected);
        QVERIFY(f.toolkit.log.empty());
        QVERIFY(f.toolkit.isChecked(Item::mnuAnf));
    }

    void aRootDirectoryGetsNoSecondSeparator()
    {
        // The separator is appended only when the last character is not one.
        QCOMPARE(withTrailingSeparator("/"), std::string("/"));
        QCOMPARE(withTrailingSeparator("/opt/hopsala"), std::string("/opt/hopsala/"));
        QCOMPARE(withTrailingSeparator("/opt/hopsala/"), std::string("/opt/hopsala/"));
    }

    void theRootAsProgramDirectoryReadsWahlTxtInTheRoot()
    {
        // A program in "/" reads "/Wahl.txt": AppDir is "/" with no second separator.
        if (QFile::exists(QStringLiteral("/Wahl.txt")))
            QSKIP("this machine has a /Wahl.txt of its own");
        GameFixture f(QByteArray{}, GameFixture::NotLoaded);
        f.toolkit.directory = "/";
        const QString message = QString::fromStdString(ErrorOf([&] { f.form.Form_Load(); }));
        QVERIFY2(message.contains(QStringLiteral("/Wahl.txt")) && !message.contains(QStringLiteral("//")),
                 qPrintable(message));
        QCOMPARE(f.form.state().AppDir, std::string("/"));
        QVERIFY(f.toolkit.log.empty());
    }

    void aFailureWithoutGermanWordsIsToldInGerman()
    {
        // Our own errors keep their sentence; any other failure gets a German one.
        QCOMPARE(failureMessage(SettingsError("Die Datei fehlt.")), std::string("Die Datei fehlt."));
        QCOMPARE(failureMessage(GameError("Keine Zahl.")), std::string("Keine Zahl."));
        const std::string memory = failureMessage(std::bad_alloc());
        QVERIFY2(memory.find("Arbeitsspeicher") != std::string::npos, memory.c_str());
        const std::string other = failureMessage(std::invalid_argument("FieldValue::number needs a finite value"));
        QVERIFY2(other.find("Fehler") != std::string::npos && other.find("needs") == std::string::npos,
                 other.c_str());
    }

    void aMissingFileIsAnErrorAndCreatesNothing()
    {
        // Without Wahl.txt start-up fails with a message that names the file; nothing is created.
        GameFixture f(QByteArray{}, GameFixture::NotLoaded);
        const QString message = QString::fromStdString(ErrorOf([&] { f.form.Form_Load(); }));
        QVERIFY2(message.contains(f.wahlPath()), qPrintable(message));
        QVERIFY(!QFile::exists(f.wahlPath()));
        QCOMPARE(QDir(f.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 0);
        QVERIFY(f.toolkit.log.empty());
    }

    void aShortFileIsAnError()
    {
        // A file that ends before its seventh field cannot be played with.
        GameFixture f("\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n0\r\n", GameFixture::NotLoaded);
        QVERIFY_THROWS_EXCEPTION(SettingsError, f.form.Form_Load());
        QCOMPARE(f.form.state().StepX, std::int16_t(0));
    }

    void fieldsAfterTheSeventhAreNotRead()
    {
        // Only seven fields count, however many the file holds.
        GameFixture f("\"Profi\",1,\"a\",2,\"b\",3,\"c\",\"Anf\xe4nger\",99\r\n");
        QCOMPARE(f.form.state().StepX, std::int16_t(15));
        QCOMPARE(f.form.state().HighScoreTable[2].name, FieldValue::text("c"));
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "test_startup.moc"
