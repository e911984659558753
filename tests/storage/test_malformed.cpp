#include "support/environmentlocale.h"
#include "support/programfolder.h"
#include "support/settingsrecords.h"

#include <QTest>

namespace {

const QString Incomplete = QStringLiteral("ist unvollständig: Sie endet vor dem siebten Feld.");
const QString Damaged = QStringLiteral("ist beschädigt: Ein Feld ist länger als 1 MiB.");
const QString TooLarge = QStringLiteral("ist beschädigt: Sie ist größer als 8 MiB.");
const QString Utf16 = QStringLiteral("ist in UTF-16 gespeichert. Bitte speichern Sie sie als Windows-1252.");
constexpr int MiB = 1 << 20;

SettingsRecord AllEmpty()
{
    return SettingsRecord();
}

SettingsRecord AllTexts(const char *text)
{
    return MakeRecord(Text(text), Text(text), Text(text), Text(text), Text(text), Text(text), Text(text));
}

QByteArray AllBytes()
{
    QByteArray bytes;
    for (int byte = 0; byte < 256; ++byte)
        bytes += static_cast<char>(byte);
    return bytes;
}

} // namespace

class TestMalformed : public QObject
{
    Q_OBJECT

    ProgramFolder m_dir;

    void addRecord(const char *name, const QByteArray &bytes, const SettingsRecord &record)
    {
        QTest::newRow(name) << bytes << record << QString();
    }
    void addError(const char *name, const QByteArray &bytes, const QString &error)
    {
        QTest::newRow(name) << bytes << SettingsRecord() << error;
    }

private slots:
    void initTestCase() { QCOMPARE(UseEnvironmentLocale(), QString()); }

    void aDamagedFileReadsAsDefinedOrFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SettingsRecord>("record");
        QTest::addColumn<QString>("error");
        const QByteArray example = WorkedExampleWahl;
        const SettingsRecord simple = MakeRecord(Text("L"), Number(1), Text("A"), Number(2), Text("B"),
                                                 Number(3), Text("C"));

