// The desktop's bell where no sound server answers: PULSE_SERVER names a
// socket that nobody listens on; or, run so by ctest, where libcanberra
// cannot be loaded. The game must not notice.

#include "platform/steadytimer.h"
#include "support/filebytes.h"
#include "support/recordingbell.h"
#include "support/trywait.h"
#include "support/wahlbytes.h"
#include "support/widgetinput.h"
#include "ui/hopsala.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

// A unix socket file whose server has gone: connecting is refused at once.
bool makeDeadSocket(const QString &path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const bool bound = bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

} // namespace

class TestSoundlessBell : public QObject
{
    Q_OBJECT

private slots:
    void withoutASoundServerTheGameRunsOnAndTheWindowSystemBellSounds();
};

// With the sound server gone, double clicks still count at once, TimerB
// keeps ticking, the window system's bell takes the beeps over, and nothing
// reports an error or ends the program.
void TestSoundlessBell::withoutASoundServerTheGameRunsOnAndTheWindowSystemBellSounds()
{
    QTemporaryDir directory(QStringLiteral("/tmp/hopsala-nosound-XXXXXX"));
    const QString socketPath = directory.filePath(QStringLiteral("native"));
    QVERIFY(makeDeadSocket(socketPath));
    // No server of the machine and none spawned for the test.
    QFile config(directory.filePath(QStringLiteral("client.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("autospawn = no\n");
    config.close();
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(config.fileName()));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socketPath));
    QVERIFY(putFileBytes(directory.filePath(QStringLiteral("Wahl.txt")), DefaultWahl));

    auto ownWindowSystemBell = std::make_unique<RecordingBell>();
    const RecordingBell &windowSystemBell = *ownWindowSystemBell;
    int terminations = 0;
    Hopsala window({.settingsPlace = {directory.path().toStdString()},
                    .windowSystemBell = std::move(ownWindowSystemBell),
                    .terminate = [&] { ++terminations; }});
    window.load();
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *timerB = window.findChild<SteadyTimer *>(QStringLiteral("TimerB"));
    std::vector<qint64> ticks;
    QElapsedTimer clock;
    clock.start();
    connect(timerB, &SteadyTimer::timeout, this, [&] { ticks.push_back(clock.elapsed()); });
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      centreInWindow(window.findChild<QPushButton *>(QStringLiteral("cmdLos"))));
    const auto *ball = window.findChild<QWidget *>(QStringLiteral("Ball"));
    const auto *lblPunkte = window.findChild<QLabel *>(QStringLiteral("lblPunkte"));
    for (int count = 1; count <= 3; ++count) {
        // Apart from the last double click, so that the two never pair up.
        const qint64 after = clock.elapsed() + 450;
        HOPSALA_TRY_VERIFY(!ticks.empty() && ticks.back() > after);
        QElapsedTimer handling;
        handling.start();
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, centreInWindow(ball));
        // A hang guard: a beep that waited for the sound layer would show here.
        QVERIFY2(handling.elapsed() < 1000, qPrintable(QString::number(handling.elapsed())));
        QCOMPARE(lblPunkte->text(), QString::number(count));
    }
    HOPSALA_TRY_VERIFY(windowSystemBell.rings >= 1);
    const std::size_t ticked = ticks.size();
    HOPSALA_TRY_VERIFY(ticks.size() > ticked + 20);
    std::vector<qint64> gaps(ticks.size());
    std::adjacent_difference(ticks.begin(), ticks.end(), gaps.begin());
    // A guard again, far above the 16 ms period: no tick waited for the bell.
    QVERIFY2(*std::max_element(gaps.begin() + 1, gaps.end()) < 500,
             qPrintable(QString::number(*std::max_element(gaps.begin() + 1, gaps.end()))));
    QVERIFY(timerB->isActive());
    QCOMPARE(terminations, 0);
    QVERIFY(QApplication::topLevelWidgets().size() >= 1);
    for (QWidget *shown : QApplication::topLevelWidgets())
        QVERIFY2(shown == &window || !shown->isVisible(), qPrintable(shown->objectName()));
}

QTEST_MAIN(TestSoundlessBell)
#include "test_soundlessbell.moc"
