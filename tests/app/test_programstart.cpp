#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

// A socket file that nobody listens on any more, as a compositor leaves
// behind when it dies.
bool makeDeadSocket(const QString &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    if (name.size() >= static_cast<int>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0
        && bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return bound;
}

// An X display number that no server on this machine serves.
QString unservedDisplay()
{
    for (int number = 1000;; ++number) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            return QStringLiteral(":%1").arg(number);
    }
}

struct Run
{
    QProcess::ExitStatus exitStatus;
    int exitCode;
    QString errors;
};

// Hopsala1 started with only the given session variables, bounded in time.
Run runProgram(const QStringList &variables, const QString &runtimeDirectory)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDirectory);
    for (const QString &variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(HOPSALA_PROGRAM), {});
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return {QProcess::CrashExit, -1, QStringLiteral("did not end within 30 s")};
    }
    return {program.exitStatus(), program.exitCode(), QString::fromUtf8(program.readAllStandardError())};
}

} // namespace

class TestProgramStart : public QObject
{
    Q_OBJECT

private slots:
    void withoutAReachableDisplayTheProgramSaysSoInGermanAndEndsWithStatusOne_data();
    void withoutAReachableDisplayTheProgramSaysSoInGermanAndEndsWithStatusOne();

private:
    QTemporaryDir m_runtime;
};

void TestProgramStart::withoutAReachableDisplayTheProgramSaysSoInGermanAndEndsWithStatusOne_data()
{
    QVERIFY(m_runtime.isValid());
    const QString deadSocket = m_runtime.filePath(QStringLiteral("wayland-dead"));
    QVERIFY(makeDeadSocket(deadSocket));
    const QString display = QStringLiteral("DISPLAY=") + unservedDisplay();
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("explanation");
    QTest::newRow("no display named") << QStringList{} << "weder DISPLAY noch WAYLAND_DISPLAY";
    QTest::newRow("an X display without a server") << QStringList{display} << "grafischen Sitzung";
    QTest::newRow("an X display without a server, through xcb")
        << QStringList{display, QStringLiteral("QT_QPA_PLATFORM=xcb")} << "grafischen Sitzung";
    QTest::newRow("a dead Wayland socket")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=") + deadSocket,
                       QStringLiteral("QT_QPA_PLATFORM=wayland")}
        << "grafischen Sitzung";
    QTest::newRow("a Wayland session with a dead socket")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=") + deadSocket,
                       QStringLiteral("XDG_SESSION_TYPE=wayland")}
        << "grafischen Sitzung";
    QTest::newRow("a platform that Qt does not have")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=hopsala-keine")} << "Qt-Plattform";
    QTest::newRow("a Wayland socket that is not there")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=wayland-none")} << "grafischen Sitzung";
}

// Without a window system to talk to, the player reads one German line and
// the program ends with status 1; Qt's English report and its abort never
// reach them.
void TestProgramStart::withoutAReachableDisplayTheProgramSaysSoInGermanAndEndsWithStatusOne()
{
    QFETCH(QStringList, variables);
    QFETCH(QString, explanation);
    const Run run = runProgram(variables, m_runtime.path());
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.startsWith(QStringLiteral("Hopsala1 ")), qPrintable(run.errors));
    QVERIFY2(run.errors.contains(explanation), qPrintable(run.errors));
    QCOMPARE(run.errors.count(u'\n'), 1);
    for (const QString &name : variables)
        QVERIFY2(run.errors.contains(name.section(u'=', 1)), qPrintable(run.errors));
}

QTEST_GUILESS_MAIN(TestProgramStart)
#include "test_programstart.moc"
