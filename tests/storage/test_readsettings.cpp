#include "support/callresults.h"
#include "support/environmentlocale.h"
#include "support/programfolder.h"
#include "support/settingsrecords.h"

#include <QTest>

class TestReadSettings : public QObject
{
    Q_OBJECT

public:
    // The record that the bytes read as, through a real file.
    SettingsRecord read(const QByteArray &bytes)
    {
        if (!m_dir.writeWahl(bytes))
            throw std::runtime_error("cannot prepare " + m_path);
        return ReadSettings(m_path);
    }

private:
    ProgramFolder m_dir;
    const std::string m_path = m_dir.wahlPath().toStdString();

private slots:
    void initTestCase() { QCOMPARE(UseEnvironmentLocale(), QString()); }

    // The shipped file reads as the level Anfänger and three bare scores.
    void theWorkedExampleReadsAsItsRecord()
    {
        QCOMPARE(read(WorkedExampleWahl), WorkedExample());
        QCOMPARE(read(WorkedExampleWahl).entries[0].score.kind(), FieldValue::Kind::Number);
    }

    void fieldsAreSplitByCommasAndLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SettingsRecord>("record");
        const SettingsRecord simple = MakeRecord(Text("Profi"), Number(1), Text("A"), Number(2),
                                                 Text("B"), Number(3), Text("C"));
        QTest::newRow("one line") << QByteArray("\"Profi\",1,\"A\",2,\"B\",3,\"C\"") << simple;
        QTest::newRow("CR LF") << QByteArray("\"Profi\"\r\n1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n") << simple;
        QTest::newRow("lone LF") << QByteArray("\"Profi\"\n1,\"A\"\n2,\"B\"\n3,\"C\"\n") << simple;
        QTest::newRow("lone CR") << QByteArray("\"Profi\"\r1,\"A\"\r2,\"B\"\r3,\"C\"\r") << simple;
        QTest::newRow("one field a line") << QByteArray("\"Profi\"\n1\n\"A\"\r2\r\n\"B\"\n3\n\"C\"") << simple;
        QTest::newRow("LF CR is two line ends")
            << QByteArray("\"Profi\"\n\r1,\"A\",2,\"B\",3")
            << MakeRecord(Text("Profi"), FieldValue(), Number(1), Text("A"), Number(2), Text("B"), Number(3));
        QTest::newRow("empty fields")
            << QByteArray("\r\n,\r\n9,\r\n,\"x\"\r\n")
            << MakeRecord(FieldValue(), FieldValue(), FieldValue(), Number(9), FieldValue(), FieldValue(), Text("x"));
        QTest::newRow("six commas and a line end")
            << QByteArray(",,,,,,\r\n")
            << MakeRecord(FieldValue(), FieldValue(), FieldValue(), FieldValue(), FieldValue(), FieldValue(),
                          FieldValue());
        QTest::newRow("two quotes are an empty text")
            << QByteArray("\"\",\"\",,\"\",1,2,\"\"")
            << MakeRecord(Text(""), Text(""), FieldValue(), Text(""), Number(1), Number(2), Text(""));
        QTest::newRow("comma inside quotes")
            << QByteArray("\"Profi\",1,\"Maus, Max\",2,\"B\",3,\"C\"")
            << MakeRecord(Text("Profi"), Number(1), Text("Maus, Max"), Number(2), Text("B"), Number(3), Text("C"));
        QTest::newRow("quoted score")
            << QByteArray("\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n\"14\",\"Fuchs\"\r\n")
            << MakeRecord(Text("Profi"), Number(12), Text("Maus"), Number(9), Text("Igel"), Text("14"), Text("Fuchs"));
        QTest::newRow("blanks around fields")
            << QByteArray("  \"Profi\"  ,  12  ,  Maus Max  ,-3,  \"  B  \" ,12.5,C")
            << MakeRecord(Text("Profi"), Number(12), Text("Maus Max"), Number(-3), Text("  B  "), Number("12.5"),
                          Text("C"));
        QTest::newRow("after the closing quote")
            << QByteArray("\"Profi\"junk\"more\r\n1,\"A\" x,2,\"B\",3,\"C\"")
            << simple;
        QTest::newRow("unquoted texts")
            << QByteArray("Profi,1e5,+5,12.,.5,0x1A,-")
            << MakeRecord(Text("Profi"), Text("1e5"), Text("+5"), Text("12."), Text(".5"), Text("0x1A"), Text("-"));
        QTest::newRow("extra fields ignored")
            << QByteArray("\"Profi\",1,\"A\",2,\"B\",3,\"C\",4,\"D\"\r\nmore\r\n")
            << simple;
    }

    // Commas and line ends both end a field, whatever the lines; CR LF is
    // one line end; a field's form comes from its quotes and its digits.
    void fieldsAreSplitByCommasAndLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(SettingsRecord, record);
        QCOMPARE(read(bytes), record);
    }

    void textsFollowTheNameRulesWhenRead_data()
    {
        QTest::addColumn<QByteArray>("lastField");
        QTest::addColumn<FieldValue>("name");
        QTest::newRow("line end in quotes") << QByteArray("\"Ma\r\nus\"") << Text("Ma  us");
        QTest::newRow("tab in quotes") << QByteArray("\"a\tb\"") << Text("a b");
        QTest::newRow("stray quote unquoted") << QByteArray("Ma\"us") << Text("Ma'us");
        QTest::newRow("NUL unquoted") << QByteArray("a\0b", 3) << Text("a b");
        QTest::newRow("quote never closed") << QByteArray("\"Fuchs\r\nund Hase") << Text("Fuchs  und Hase");
        QTest::newRow("umlaut") << QByteArray("\"J\xF6rg\"") << Text("Jörg");
        QTest::newRow("euro and per mille") << QByteArray("\"\x80\x89\x9F\"") << Text("€‰Ÿ");
        QTest::newRow("undefined byte") << QByteArray("\"a\x81z\"") << Text("a?z");
        QTest::newRow("UTF-8 read as Windows-1252") << QByteArray("\"J\xC3\xB6rg\"") << Text("JÃ¶rg");
    }

    // A text read from the file obeys the same rules as one written, so
    // that what reads without error is written back as the same record.
    void textsFollowTheNameRulesWhenRead()
    {
        QFETCH(QByteArray, lastField);
        QFETCH(FieldValue, name);
        QCOMPARE(read("\"Profi\",1,\"A\",2,\"B\",3," + lastField).entries[2].name, name);
    }

    void aFileOfFewerThanSevenFieldsIsIncomplete_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("three lines") << QByteArray("\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n");
        QTest::newRow("six fields") << QByteArray("\"Profi\",1,\"A\",2,\"B\",3");
        QTest::newRow("six fields and a comma") << QByteArray("\"Profi\",1,\"A\",2,\"B\",3,");
        QTest::newRow("six commas") << QByteArray(",,,,,,");
    }

    // Reading stops with an error naming the file when the seventh field is
    // missing.
    void aFileOfFewerThanSevenFieldsIsIncomplete()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(m_dir.writeWahl(bytes));
        QCOMPARE(QString::fromStdString(ErrorOf([&] { ReadSettings(m_path); })),
                 "Die Datei „" + QString::fromStdString(m_path) + "“ ist unvollständig: Sie endet vor dem siebten Feld.");
    }

    // A field may hold 1 MiB; one byte more marks the file as damaged
    // instead of reading it into memory.
    void aFieldLongerThanOneMiBIsDamage()
    {
        const QByteArray fits(1 << 20, 'x');
        QCOMPARE(read("\"Profi\",1,\"A\",2,\"B\",3,\"" + fits + "\"").entries[2].name.textValue().size(),
                 std::size_t{1} << 20);
        QCOMPARE(read("\"Profi\",1,\"A\",2,\"B\",3," + fits).entries[2].name.textValue().size(),
                 std::size_t{1} << 20);
        const QByteArray tooLong = fits + 'x';
        for (const QByteArray &bytes : {"\"" + tooLong + "\",1,\"A\",2,\"B\",3,\"C\"", "1," + tooLong}) {
            const QString error = QString::fromStdString(ErrorOf([&] { read(bytes); }));
            QVERIFY2(error.endsWith("ist beschädigt: Ein Feld ist länger als 1 MiB."), qPrintable(error));
        }
    }

    void aFileThatCannotBeOpenedIsNamedWithTheCause_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing") << "fehlt/Wahl.txt" << "Die Datei existiert nicht.";
        QTest::newRow("directory") << "." << "Der Pfad bezeichnet ein Verzeichnis.";
        QTest::newRow("file as directory") << "Wahl.txt/Wahl.txt" << "Ein Teil des Pfades ist kein Verzeichnis.";
    }

    // A file that cannot be read gives a German sentence with its path and
    // the cause.
    void aFileThatCannotBeOpenedIsNamedWithTheCause()
    {
        QFETCH(QString, relativePath);
        QFETCH(QString, cause);
        QVERIFY(m_dir.writeWahl(WorkedExampleWahl));
        const QString path = m_dir.filePath(relativePath);
        QCOMPARE(QString::fromStdString(ErrorOf([&] { ReadSettings(path.toStdString()); })),
                 "Die Datei „" + path + "“ kann nicht gelesen werden: " + cause);
    }
};

QTEST_APPLESS_MAIN(TestReadSettings)
#include "test_readsettings.moc"
