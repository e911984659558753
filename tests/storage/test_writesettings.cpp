#include "support/callresults.h"
#include "support/environmentlocale.h"
#include "support/programfolder.h"
#include "support/settingsrecords.h"

#include <QTest>

#include <sys/stat.h>

class TestWriteSettings : public QObject
{
    Q_OBJECT

    ProgramFolder m_dir;
    const std::string m_path = m_dir.wahlPath().toStdString();

    QString expectedWriteError(const std::string &path, const QString &cause) const
    {
        return "Die Datei „" + QString::fromStdString(path) + "“ kann nicht geschrieben werden: " + cause;
    }

private slots:
    void initTestCase() { QCOMPARE(UseEnvironmentLocale(), QString()); }

    void init() { QVERIFY(m_dir.clear()); }

    // The shipped file, a level change and a new record are written byte
    // for byte as the player's file holds them.
    void theWorkedExampleIsWrittenByteForByte()
    {
        WriteSettings(m_path, WorkedExample());
        QCOMPARE(fileBytes(m_path), WorkedExampleWahl);

        SettingsRecord record = ReadSettings(m_path);
        record.level = Text("Profi");
        WriteSettings(m_path, record);
        const QByteArray levelChanged("\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n");
        QCOMPARE(fileBytes(m_path), levelChanged);

        record = ReadSettings(m_path);
        record.entries[2] = {Text("14"), Text("Fuchs")};
        WriteSettings(m_path, record);
        const QByteArray lineFour = QByteArray::fromHex("22 31 34 22 2C 22 46 75 63 68 73 22 0D 0A");
        QCOMPARE(fileBytes(m_path), "\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n" + lineFour);
        QCOMPARE(ReadSettings(m_path).entries[2].score, Text("14"));
    }

    void recordsAreWrittenAsFourLines_data()
    {
        QTest::addColumn<SettingsRecord>("record");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("all empty") << SettingsRecord() << QByteArray("\r\n,\r\n,\r\n,\r\n");
        QTest::newRow("empty texts")
            << MakeRecord(Text(""), Text(""), Text(""), Number(1), FieldValue(), FieldValue(), Text(""))
            << QByteArray("\"\"\r\n\"\",\"\"\r\n1,\r\n,\"\"\r\n");
        QTest::newRow("fractions and signs")
            << MakeRecord(Number(-3), Number("12.5"), Text("a"), Number(0), Text("b"), Number("-0.25"), Text("c"))
            << QByteArray("-3\r\n12.5,\"a\"\r\n0,\"b\"\r\n-0.25,\"c\"\r\n");
        QTest::newRow("comma in a name")
            << MakeRecord(Text("Profi"), Number(1), Text("Maus, Max"), Number(2), Text("B"), Number(3), Text("C"))
            << QByteArray("\"Profi\"\r\n1,\"Maus, Max\"\r\n2,\"B\"\r\n3,\"C\"\r\n");
        QTest::newRow("name rules")
            << MakeRecord(Text("Profi"), Number(1), Text("Ma\"us\tX€Ł"), Number(2), Text("a\r\nb"), Number(3),
                          Text("Jörg ß"))
            << QByteArray("\"Profi\"\r\n1,\"Ma'us X\x80?\"\r\n2,\"a  b\"\r\n3,\"J\xF6rg \xDF\"\r\n");
    }

    // Each field is written in its form, the fields of a line joined by one
    // comma, each line ended by CR LF; names follow the name rules.
    void recordsAreWrittenAsFourLines()
    {
        QFETCH(SettingsRecord, record);
        QFETCH(QByteArray, bytes);
        WriteSettings(m_path, record);
        QCOMPARE(fileBytes(m_path), bytes);
    }

    // What reads without error is written back as the same record, and the
    // next write leaves only the four lines of a longer file.
    void aReadRecordIsWrittenBackUnchanged()
    {
        const QByteArray original("  Profi ,\"1\" x,Maus\"Max,,\"a\tb\",\"\",\"\x80\x81\"\r\n4,\"D\"\r\n,,,\r\n");
        QVERIFY(putFileBytes(m_path, original));
        const SettingsRecord record = ReadSettings(m_path);
        WriteSettings(m_path, record);
        QCOMPARE(fileBytes(m_path), QByteArray("\"Profi\"\r\n\"1\",\"Maus'Max\"\r\n,\"a b\"\r\n\"\",\"\x80?\"\r\n"));
        QCOMPARE(ReadSettings(m_path), record);
    }

    // A new file gets the usual permissions; a replaced file keeps its own.
    void aReplacedFileKeepsItsPermissions()
    {
        WriteSettings(m_path, WorkedExample());
        const mode_t mask = ::umask(0);
        ::umask(mask);
        struct stat status{};
        QCOMPARE(::stat(m_path.c_str(), &status), 0);
        QCOMPARE(status.st_mode & 0777u, 0666u & ~mask);
        for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0604}}) {
            QCOMPARE(::chmod(m_path.c_str(), mode), 0);
            WriteSettings(m_path, SettingsRecord());
            QCOMPARE(::stat(m_path.c_str(), &status), 0);
            QCOMPARE(status.st_mode & 0777u, unsigned{mode});
        }
    }

    // A file in a directory that does not exist cannot be written; nothing
    // is created.
    void aMissingDirectoryIsNamedInTheError()
    {
        const std::string path = m_dir.filePath("fehlt/Wahl.txt").toStdString();
        QCOMPARE(QString::fromStdString(ErrorOf([&] { WriteSettings(path, WorkedExample()); })),
                 expectedWriteError(path, "Das Verzeichnis existiert nicht."));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("fehlt")));
    }

    // A name too long to be read back is refused before the old file is
    // touched.
    void aTextTooLongToReadBackIsNotWritten()
    {
        QVERIFY(putFileBytes(m_path, WorkedExampleWahl));
        SettingsRecord record = WorkedExample();
        record.entries[1].name = FieldValue::text(std::string((1 << 20) + 1, 'x'));
        QCOMPARE(QString::fromStdString(ErrorOf([&] { WriteSettings(m_path, record); })),
                 expectedWriteError(m_path, "Ein Feld ist länger als 1 MiB."));
        QCOMPARE(fileBytes(m_path), WorkedExampleWahl);
        QCOMPARE(m_dir.otherEntries(), QStringList());

        record.entries[1].name = FieldValue::text(std::string(1 << 20, 'x'));
        WriteSettings(m_path, record);
        QCOMPARE(ReadSettings(m_path), record);
    }
};

QTEST_APPLESS_MAIN(TestWriteSettings)
#include "test_writesettings.moc"
