#include "storage/settingsformat.h"
#include "support/callresults.h"
#include "support/environmentlocale.h"
#include "support/settingsrecords.h"

#include <QTest>

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(UseEnvironmentLocale(), QString()); }

    void numbersAreWrittenInPlainDecimalDigits_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("twelve") << "12" << "12";
        QTest::newRow("twelve and a half") << "12.5" << "12.5";
        QTest::newRow("minus three") << "-3" << "-3";
        QTest::newRow("zero") << "0" << "0";
        QTest::newRow("minus zero") << "-0" << "0";
        QTest::newRow("minus zero with a fraction of zeros") << "-0.000" << "0";
        QTest::newRow("a tenth") << "0.1" << "0.1";
        QTest::newRow("quarter below zero") << "-0.25" << "-0.25";
        QTest::newRow("large whole") << "1000000000000000000000" << "1000000000000000000000";
        QTest::newRow("million with fraction") << "1234567.25" << "1234567.25";
        QTest::newRow("leading zeros") << "007" << "7";
        QTest::newRow("trailing zeros") << "12.500" << "12.5";
        QTest::newRow("whole with a point") << "12.0" << "12";
        QTest::newRow("beyond a double") << "99999999999999999999" << "99999999999999999999";
        QTest::newRow("23 digits") << "12345678901234567890123" << "12345678901234567890123";
        QTest::newRow("nineteen nines after the point") << "12.9999999999999999999" << "12.9999999999999999999";
        QTest::newRow("400 digits") << "1" + QString(399, '0') << "1" + QString(399, '0');
    }

    // A number in the file has no exponent, no decimal comma, no leading
    // zeros, no trailing zeros after the point and, when whole, no point,
    // whatever the locale; its digits are kept exactly, however many.
    void numbersAreWrittenInPlainDecimalDigits()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(QString::fromStdString(Number(value.toStdString()).displayText()), written);
        SettingsRecord record;
        record.entries[0].score = Number(value.toStdString());
        QCOMPARE(QString::fromStdString(FormatSettings(record, "Wahl.txt")), "\r\n" + written + ",\r\n,\r\n,\r\n");
    }

    void onlyThePlainDecimalFormIsANumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<QString>("value");
        QTest::newRow("12") << "12" << true << "12";
        QTest::newRow("-3") << "-3" << true << "-3";
        QTest::newRow("0") << "0" << true << "0";
        QTest::newRow("leading zeros") << "007" << true << "7";
        QTest::newRow("12.5") << "12.5" << true << "12.5";
        QTest::newRow("-0.25") << "-0.25" << true << "-0.25";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("sign alone") << "-" << false << "";
        QTest::newRow("point without fraction") << "12." << false << "";
        QTest::newRow("fraction without integer") << ".5" << false << "";
        QTest::newRow("plus sign") << "+5" << false << "";
        QTest::newRow("exponent") << "1e5" << false << "";
        QTest::newRow("decimal comma") << "12,5" << false << "";
        QTest::newRow("leading blank") << " 12" << false << "";
        QTest::newRow("trailing blank") << "12 " << false << "";
        QTest::newRow("two points") << "1.2.3" << false << "";
        QTest::newRow("two signs") << "--1" << false << "";
        QTest::newRow("hexadecimal") << "0x1A" << false << "";
        QTest::newRow("infinity") << "inf" << false << "";
        QTest::newRow("not a number") << "nan" << false << "";
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << false << "";
        QTest::newRow("beyond a double") << "1" + QString(400, '0') << true << "1" + QString(400, '0');
    }

    // Only an optional "-", digits and an optional "." with digits make a
    // number; everything else in an unquoted field is a text.
    void onlyThePlainDecimalFormIsANumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(QString, value);
        const std::optional<std::string> parsed = CanonicalDecimal(text.toStdString());
        QCOMPARE(parsed.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(QString::fromStdString(*parsed), value);
    }

    // A number written to the file reads back as exactly the same number.
    void everyWrittenNumberReadsBackUnchanged()
    {
        const char *values[] = {"0.30000000000000004", "0.3333333333333333333333333333", "-2",
                                "99999999999999999999", "12345678901234567890123", "12.9999999999999999999",
                                "-0.0000000000000000000000000001", "4503599627370497"};
        for (const char *value : values) {
            SettingsRecord record;
            record.entries[1].score = Number(value);
            const std::string written = FormatSettings(record, "Wahl.txt");
            QVERIFY2(written.find_first_of("eE") == std::string::npos, written.c_str());
            QCOMPARE(ParseSettings(written, "Wahl.txt").entries[1].score, Number(value));
            QCOMPARE(ParseSettings(written, "Wahl.txt").entries[1].score.displayText(), std::string(value));
        }
    }

    void decimalsCompareExactly_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("a hair below thirteen") << "12.9999999999999999999" << "13" << -1;
        QTest::newRow("twenty nines and one more") << "99999999999999999999" << "100000000000000000000" << -1;
        QTest::newRow("equal") << "26" << "26" << 0;
        QTest::newRow("longer whole part") << "100" << "99.99" << 1;
        QTest::newRow("fraction digit by digit") << "12.5" << "12.45" << 1;
        QTest::newRow("whole below its fraction") << "12" << "12.5" << -1;
        QTest::newRow("below zero") << "-1" << "0" << -1;
        QTest::newRow("two below zero") << "-2" << "-1" << -1;
        QTest::newRow("negative fractions") << "-12.5" << "-12" << -1;
        QTest::newRow("400 digits") << "1" + QString(400, '0') << QString(400, '9') << 1;
    }

    // Numbers compare by their exact decimal value, beyond what a double holds.
    void decimalsCompareExactly()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const int forward = CompareDecimals(a.toStdString(), b.toStdString());
        const int backward = CompareDecimals(b.toStdString(), a.toStdString());
        QCOMPARE((forward > 0) - (forward < 0), order);
        QCOMPARE((backward > 0) - (backward < 0), -order);
    }

    // A field keeps its form: a number and a text of the same digits differ,
    // and each shows its plain text in a label.
    void aFieldKeepsItsFormAndShowsPlainText()
    {
        QCOMPARE(FieldValue().displayText(), std::string());
        QCOMPARE(Number(12).displayText(), std::string("12"));
        QCOMPARE(Number("12.5").displayText(), std::string("12.5"));
        QCOMPARE(Text("14").displayText(), std::string("14"));
        QCOMPARE(Text("Fuchs").displayText(), std::string("Fuchs"));
        QVERIFY(Number(14) != Text("14"));
        QVERIFY(Number(14) == Number("014.0"));
        QVERIFY(Text("") != FieldValue());
        QVERIFY(FieldValue().isEmpty());
        QCOMPARE(Text("").kind(), FieldValue::Kind::Text);
    }

    // A file holds only plain decimals, so nothing else can enter a number
    // field; the refusal is German and quotes the value at most 40
    // characters long.
    void aFieldRefusesANumberThatCannotBeWritten()
    {
        QCOMPARE(QString::fromStdString(ErrorOf([] { FieldValue::number("inf"); })), "„inf“ ist keine Zahl.");
        QCOMPARE(QString::fromStdString(ErrorOf([] { FieldValue::number("1e5"); })), "„1e5“ ist keine Zahl.");
        QCOMPARE(QString::fromStdString(ErrorOf([] { FieldValue::number(std::string(1 << 20, 'x')); })),
                 "„" + QString(40, 'x') + "…“ ist keine Zahl.");
    }

    void messagesQuoteAtMostFortyCharacters_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("short") << "viele" << "„viele“";
        QTest::newRow("empty") << "" << "„“";
        QTest::newRow("forty") << QString(40, 'a') << "„" + QString(40, 'a') + "“";
        QTest::newRow("forty-one") << QString(41, 'a') << "„" + QString(40, 'a') + "…“";
        QTest::newRow("umlauts count once") << QString(45, QChar(0xE4)) << "„" + QString(40, QChar(0xE4)) + "…“";
        QTest::newRow("one MiB") << QString(1 << 20, 'x') << "„" + QString(40, 'x') + "…“";
    }

    // A message quotes at most 40 characters of a bad value, then "…", and
    // never cuts a character in two.
    void messagesQuoteAtMostFortyCharacters()
    {
        QFETCH(QString, value);
        QFETCH(QString, quoted);
        QCOMPARE(QString::fromStdString(QuoteForMessage(value.toStdString())), quoted);
    }
};

QTEST_APPLESS_MAIN(TestDecimal)
#include "test_decimal.moc"
