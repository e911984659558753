#include "support/mainwindowfixture.h"
#include "support/trywait.h"
#include "ui/high.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

// Level "Profi"; Anfänger 12 by Maus, Fortgeschrittener "14" (quoted) by
// Jörg, Profi 0 with an empty name.
const QByteArray StoredRecords =
    wahlFile({"\"Profi\"", "12,\"Maus\"", "\"14\",\"J\xf6rg\"", "0,"});

High *openHighScores(MainWindowFixture &f)
{
    f.control<QAction>("mnuHigh")->trigger();
    return f.window->toolkit().highScores();
}

QStringList shownRecords(const High *high)
{
    QStringList texts;
    for (const char *name : {"PAn", "NAn", "PFo", "NFo", "PPr", "NPr"})
        texts << high->findChild<QLabel *>(QString::fromLatin1(name))->text();
    return texts;
}

} // namespace

class TestHighScores : public QObject
{
    Q_OBJECT

private slots:
    void itShowsEachRecordAsStored();
    void choosingItAgainOnlyRaisesTheOpenWindow();
    void theWindowHasItsSizeColoursAndNoOwner();
    void theLabelsStandWhereTheLayoutPutsThem_data();
    void theLabelsStandWhereTheLayoutPutsThem();
    void closingTheMainWindowLeavesItOpen();
    void aTooWideRecordEndsInAnEllipsisAtTheLabelsEdge_data();
    void aTooWideRecordEndsInAnEllipsisAtTheLabelsEdge();
};

// Score left, name right, exactly as the file holds them; the game goes on.
void TestHighScores::itShowsEachRecordAsStored()
{
    MainWindowFixture f(StoredRecords);
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    High *high = openHighScores(f);
    QVERIFY(high);
    QVERIFY(QTest::qWaitForWindowExposed(high));
    QCOMPARE(shownRecords(high), (QStringList{"12", "Maus", "14", QStringLiteral("Jörg"), "0", ""}));
    QVERIFY(f.timerActive("TimerZ") && f.timerActive("TimerB"));
    // A file removed meanwhile holds no records yet.
    high->close();
    QVERIFY(QFile::remove(f.wahlPath()));
    HOPSALA_TRY_COMPARE(shownRecords(openHighScores(f)), QStringList(6, QString()));
}

// An open High is only raised, not read again; a closed one is made anew.
void TestHighScores::choosingItAgainOnlyRaisesTheOpenWindow()
{
    MainWindowFixture f(StoredRecords);
    QVERIFY(f.start());
    High *first = openHighScores(f);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    const QStringList before = shownRecords(first);
    QVERIFY(f.writeWahl(DefaultWahl));
    QCOMPARE(openHighScores(f), first);
    QCOMPARE(shownRecords(first), before);
    QCOMPARE(f.window->findChildren<High *>().size(), 0);
    int open = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        open += window->objectName() == QStringLiteral("High") ? 1 : 0;
    QCOMPARE(open, 1);

    QPointer<High> closed(first);
    first->close();
    HOPSALA_TRY_VERIFY(closed.isNull());
    High *second = openHighScores(f);
    QVERIFY(second);
    QCOMPARE(shownRecords(second), (QStringList{"0", "unbekannt", "0", "unbekannt", "0", "unbekannt"}));
}

// High: 3765 x 2310 twips of blue, modeless, owned by nobody, labels made bottom up.
void TestHighScores::theWindowHasItsSizeColoursAndNoOwner()
{
    MainWindowFixture f(StoredRecords);
    QVERIFY(f.start());
    High *high = openHighScores(f);
    QVERIFY(QTest::qWaitForWindowExposed(high));
    QCOMPARE(high->objectName(), QStringLiteral("High"));
    QCOMPARE(high->windowTitle(), QStringLiteral("Highscore"));
    QCOMPARE(high->size(), QSize(251, 154));
    QVERIFY(!high->parent());
    QVERIFY(high->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!high->isModal());
    QCOMPARE(high->grab().toImage().pixelColor(240, 150), QColor(0, 0, 255));
    QStringList created;
    for (QObject *child : high->children())
        created << child->objectName();
    QCOMPARE(created, (QStringList{"NPr", "NFo", "NAn", "PPr", "Label5", "PFo", "Label3", "PAn",
                                   "Label1"}));
}

