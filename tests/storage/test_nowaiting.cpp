#include "storage/writefaults.h"
#include "support/callresults.h"
#include "support/programfolder.h"
#include "support/settingsrecords.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr auto Bound = std::chrono::seconds(1);

// A process that holds the writers' lock on a directory until it is told to end.
class LockHolder
{
public:
    explicit LockHolder(const std::string &directory)
    {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
            const bool held = fd >= 0 && ::flock(fd, LOCK_EX) == 0;
            ::close(release[1]);
            if (held && ::write(ready[1], "L", 1) == 1)
                while (::read(release[0], &m_pid, 1) < 0 && errno == EINTR) {
                }
            ::_exit(held ? 0 : 1);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char c = 0;
        m_held = m_pid > 0 && ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHolder()
    {
        ::close(m_release);
        if (m_pid > 0)
            ::waitpid(m_pid, nullptr, 0);
    }
    bool held() const { return m_held; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

} // namespace

class TestNoWaiting : public QObject
{
    Q_OBJECT

    ProgramFolder m_dir;
    const std::string m_path = m_dir.wahlPath().toStdString();
    QTemporaryDir m_devices;

private slots:
    void init()
    {
        QVERIFY(m_dir.clear());
    }

    void aFileThatIsNoRegularFileIsRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        QTest::newRow("FIFO") << "fifo" << "Der Pfad bezeichnet eine benannte Pipe (FIFO), keine gewöhnliche Datei.";
        QTest::newRow("FIFO with a reader") << "fifo-read" << "Der Pfad bezeichnet eine benannte Pipe (FIFO), keine gewöhnliche Datei.";
        QTest::newRow("FIFO with a writer") << "fifo-write" << "Der Pfad bezeichnet eine benannte Pipe (FIFO), keine gewöhnliche Datei.";
        QTest::newRow("socket") << "socket" << "Der Pfad bezeichnet einen Socket, keine gewöhnliche Datei.";
        QTest::newRow("device") << "device" << "Der Pfad bezeichnet ein Gerät, keine gewöhnliche Datei.";
        QTest::newRow("link to a device") << "device-link" << "Der Pfad bezeichnet ein Gerät, keine gewöhnliche Datei.";
        QTest::newRow("directory") << "directory" << "Der Pfad bezeichnet ein Verzeichnis.";
    }

    // A FIFO, a socket, a device or a directory named Wahl.txt is refused at
    // once, when read and when written, with a German error that names what
    // it is; nothing waits for the other end of a FIFO, and the thing stays
    // what it was.
    void aFileThatIsNoRegularFileIsRefusedAtOnce()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        int otherEnd = -1;
        int socketFd = -1;
        if (kind.startsWith("fifo")) {
            QCOMPARE(::mkfifo(m_path.c_str(), 0600), 0);
            if (kind == "fifo-read")
                otherEnd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
            if (kind == "fifo-write") // a writer needs a reader to open at all
                otherEnd = ::open(m_path.c_str(), O_RDWR);
            QVERIFY(kind == "fifo" || otherEnd >= 0);
        } else if (kind == "socket") {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            QVERIFY(m_path.size() < sizeof address.sun_path);
            std::strcpy(address.sun_path, m_path.c_str());
            QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        } else if (kind == "directory") {
            QCOMPARE(::mkdir(m_path.c_str(), 0700), 0);
        } else {
            // A null device of the test's own, never the machine's: a write
            // gone wrong would replace only it.
            const std::string node = kind == "device" ? m_path : m_devices.filePath("null").toStdString();
            if (::mknod(node.c_str(), S_IFCHR | 0600, ::makedev(1, 3)) != 0)
                QSKIP("Only root may make a device node.");
            QVERIFY(node == m_path || ::symlink(node.c_str(), m_path.c_str()) == 0);
        }
        struct stat before{};
        QCOMPARE(::stat(m_path.c_str(), &before), 0);
        const auto read = ReturnsWithin(Bound, [&] { return ErrorOf([&] { ReadSettings(m_path); }); });
        const auto written = ReturnsWithin(Bound, [&] { return ErrorOf([&] { WriteSettings(m_path, WorkedExample()); }); });
        if (otherEnd >= 0)
            ::close(otherEnd);
        if (socketFd >= 0)
            ::close(socketFd);
        QVERIFY2(read.has_value(), "reading did not return within a second");
        QVERIFY2(written.has_value(), "writing did not return within a second");
        const QString path = QString::fromStdString(m_path);
        QCOMPARE(QString::fromStdString(*read), "Die Datei „" + path + "“ kann nicht gelesen werden: " + cause);
        QCOMPARE(QString::fromStdString(*written), "Die Datei „" + path + "“ kann nicht geschrieben werden: " + cause);
        struct stat after{};
        QCOMPARE(::stat(m_path.c_str(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(m_dir.otherEntries(), QStringList());
    }

    // Another process that holds the writers' lock delays a write by about
    // a second at most; the write then goes on and, without the lock, leaves
    // what looks like a leftover alone. The next write removes it.
    void aLockHeldByAnotherProcessDelaysAWriteByAboutASecondAtMost()
    {
        QVERIFY(putFileBytes(m_path, WorkedExampleWahl));
        const std::string leftover = m_dir.filePath(".Wahl.txt.hopsala-abc123.neu").toStdString();
        QVERIFY(putFileBytes(leftover, "partial"));
        SettingsRecord record = WorkedExample();
        record.level = Text("Profi");
        {
            const LockHolder holder(m_dir.path().toStdString());
            QVERIFY(holder.held());
            const auto said = ReturnsWithin(std::chrono::milliseconds(2500),
                                            [&] { return ErrorOf([&] { WriteSettings(m_path, record); }); });
            QVERIFY2(said.has_value(), "the write waited for the lock");
            QCOMPARE(*said, std::string());
            QCOMPARE(ReadSettings(m_path), record);
            QCOMPARE(fileBytes(leftover), QByteArray("partial"));
        }
        WriteSettings(m_path, WorkedExample());
        QCOMPARE(m_dir.otherEntries(), QStringList());
    }

    // A file larger than the largest valid one is refused from its size,
    // before a byte of it is scanned.
    void aFileTooLargeToBeOursIsRefusedFromItsSize()
    {
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::ftruncate(fd, off_t{100} << 20), 0); // sparse: no 100 MB written
        ::close(fd);
        const auto said = ReturnsWithin(Bound, [&] { return ErrorOf([&] { ReadSettings(m_path); }); });
        QVERIFY2(said.has_value(), "a large file held the read");
        QCOMPARE(QString::fromStdString(*said),
                 "Die Datei „" + QString::fromStdString(m_path) + "“ ist beschädigt: Sie ist größer als 8 MiB.");
    }
};

QTEST_APPLESS_MAIN(TestNoWaiting)
#include "test_nowaiting.moc"