        addError("empty file", "", Incomplete);
        addError("cut in the third line", example.left(25), Incomplete);
        addError("cut after the last comma", example.left(example.indexOf("0,") + 2), Incomplete);
        SettingsRecord cutName = WorkedExample();
        cutName.entries[2].name = Text("unbek");
        addRecord("cut in the last name", example.left(example.size() - 7), cutName);
        addError("every byte once", AllBytes(), Incomplete);
        addError("no separators", "\"Profi\" 12 \"Maus\" 9 \"Igel\" 0 \"unbekannt\"", Incomplete);
        addError("ten MB of commas", QByteArray(10 * MiB, ','), TooLarge);
        addError("ten MB of commas after the fields", example + QByteArray(10 * MiB, ','), TooLarge);
        addError("8 MiB of blanks, the largest file looked at", QByteArray(8 * MiB, ' '), Incomplete);
        addError("one byte more", QByteArray(8 * MiB + 1, ' '), TooLarge);
        addRecord("fields of 1 MiB, all seven", QByteArray("\"" + QByteArray(MiB, 'x') + "\",").repeated(7),
                  AllTexts(std::string(MiB, 'x').c_str()));
        addError("first quote never closed", "\"Profi,1,\"A\",2,\"B\",3,\"C\"", Incomplete);
        addRecord("only NUL bytes and commas", QByteArray("\0,\0,\0,\0,\0,\0,\0", 13), AllTexts(" "));
        SettingsRecord utf8 = WorkedExample();
        utf8.level = Text("AnfÃ¤nger");
        utf8.entries[0].name = Text("MÃ¼ller");
        addRecord("UTF-8 instead of Windows-1252",
                  "\"Anf\xC3\xA4nger\"\r\n12,\"M\xC3\xBCller\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n", utf8);
        SettingsRecord bom = WorkedExample();
        bom.entries[0].name = Text("Müller");
        addRecord("UTF-8 with its byte-order mark",
                  "\xEF\xBB\xBF\"Anf\xC3\xA4nger\"\r\n12,\"M\xC3\xBCller\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n", bom);
        bom.level = Text("Anf?nger");
        bom.entries[0].name = Text("Maus");
        addRecord("byte-order mark before Windows-1252", "\xEF\xBB\xBF" + example, bom);
        SettingsRecord marks = simple;
        marks.entries[0].name = Text("A ?€? ?");
        addRecord("byte-order mark, invalid UTF-8 and controls",
                  "\xEF\xBB\xBF\"L\",1,\"A\t\xC3\xE2\x82\xAC\xC5\x81\xC2\x85\xFF\",2,\"B\",3,\"C\"", marks);
        addError("UTF-16, little end first", QByteArray("\xFF\xFE\"\0P\0r\0o\0f\0i\0\"\0", 16), Utf16);
        addError("UTF-16, big end first", QByteArray("\xFE\xFF\0\"\0P\0r\0o\0f\0i\0\"", 16), Utf16);
        addRecord("a lone mark byte is Windows-1252", "\xFF,1,2,3,4,5,6",
                  MakeRecord(Text("ÿ"), Number(1), Number(2), Number(3), Number(4), Number(5), Number(6)));
        addError("a field of 2 MB", "\"" + QByteArray(2 * MiB, 'x') + "\",1,\"A\",2,\"B\",3,\"C\"", Damaged);
        addError("2 MB of digits", QByteArray(2 * MiB, '7'), Damaged);
        addError("2 MB of blanks after a name", "\"L\",1,A" + QByteArray(2 * MiB, ' ') + ",2,\"B\",3,\"C\"", Damaged);
        addRecord("2 MB of blanks before the first field", QByteArray(2 * MiB, ' ') + "\"L\",1,\"A\",2,\"B\",3,\"C\"",
                  simple);
        addRecord("2 MB after a closing quote", "\"L\"" + QByteArray(2 * MiB, 'x') + "\r\n1,\"A\",2,\"B\",3,\"C\"",
                  simple);
        addError("only blanks", QByteArray(1000, ' '), Incomplete);
        addRecord("only seven CR", QByteArray(7, '\r'), AllEmpty());
        addError("only six CR", QByteArray(6, '\r'), Incomplete);
        addRecord("only seven LF", QByteArray(7, '\n'), AllEmpty());
        addError("six CR LF are six line ends", QByteArray("\r\n").repeated(6), Incomplete);
        addRecord("seven CR LF", QByteArray("\r\n").repeated(7), AllEmpty());
        addError("five commas", ",,,,,", Incomplete);
        addError("a single quote", "\"", Incomplete);
        addError("seven quotes", "\"\"\"\"\"\"\"", Incomplete);
        addRecord("seven empty texts", QByteArray("\"\",").repeated(7), AllTexts(""));
        addRecord("mixed line ends", "\"L\"\r1\n\"A\"\r\n2\r\"B\"\n3\r\n\"C\"", simple);
        addRecord("numbers in odd forms", "-0,007,-0.50,1e999,0x10,1,5 ",
                  MakeRecord(Number(0), Number(7), Number("-0.5"), Text("1e999"), Text("0x10"), Number(1), Number(5)));
        addRecord("a tab is no blank", "\t12,\"A\",2,\"B\",3,\"C\",x",
                  MakeRecord(Text(" 12"), Text("A"), Number(2), Text("B"), Number(3), Text("C"), Text("x")));
        addRecord("undefined and control bytes", "\"\x81\x8D\x8F\x90\x9D\",\"\x7F\x85\",1,2,3,4,5",
                  MakeRecord(Text("?????"), Text(" …"), Number(1), Number(2), Number(3), Number(4), Number(5)));
        addRecord("end-of-file marker after the fields", example + "\x1A", WorkedExample());
        addRecord("quotes inside unquoted fields", "ab\"c,d\"e,1,2,3,4,5",
                  MakeRecord(Text("ab'c"), Text("d'e"), Number(1), Number(2), Number(3), Number(4), Number(5)));
        addError("only FF bytes", QByteArray(100, '\xFF'), Incomplete);
        addRecord("a number of 400 digits", "1" + QByteArray(400, '0') + ",1,2,3,4,5,6",
                  MakeRecord(Number("1" + std::string(400, '0')), Number(1), Number(2), Number(3),
                             Number(4), Number(5), Number(6)));
    }

    // A damaged Wahl.txt gives a defined record or a SettingsError naming
    // the file, never a crash, a hang or a file read into memory whole.
    void aDamagedFileReadsAsDefinedOrFails()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(SettingsRecord, record);
        QFETCH(QString, error);
        const std::string path = m_dir.wahlPath().toStdString();
        QVERIFY(m_dir.writeWahl(bytes));
        try {
            const SettingsRecord read = ReadSettings(path);
            QVERIFY2(error.isEmpty(), qPrintable("expected an error: " + error));
            QCOMPARE(read, record);
            WriteSettings(path, read);
            QCOMPARE(ReadSettings(path), record);
        } catch (const SettingsError &failure) {
            QCOMPARE(QString::fromUtf8(failure.what()),
                     "Die Datei „" + QString::fromStdString(path) + "“ " + error);
        }
    }
};

QTEST_APPLESS_MAIN(TestMalformed)
#include "test_malformed.moc"
