#include "support/mainwindowfixture.h"
#include "support/modalanswerer.h"
#include "support/trywait.h"
#include "ui/ballimage.h"
#include "ui/captionlabel.h"
#include "ui/lineshape.h"

#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void thePicturesAreBuiltIntoTheProgram_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("ball") << ":/ball.bmp" << QSize(50, 50);
        QTest::newRow("ball@2x") << ":/ball@2x.bmp" << QSize(100, 100);
        for (int size : {16, 32, 48, 64, 128})
            QTest::addRow("icon%d", size) << QStringLiteral(":/icon%1.png").arg(size) << QSize(size, size);
    }

    // The program carries its pictures inside; nothing but Wahl.txt lies beside it.
    void thePicturesAreBuiltIntoTheProgram()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QImageReader reader(path);
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        QCOMPARE(reader.size(), size);
    }

    // The client area is 4680 x 3090 twips in cyan, under the window's own title.
    void theWindowHasItsTitleClientSizeAndCyanBackground()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        Hopsala &w = *f.window;
        QCOMPARE(w.objectName(), QStringLiteral("Hopsala"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Hopsala"));
        // The icon follows the first frame.
        HOPSALA_TRY_VERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.centralWidget()->size(), QSize(312, 206));
        QVERIFY(w.centralWidget()->autoFillBackground());
        QCOMPARE(w.centralWidget()->palette().color(QPalette::Window), QColor(0, 255, 255));
        QCOMPARE(w.centralWidget()->grab().toImage().pixelColor(300, 200), QColor(0, 255, 255));
    }

    // Qt's own texts (the name field's context menu, standard buttons) read
    // German in every box the window opens; they come in with its first box,
    // which an idle window does without.
    void qtsOwnTextsTurnGermanWithTheFirstBox()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo").remove(u'&'), QStringLiteral("Undo"));
        ModalAnswerer answerer;
        f.window->toolkit().messageBox("Ende! Es wurden 0 Doppelklicks geschafft. Fehler:0");
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo").remove(u'&'), QString::fromUtf8("Rückgängig"));
    }

    void theControlsStandWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::newRow("lblZeit") << "lblZeit" << QRect(8, 8, 41, 25) << "";
        QTest::newRow("cmdLos") << "cmdLos" << QRect(8, 40, 49, 25) << "Los";
        QTest::newRow("lblPunkte") << "lblPunkte" << QRect(8, 96, 41, 25) << "";
        QTest::newRow("lblPunkte2") << "lblPunkte2" << QRect(8, 152, 41, 25) << "";
        QTest::newRow("Ball") << "Ball" << QRect(152, 80, 50, 50) << "";
    }

    // Every control at its twips position, at 15 twips to the pixel, with its caption.
    void theControlsStandWhereTheLayoutPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        MainWindowFixture f;
        QVERIFY(f.start());
        QWidget *control = f.control(name.toLatin1().constData());
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), f.window->centralWidget());
        QCOMPARE(control->geometry(), geometry);
        QVERIFY(control->isVisible());
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), text);
        if (auto *button = qobject_cast<QPushButton *>(control))
            QCOMPARE(button->text(), text);
    }

    // The captions keep place and height; they widen only as far as their words
    // need, never reach Line1 at x = 88 and are drawn narrower where even that
    // is too little. They keep the window's font: a second one would cost a
    // font match before the first frame.
    void theCaptionsShowWholeAndStayLeftOfLine1()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        const struct { const char *name; const char *text; QRect design; } captions[] = {
            {"Label2", "Doppelklicks", {8, 72, 57, 17}},
            {"Label3", "Normale Klicks", {8, 128, 73, 17}},
        };
        for (const auto &c : captions) {
            auto *label = f.control<CaptionLabel>(c.name);
            QCOMPARE(label->text(), QString::fromLatin1(c.text));
            QCOMPARE(label->pos(), c.design.topLeft());
            QCOMPARE(label->height(), c.design.height());
            QVERIFY(label->width() >= c.design.width());
            QVERIFY(label->geometry().right() < 88);
            QVERIFY(label->condensation() * label->fontMetrics().horizontalAdvance(label->text())
                    <= label->width());
            QCOMPARE(label->font(), QApplication::font(label));
        }
        QCOMPARE(f.control<CaptionLabel>("Label2")->condensation(),
                 f.control<CaptionLabel>("Label3")->condensation());
    }

    // Labels let the cyan show through, keep their size and start at the top left.
    void labelsAreTransparentFixedAndAlignedTopLeft()
    {
        MainWindowFixture f;
        const QList<QLabel *> labels = f.window->centralWidget()->findChildren<QLabel *>();
        QCOMPARE(labels.size(), 5);
        for (QLabel *label : labels) {
            QVERIFY2(!label->autoFillBackground(), qPrintable(label->objectName()));
            QCOMPARE(label->frameShape(), QFrame::NoFrame);
            QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
            QCOMPARE(label->minimumSize(), label->maximumSize());
            QVERIFY(!label->wordWrap());
        }
    }

    // The three counters ask for bold "MS Sans Serif" at 9.75 pt; the rest keeps the default.
    void valueLabelsAskForBoldMsSansSerif()
    {
        MainWindowFixture f;
        for (const char *name : {"lblZeit", "lblPunkte", "lblPunkte2"}) {
            const QFont font = f.control(name)->font();
            QCOMPARE(font.families().value(0), QStringLiteral("MS Sans Serif"));
            QCOMPARE(font.styleHint(), QFont::SansSerif);
            QCOMPARE(font.pointSizeF(), 9.75);
            QVERIFY(font.bold());
        }
        QWidget *cmdLos = f.control("cmdLos");
        QCOMPARE(cmdLos->font(), QApplication::font(cmdLos));
        QVERIFY(!f.control("Label2")->font().bold());
    }

    // Access keys only on Highscore and Beenden; the marks are plain checks
    // that the game sets one by one, never moved by the menu itself.
    void theMenuHoldsTheLevelsHighscoreAndEnd()
    {
        MainWindowFixture f;
        const QList<QAction *> bar = f.window->menuBar()->actions();
        QCOMPARE(bar.size(), 1);
        QMenu *mnuDatei = bar.first()->menu();
        QCOMPARE(mnuDatei->objectName(), QStringLiteral("mnuDatei"));
        QCOMPARE(mnuDatei->title(), QStringLiteral("Datei"));
        const struct { const char *name; QString text; bool checkable; bool checked; } expected[] = {
            {"mnuAnf", QStringLiteral("Anfänger"), true, true},
            {"mnuFor", QStringLiteral("Fortgeschrittener"), true, false},
            {"mnuPro", QStringLiteral("Profi"), true, false},
            {"mnuHigh", QStringLiteral("&Highscore"), false, false},
            {"Strich1", QString(), false, false},
            {"mnuEnd", QStringLiteral("&Beenden"), false, false},
        };
        const QList<QAction *> items = mnuDatei->actions();
        QCOMPARE(items.size(), 6);
        for (qsizetype i = 0; i < items.size(); ++i) {
            QAction *item = items[i];
            QCOMPARE(item->objectName(), QString::fromLatin1(expected[i].name));
            QCOMPARE(item->isSeparator(), i == 4);
            QCOMPARE(item->text(), expected[i].text);
            QCOMPARE(item->isCheckable(), expected[i].checkable);
            QCOMPARE(item->isChecked(), expected[i].checked);
            QVERIFY(item->shortcut().isEmpty());
            QVERIFY(item->isEnabled() && item->isVisible());
            QVERIFY(!item->actionGroup());
        }
        f.window->toolkit().setChecked(Toolkit::MenuItem::mnuPro, true);
        QVERIFY(f.window->toolkit().isChecked(Toolkit::MenuItem::mnuAnf));
        QVERIFY(f.window->toolkit().isChecked(Toolkit::MenuItem::mnuPro));
    }

    // Nothing ticks before a game; both timers share one precise 16 ms period,
    // which TimerB keeps against the monotonic clock.
    void bothTimersStartDisabledWithOnePrecisePeriod()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        auto *timerZ = f.control<QTimer>("TimerZ");
        QVERIFY(timerZ);
        QVERIFY(!timerZ->isActive());
        QCOMPARE(timerZ->interval(), Hopsala::TickMilliseconds);
        QCOMPARE(timerZ->timerType(), Qt::PreciseTimer);
        auto *timerB = f.control<SteadyTimer>("TimerB");
        QVERIFY(timerB);
        QVERIFY(!timerB->isActive());
        QCOMPARE(timerB->period(), std::chrono::milliseconds(Hopsala::TickMilliseconds));
        QCOMPARE(Hopsala::TickMilliseconds, 16);
    }

    void theBallHoldsItsPositionExactlyAndShowsAtTheNearestPixel_data()
    {
        QTest::addColumn<float>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("2288") << 2288.0f << 153;
        QTest::newRow("2287.4") << 2287.4f << 152;
        QTest::newRow("1312.5") << 1312.5f << 88;
        QTest::newRow("-10") << -10.0f << -1;
    }

    // A position reads back exactly as written and shows at the nearest pixel.
    void theBallHoldsItsPositionExactlyAndShowsAtTheNearestPixel()
    {
        QFETCH(float, twips);
        QFETCH(int, pixels);
        MainWindowFixture f;
        Toolkit &toolkit = f.window->toolkit();
        QCOMPARE(toolkit.ballLeft(), 2280.0f);
        QCOMPARE(toolkit.ballTop(), 1200.0f);
        QCOMPARE(toolkit.ballWidth(), 750.0f);
        QCOMPARE(toolkit.ballHeight(), 750.0f);
        toolkit.setBallLeft(twips);
        toolkit.setBallTop(twips);
        QCOMPARE(toolkit.ballLeft(), twips);
        QCOMPARE(toolkit.ballTop(), twips);
        QCOMPARE(f.control("Ball")->pos(), QPoint(pixels, pixels));
    }

    void theBallIsDrawnFromThePictureForThePixelRatio_data()
    {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<QString>("picture");
        QTest::newRow("1") << 1 << ":/ball.bmp";
        QTest::newRow("2") << 2 << ":/ball@2x.bmp";
    }

    // Pixel for pixel, neither scaled nor stretched.
    void theBallIsDrawnFromThePictureForThePixelRatio()
    {
        QFETCH(int, ratio);
        QFETCH(QString, picture);
        MainWindowFixture f;
        QImage drawn(50 * ratio, 50 * ratio, QImage::Format_RGB32);
        drawn.setDevicePixelRatio(ratio);
        f.control("Ball")->render(&drawn);
        QImage expected = QImage(picture).convertToFormat(QImage::Format_RGB32);
        expected.setDevicePixelRatio(ratio);
        QCOMPARE(drawn, expected);
    }

    // Form_Resize keeps the lower end of Line1 at the window's outer height,
    // frame and menu bar included; the line stays at x = 1320 behind the ball.
    void line1FollowsTheOuterHeightBehindTheBall()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        Toolkit &toolkit = f.window->toolkit();
        auto *line = f.control<LineShape>("Line1");
        const int menuHeight = f.window->menuBar()->height();
        QVERIFY(toolkit.windowOuterHeight() >= float((206 + menuHeight) * 15));
        QVERIFY(toolkit.windowOuterWidth() >= 312.0f * 15);
        QCOMPARE(line->y2(), toolkit.windowOuterHeight());
        QCOMPARE(toolkit.lineX1(), 1320.0f);
        QCOMPARE(line->geometry().left(), 88);
        QCOMPARE(line->width(), 1);
        QVERIFY(line->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QObjectList stack = f.window->centralWidget()->children();
        QVERIFY(stack.indexOf(line) < stack.indexOf(f.control("Ball")));

        f.window->resize(f.window->width() + 40, f.window->height() + 60);
        HOPSALA_TRY_COMPARE(line->y2(), toolkit.windowOuterHeight());
        QCOMPARE(line->x1(), 1320.0f);
        QCOMPARE(f.control("Ball")->pos(), QPoint(152, 80));
        const QImage client = f.window->centralWidget()->grab().toImage();
        QCOMPARE(client.pixelColor(88, 250), f.window->palette().color(QPalette::WindowText));
        QCOMPARE(client.pixelColor(87, 250), QColor(0, 255, 255));
        QCOMPARE(client.pixelColor(89, 250), QColor(0, 255, 255));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