void TestHighScores::theLabelsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("pointSize");
    QTest::newRow("Label1") << "Label1" << QRect(8, 8, 105, 17) << "Anfänger" << 9.75;
    QTest::newRow("PAn") << "PAn" << QRect(8, 32, 105, 17) << "12" << 8.25;
    QTest::newRow("NAn") << "NAn" << QRect(136, 32, 105, 17) << "Maus" << 8.25;
    QTest::newRow("Label3") << "Label3" << QRect(8, 56, 121, 17) << "Fortgeschrittener" << 9.75;
    QTest::newRow("PFo") << "PFo" << QRect(8, 80, 105, 17) << "14" << 8.25;
    QTest::newRow("NFo") << "NFo" << QRect(136, 80, 105, 17) << "Jörg" << 8.25;
    QTest::newRow("Label5") << "Label5" << QRect(8, 104, 105, 17) << "Profi" << 9.75;
    QTest::newRow("PPr") << "PPr" << QRect(8, 128, 105, 17) << "0" << 8.25;
    QTest::newRow("NPr") << "NPr" << QRect(136, 128, 105, 17) << "" << 8.25;
}

// Titles may widen to their words; scores and names keep their size.
void TestHighScores::theLabelsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(double, pointSize);
    MainWindowFixture f(StoredRecords);
    QVERIFY(f.start());
    High *high = openHighScores(f);
    auto *label = high->findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), geometry.topLeft());
    QCOMPARE(label->height(), geometry.height());
    if (name.startsWith(QStringLiteral("Label")))
        QVERIFY(label->width() >= geometry.width() && label->geometry().right() < 251);
    else
        QCOMPARE(label->width(), geometry.width());
    QCOMPARE(label->minimumSize(), label->maximumSize());
    QCOMPARE(label->font().families().value(0), QStringLiteral("MS Sans Serif"));
    QCOMPARE(label->font().pointSizeF(), pointSize);
    QVERIFY(label->font().bold());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

// High has no owner: it outlives a closed main window.
void TestHighScores::closingTheMainWindowLeavesItOpen()
{
    MainWindowFixture f(StoredRecords);
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QPointer<High> high = openHighScores(f);
    QVERIFY(QTest::qWaitForWindowExposed(high));
    QVERIFY(f.window->close());
    QVERIFY(!f.window->isVisible());
    QVERIFY(!f.timerActive("TimerZ") && !f.timerActive("TimerB"));
    QVERIFY(high && high->isVisible());
}

void TestHighScores::aTooWideRecordEndsInAnEllipsisAtTheLabelsEdge_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("score") << "PAn" << QRect(8, 32, 105, 17) << "123456789012345678901234567890"
                           << QStringLiteral("Anfänger, Doppelklicks");
    QTest::newRow("name") << "NAn" << QRect(136, 32, 105, 17)
                          << QStringLiteral("Maximiliane Müller-Lüdenscheidt")
                          << QStringLiteral("Anfänger, Name");
}

// A score or name wider than its label is shown up to "…" at the label's
// edge, never cut inside a letter; the label keeps its place and size, and
// the whole text stays what it reads back and what screen readers say.
void TestHighScores::aTooWideRecordEndsInAnEllipsisAtTheLabelsEdge()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, meaning);
    MainWindowFixture f(wahlFile({"\"Profi\"",
                                  "\"123456789012345678901234567890\","
                                  "\"Maximiliane M\xfcller-L\xfc" "denscheidt\"",
                                  "0,\"unbekannt\"", "0,\"unbekannt\""}));
    QVERIFY(f.start());
    High *high = openHighScores(f);
    QVERIFY(QTest::qWaitForWindowExposed(high));
    auto *label = high->findChild<QLabel *>(name);
    QCOMPARE(label->geometry(), geometry);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->accessibleName(), meaning + QStringLiteral(": ") + text);
    QVERIFY(label->fontMetrics().horizontalAdvance(text) > label->width());

    // What a plain label in the same place shows for the shortened text.
    const QString shortened =
        label->fontMetrics().elidedText(text, Qt::ElideRight, label->contentsRect().width());
    QVERIFY(shortened.endsWith(QChar(0x2026)));
    QLabel expected(shortened, high);
    expected.setGeometry(label->geometry());
    expected.setFont(label->font());
    expected.setAlignment(label->alignment());
    QCOMPARE(label->grab().toImage(), expected.grab().toImage());
}

QTEST_MAIN(TestHighScores)
#include "test_highscores.moc"
