#include "storage/windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    void charactersMapToTheirWindows1252Byte_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("byte");
        QTest::newRow("ä") << QString::fromUtf8("ä") << 0xE4;
        QTest::newRow("Ä") << QString::fromUtf8("Ä") << 0xC4;
        QTest::newRow("ö") << QString::fromUtf8("ö") << 0xF6;
        QTest::newRow("ü") << QString::fromUtf8("ü") << 0xFC;
        QTest::newRow("ß") << QString::fromUtf8("ß") << 0xDF;
        QTest::newRow("no-break space") << QString(QChar(0xA0)) << 0xA0;
        QTest::newRow("ÿ") << QString::fromUtf8("ÿ") << 0xFF;
        // The range 80 to 9F, where Windows-1252 differs from Latin-1.
        const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
        for (int i = 0; i < 32; ++i) {
            if (high[i] != 0)
                QTest::addRow("%X", 0x80 + i) << QString(QChar(high[i])) << 0x80 + i;
        }
    }

    // Every character of the code page is one byte in the file, both ways:
    // "ä" is E4, "€" is 80, "‰" is 89, "Ÿ" is 9F.
    void charactersMapToTheirWindows1252Byte()
    {
        QFETCH(QString, character);
        QFETCH(int, byte);
        const std::string utf8 = character.toStdString();
        const std::string encoded(1, static_cast<char>(byte));
        QCOMPARE(EncodeWindows1252(utf8), encoded);
        QCOMPARE(DecodeWindows1252(encoded), utf8);
    }

    // The level name of the beginner holds the one byte above 7F of the
    // shipped file.
    void anfaengerIsWrittenWithTheByteE4()
    {
        QCOMPARE(EncodeWindows1252("Anfänger"), std::string("Anf\xE4nger"));
        QCOMPARE(DecodeWindows1252("Anf\xE4nger"), std::string("Anfänger"));
    }

    // The five bytes without a character in Windows-1252 read as "?".
    void undefinedBytesDecodeToAQuestionMark()
    {
        for (const char byte : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            QCOMPARE(DecodeWindows1252(std::string(1, byte)), std::string("?"));
    }

    // Every defined byte survives a read and a write unchanged.
    void everyDefinedByteSurvivesDecodingAndEncoding()
    {
        for (int byte = 0; byte < 256; ++byte) {
            if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
                continue;
            const std::string bytes(1, static_cast<char>(byte));
            QCOMPARE(EncodeWindows1252(DecodeWindows1252(bytes)), bytes);
        }
    }

    void unrepresentableTextBecomesQuestionMarks_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("Polish L") << QByteArray("\xC5\x81ukasz") << QByteArray("?ukasz");
        QTest::newRow("CJK") << QByteArray("\xE6\xBC\xA2") << QByteArray("?");
        QTest::newRow("emoji") << QByteArray("a\xF0\x9F\x98\x80z") << QByteArray("a?z");
        QTest::newRow("C1 control") << QByteArray("\xC2\x85") << QByteArray("?");
        QTest::newRow("cut sequence") << QByteArray("a\xC3") << QByteArray("a?");
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QByteArray("??");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArray("???");
        QTest::newRow("beyond Unicode") << QByteArray("\xF4\x90\x80\x80") << QByteArray("????");
        QTest::newRow("lone continuation") << QByteArray("a\x80z") << QByteArray("a?z");
        QTest::newRow("byte FF") << QByteArray("\xFF") << QByteArray("?");
    }

    // A character outside the code page, and each byte of invalid UTF-8, is
    // written as "?".
    void unrepresentableTextBecomesQuestionMarks()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, encoded);
        QCOMPARE(QByteArray::fromStdString(EncodeWindows1252(utf8.toStdString())), encoded);
    }

    void nameRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("normalised");
        QTest::newRow("double quote") << QByteArray("Ma\"us") << QByteArray("Ma'us");
        QTest::newRow("tab") << QByteArray("a\tb") << QByteArray("a b");
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << QByteArray("a  b");
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray("a b");
        QTest::newRow("DEL") << QByteArray("a\x7F") << QByteArray("a ");
        QTest::newRow("C1 NEL") << QByteArray("a\xC2\x85z") << QByteArray("a z");
        QTest::newRow("C1 9F") << QByteArray("\xC2\x9F") << QByteArray(" ");
        QTest::newRow("outside the code page") << QByteArray("\xC5\x81ukasz") << QByteArray("?ukasz");
        QTest::newRow("invalid UTF-8") << QByteArray("J\xF6rg") << QByteArray("J?rg");
        QTest::newRow("German and euro") << QByteArray("J\xC3\xB6rg \xC3\x9F \xE2\x82\xAC")
                                         << QByteArray("J\xC3\xB6rg \xC3\x9F \xE2\x82\xAC");
        QTest::newRow("blanks kept") << QByteArray("  Igel  ") << QByteArray("  Igel  ");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
    }

    // A name cannot hold what would break the file: a double quote becomes
    // an apostrophe, a control character a space, anything outside the code
    // page "?"; everything else stays as typed.
    void nameRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, normalised);
        const std::string once = NormaliseText(text.toStdString());
        QCOMPARE(QByteArray::fromStdString(once), normalised);
        QCOMPARE(NormaliseText(once), once);
    }
};

QTEST_APPLESS_MAIN(TestWindows1252)
#include "test_windows1252.moc"
