#include "testsupport.h"

#include <cfloat>
#include <cmath>
#include <limits>

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString problem = UseEnvironmentLocale();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void numbersAreWrittenInPlainDecimalDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("twelve") << 12.0 << "12";
        QTest::newRow("twelve and a half") << 12.5 << "12.5";
        QTest::newRow("minus three") << -3.0 << "-3";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("minus zero") << -0.0 << "0";
        QTest::newRow("a tenth") << 0.1 << "0.1";
        QTest::newRow("quarter below zero") << -0.25 << "-0.25";
        QTest::newRow("large whole") << 1e21 << "1000000000000000000000";
        QTest::newRow("million with fraction") << 1234567.25 << "1234567.25";
    }

    // A number in the file has no exponent, no decimal comma and, when
    // whole, no decimal point, whatever the locale.
    void numbersAreWrittenInPlainDecimalDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, written);
        QCOMPARE(QString::fromStdString(FormatDecimal(value)), written);
    }

    void onlyThePlainDecimalFormIsANumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("12") << "12" << true << 12.0;
        QTest::newRow("-3") << "-3" << true << -3.0;
        QTest::newRow("0") << "0" << true << 0.0;
        QTest::newRow("leading zeros") << "007" << true << 7.0;
        QTest::newRow("12.5") << "12.5" << true << 12.5;
        QTest::newRow("-0.25") << "-0.25" << true << -0.25;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("sign alone") << "-" << false << 0.0;
        QTest::newRow("point without fraction") << "12." << false << 0.0;
        QTest::newRow("fraction without integer") << ".5" << false << 0.0;
        QTest::newRow("plus sign") << "+5" << false << 0.0;
        QTest::newRow("exponent") << "1e5" << false << 0.0;
        QTest::newRow("decimal comma") << "12,5" << false << 0.0;
        QTest::newRow("leading blank") << " 12" << false << 0.0;
        QTest::newRow("trailing blank") << "12 " << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("two signs") << "--1" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x1A" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
        QTest::newRow("not a number") << "nan" << false << 0.0;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << false << 0.0;
        QTest::newRow("out of range") << "1" + QString(400, '0') << false << 0.0;
    }

    // Only an optional "-", digits and an optional "." with digits make a
    // number; everything else in an unquoted field is a text.
    void onlyThePlainDecimalFormIsANumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const std::optional<double> parsed = ParseDecimal(text.toStdString());
        QCOMPARE(parsed.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*parsed, value);
    }

    // A number written to the file reads back as exactly the same number.
    void everyWrittenNumberReadsBackUnchanged()
    {
        const double values[] = {0.1 + 0.2,       1.0 / 3.0,      -2.0 / 3.0, 1e300,      DBL_MAX,
                                 -DBL_MAX,        DBL_MIN,        1e-300,     123456789.0, 4503599627370497.0,
                                 std::nextafter(1.0, 2.0)};
        for (const double value : values) {
            const std::string written = FormatDecimal(value);
            QVERIFY2(written.find_first_of("eE,") == std::string::npos, written.c_str());
            const std::optional<double> read = ParseDecimal(written);
            QVERIFY2(read.has_value(), written.c_str());
            QCOMPARE(*read, value);
        }
    }

    // A field keeps its form: a number and a text of the same digits differ,
    // and each shows its plain text in a label.
    void aFieldKeepsItsFormAndShowsPlainText()
    {
        QCOMPARE(FieldValue().displayText(), std::string());
        QCOMPARE(Number(12).displayText(), std::string("12"));
        QCOMPARE(Number(12.5).displayText(), std::string("12.5"));
        QCOMPARE(Text("14").displayText(), std::string("14"));
        QCOMPARE(Text("Fuchs").displayText(), std::string("Fuchs"));
        QVERIFY(Number(14) != Text("14"));
        QVERIFY(Text("") != FieldValue());
        QVERIFY(FieldValue().isEmpty());
        QCOMPARE(Text("").kind(), FieldValue::Kind::Text);
    }

    // A file holds only finite numbers, so none other can enter a field.
    void aFieldRefusesANumberThatCannotBeWritten()
    {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 FieldValue::number(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 FieldValue::number(std::numeric_limits<double>::infinity()));
    }
};

QTEST_APPLESS_MAIN(TestDecimal)
#include "test_decimal.moc"
