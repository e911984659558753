#include "support/mainwindowfixture.h"
#include "support/trywait.h"
#include "ui/lineshape.h"

#include <QScreen>
#include <QTest>

#include <array>

// Runs on a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2).
class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theWindowIsTwiceAsLargeInDevicePixelsAndKeepsItsTwips();
    void theBallAndTheIconAreDrawnFromTheirLargePictures();
};

void TestHighDpi::initTestCase()
{
    QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
}

// Every logical pixel is two device pixels each way; the game still sees
// the same twips, so the ball bounces exactly as at ratio 1.
void TestHighDpi::theWindowIsTwiceAsLargeInDevicePixelsAndKeepsItsTwips()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    const QImage grabbed = f.window->grab().toImage();
    QCOMPARE(grabbed.devicePixelRatio(), 2.0);
    QCOMPARE(grabbed.size(), f.window->size() * 2);
    QCOMPARE(f.window->centralWidget()->size(), QSize(312, 206));
    Toolkit &toolkit = f.window->toolkit();
    QCOMPARE(toolkit.ballWidth(), 750.0f);
    QCOMPARE(toolkit.windowOuterWidth(), float(f.window->frameGeometry().width() * 15));
    QCOMPARE(f.control<LineShape>("Line1")->y2(), toolkit.windowOuterHeight());
    // Line1, one logical pixel wide at x = 88 of the client area.
    const QPoint line = f.window->centralWidget()->mapTo(f.window.get(), QPoint(88, 150)) * 2;
    const QColor lineColour = f.window->palette().color(QPalette::WindowText);
    QCOMPARE(grabbed.pixelColor(line), lineColour);
    QCOMPARE(grabbed.pixelColor(line + QPoint(1, 0)), lineColour);
    QCOMPARE(grabbed.pixelColor(line + QPoint(2, 0)), QColor(0, 255, 255));
}

// The ball on screen is the 100 x 100 picture pixel for pixel, not the
// small one blown up; the icon comes in the size made for the ratio.
void TestHighDpi::theBallAndTheIconAreDrawnFromTheirLargePictures()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QWidget *ball = f.control("Ball");
    const QImage grabbed = f.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage shown =
        grabbed.copy(QRect(ball->mapTo(f.window.get(), QPoint(0, 0)) * 2, QSize(100, 100)));
    QCOMPARE(shown, QImage(QStringLiteral(":/ball@2x.bmp")).convertToFormat(QImage::Format_RGB32));
    HOPSALA_TRY_VERIFY(!f.window->windowIcon().isNull());
    // Whatever was asked before: Qt 6.8 once answered by the order of requests.
    for (const auto &sizes : {std::array{16, 32, 64}, std::array{64, 32, 16}}) {
        for (int size : sizes) {
            const QImage icon = f.window->windowIcon().pixmap(QSize(size, size), 2.0).toImage();
            QImage expected(QStringLiteral(":/icon%1.png").arg(size * 2));
            expected.setDevicePixelRatio(2);
            QCOMPARE(icon.convertToFormat(QImage::Format_ARGB32),
                     expected.convertToFormat(QImage::Format_ARGB32));
        }
    }
}

QTEST_MAIN(TestHighDpi)
#include "test_highdpi.moc"
