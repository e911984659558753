#include "storage/temporaryfiles.h"
#include "storage/writefaults.h"
#include "support/programfolder.h"
#include "support/recordprinter.h"
#include "writerrecord.h"

#include <QTest>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <random>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

// A storage_writer process, killed and reaped at the latest when the test
// leaves its scope.
class Writer
{
public:
    Writer(const std::string &path, const std::string &tag, long first, long count)
    {
        std::vector<std::string> arguments = {STORAGE_WRITER, path, tag, std::to_string(first),
                                              std::to_string(count)};
        std::vector<char *> argv;
        for (std::string &argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return;
        m_output = ends[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(ends[1]);
    }
    ~Writer()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            waitFor(0);
        }
        if (m_output >= 0)
            ::close(m_output);
    }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    bool started() const { return m_pid > 0; }

    // Blocks until the writer has started up, or has died trying.
    bool waitUntilReady() const
    {
        char line[6];
        std::size_t got = 0;
        while (got < sizeof line) {
            const ssize_t count = ::read(m_output, line + got, sizeof line - got);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                return false;
            got += static_cast<std::size_t>(count);
        }
        return true;
    }
    void kill() const { ::kill(m_pid, SIGKILL); }

    // Whether the process has ended; its wait status is then in status().
    bool waitFor(int options)
    {
        if (m_pid <= 0)
            return true;
        pid_t result = 0;
        do {
            result = ::waitpid(m_pid, &m_status, options);
        } while (result < 0 && errno == EINTR);
        if (result == 0)
            return false;
        m_pid = -1;
        return true;
    }
    int status() const { return m_status; }

private:
    pid_t m_pid = -1;
    int m_output = -1;
    int m_status = 0;
};

int LeftoverCount(const ProgramFolder &folder)
{
    int count = 0;
    for (const QString &name : folder.otherEntries())
        count += IsTemporaryNameOf(name.toStdString(), "Wahl.txt") ? 1 : 0;
    return count;
}

} // namespace

class TestKillWrite : public QObject
{
    Q_OBJECT

    ProgramFolder m_dir;
    const std::string m_path = m_dir.wahlPath().toStdString();

private slots:
    void init()
    {
        QVERIFY(m_dir.clear());
        WriteSettings(m_path, WriterRecord("A", 0));
    }

    // A writer killed at any moment leaves a whole file with either the last
    // finished write or the one before, and at most its own one temporary
    // file, which the next write removes.
    void aKilledWriterLeavesTheOldOrTheNewFile()
    {
        constexpr int Rounds = 1000;
        const unsigned seed = std::random_device{}();
        std::mt19937 random(seed);
        // A write takes a few milliseconds, most of them in fsync: the kills
        // fall before the first write, inside writes and between them.
        std::uniform_int_distribution<int> killAfterMicroseconds(0, 8000);
        long last = 0;
        int killedWithLeftover = 0;
        int killedBeforeAWrite = 0;
        for (int round = 0; round < Rounds; ++round) {
            Writer writer(m_path, "A", last + 1, 0);
            QVERIFY(writer.started());
            QVERIFY(writer.waitUntilReady());
            std::this_thread::sleep_for(std::chrono::microseconds(killAfterMicroseconds(random)));
            writer.kill();
            QVERIFY(writer.waitFor(0));
            QVERIFY2(WIFSIGNALED(writer.status()), "the writer ended by itself");

            SettingsRecord record;
            try {
                record = ReadSettings(m_path);
            } catch (const SettingsError &error) {
                QFAIL(qPrintable(QStringLiteral("round %1, seed %2: %3").arg(round).arg(seed).arg(error.what())));
            }
            const std::optional<WriterMark> mark = IdentifyWrite(record);
            QVERIFY2(mark.has_value(), qPrintable(QStringLiteral("round %1, seed %2: mixed file").arg(round).arg(seed)));
            QVERIFY(mark->number >= last);
            killedBeforeAWrite += mark->number == last ? 1 : 0;
            last = mark->number;

            const int leftovers = LeftoverCount(m_dir);
            QVERIFY2(leftovers <= 1, qPrintable(QStringLiteral("%1 temporary files").arg(leftovers)));
            killedWithLeftover += leftovers;
        }
        WriteSettings(m_path, WriterRecord("A", last + 1));
        QCOMPARE(LeftoverCount(m_dir), 0);
        qInfo("%d kills, seed %u: %ld writes finished, %d kills between create and rename, %d before any write",
              Rounds, seed, last, killedWithLeftover, killedBeforeAWrite);
    }

    // Two writers at the same moment: every read finds one whole write, and
    // the file ends with the last write of one of them.
    void twoWritersAtOnceLeaveOneWholeFile()
    {
        constexpr long Count = 200;
        Writer a(m_path, "A", 1, Count);
        Writer b(m_path, "B", 1, Count);
        QVERIFY(a.started() && b.started());
        QVERIFY(a.waitUntilReady() && b.waitUntilReady());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        bool aDone = false;
        bool bDone = false;
        int reads = 0;
        while (!(aDone && bDone)) {
            QVERIFY2(std::chrono::steady_clock::now() < deadline, "the writers did not finish");
            try {
                QVERIFY2(IdentifyWrite(ReadSettings(m_path)).has_value(), "mixed file");
            } catch (const SettingsError &error) {
                QFAIL(error.what());
            }
            ++reads;
            aDone = aDone || a.waitFor(WNOHANG);
            bDone = bDone || b.waitFor(WNOHANG);
        }
        for (const Writer *writer : {&a, &b})
            QVERIFY2(WIFEXITED(writer->status()) && WEXITSTATUS(writer->status()) == 0, "a writer failed");
        const std::optional<WriterMark> final = IdentifyWrite(ReadSettings(m_path));
        QVERIFY(final.has_value());
        QCOMPARE(final->number, Count);
        QCOMPARE(LeftoverCount(m_dir), 0);
        qInfo("%d reads while two writers wrote %ld records each", reads, Count);
    }
};

QTEST_APPLESS_MAIN(TestKillWrite)
#include "test_killwrite.moc"
