#include "storage/filesystem.h"
#include "testsupport.h"

#include <QTemporaryDir>

#include <cerrno>

namespace {

enum class Step { None, AccessCheck, Create, SetPermissions, Write, ShortWrite, Sync, Close, Rename, Lock };

// The real file system with one step made to fail.
class FaultyFileSystem : public PosixFileSystem
{
public:
    Step failing = Step::None;
    int error = 0;
    int createCollisions = 0;   // EEXIST answers before a create succeeds
    bool tricklingWrites = false; // one byte per call, each other call interrupted
    std::vector<std::string> created;

    int accessForWriting(const std::string &path) override
    {
        return failing == Step::AccessCheck ? error : PosixFileSystem::accessForWriting(path);
    }
    int createExclusive(const std::string &path, int &fd) override
    {
        created.push_back(path);
        if (failing == Step::Create)
            return error;
        if (createCollisions > 0) {
            --createCollisions;
            return EEXIST;
        }
        return PosixFileSystem::createExclusive(path, fd);
    }
    int setPermissions(int fd, unsigned mode) override
    {
        return failing == Step::SetPermissions ? error : PosixFileSystem::setPermissions(fd, mode);
    }
    int write(int fd, std::string_view data, std::size_t &written) override
    {
        ++m_writes;
        if (failing == Step::Write || (failing == Step::ShortWrite && m_writes > 1))
            return error;
        if (failing == Step::ShortWrite)
            return PosixFileSystem::write(fd, data.substr(0, data.size() / 2), written);
        if (tricklingWrites) {
            if (m_writes % 2 == 1)
                return EINTR;
            return PosixFileSystem::write(fd, data.substr(0, 1), written);
        }
        return PosixFileSystem::write(fd, data, written);
    }
    int sync(int fd) override { return failing == Step::Sync ? error : PosixFileSystem::sync(fd); }
    int close(int fd) override
    {
        const int result = PosixFileSystem::close(fd);
        return failing == Step::Close ? error : result;
    }
    int rename(const std::string &from, const std::string &to) override
    {
        return failing == Step::Rename ? error : PosixFileSystem::rename(from, to);
    }
    int lockDirectory(const std::string &directory, int &lockFd) override
    {
        return failing == Step::Lock ? error : PosixFileSystem::lockDirectory(directory, lockFd);
    }

private:
    int m_writes = 0;
};

} // namespace

Q_DECLARE_METATYPE(Step)

class TestAtomicWrite : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string m_path;

    QString expectedError(const QString &cause) const
    {
        return "Die Datei „" + QString::fromStdString(m_path) + "“ kann nicht geschrieben werden: " + cause;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(m_dir.filePath(name));
        m_path = m_dir.filePath("Wahl.txt").toStdString();
        QVERIFY(PutFileBytes(m_path, WorkedExampleBytes));
    }

    void aFailedStepLeavesTheOldFileWhole_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("cause");
        QTest::newRow("read-only file") << Step::AccessCheck << EACCES << "Der Zugriff wurde verweigert.";
        QTest::newRow("create") << Step::Create << EROFS << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("permissions") << Step::SetPermissions << EPERM << "Der Zugriff wurde verweigert.";
        QTest::newRow("write") << Step::Write << EIO
                               << "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
        QTest::newRow("short write, disk full") << Step::ShortWrite << ENOSPC << "Kein Platz mehr auf dem Datenträger.";
        QTest::newRow("quota") << Step::ShortWrite << EDQUOT << "Das Speicherkontingent ist erschöpft.";
        QTest::newRow("sync") << Step::Sync << EIO
                              << "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
        QTest::newRow("close") << Step::Close << ENOSPC << "Kein Platz mehr auf dem Datenträger.";
        QTest::newRow("rename") << Step::Rename << EISDIR << "Der Pfad bezeichnet ein Verzeichnis.";
        QTest::newRow("unknown cause") << Step::Rename << EXDEV
                                       << QString::fromLocal8Bit(std::strerror(EXDEV)) + " (Fehler "
                                              + QString::number(EXDEV) + ").";
    }

    // Whatever step of a write fails, the old file stays byte for byte, no
    // temporary file is left and the error names the file and the cause.
    void aFailedStepLeavesTheOldFileWhole()
    {
        QFETCH(Step, step);
        QFETCH(int, error);
        QFETCH(QString, cause);
        FaultyFileSystem fileSystem;
        fileSystem.failing = step;
        fileSystem.error = error;
        try {
            WriteSettings(m_path, SettingsRecord(), fileSystem);
            QFAIL("the write succeeded");
        } catch (const SettingsError &failure) {
            QCOMPARE(QString::fromUtf8(failure.what()), expectedError(cause));
        }
        QCOMPARE(FileBytes(m_path), WorkedExampleBytes);
        QCOMPARE(OtherEntries(m_dir.path()), QStringList());
    }

    // A write interrupted by signals or taking one byte at a time still
    // writes the whole record.
    void interruptedAndPartialWritesWriteEverything()
    {
        FaultyFileSystem fileSystem;
        fileSystem.tricklingWrites = true;
        QVERIFY(PutFileBytes(m_path, "old"));
        WriteSettings(m_path, WorkedExample(), fileSystem);
        QCOMPARE(FileBytes(m_path), WorkedExampleBytes);
        QCOMPARE(OtherEntries(m_dir.path()), QStringList());
    }

    // A temporary name that another file holds is never reused; a new
    // random name is tried, up to a bound.
    void aTakenTemporaryNameIsNotReused()
    {
        FaultyFileSystem fileSystem;
        fileSystem.createCollisions = 3;
        WriteSettings(m_path, SettingsRecord(), fileSystem);
        QCOMPARE(FileBytes(m_path), QByteArray("\r\n,\r\n,\r\n,\r\n"));
        QCOMPARE(fileSystem.created.size(), std::size_t{4});
        for (const std::string &path : fileSystem.created)
            QVERIFY2(IsTemporaryNameOf(QFileInfo(QString::fromStdString(path)).fileName().toStdString(), "Wahl.txt"),
                     path.c_str());

        FaultyFileSystem crowded;
        crowded.createCollisions = 1000;
        QVERIFY_THROWS_EXCEPTION(SettingsError, WriteSettings(m_path, SettingsRecord(), crowded));
        QCOMPARE(FileBytes(m_path), QByteArray("\r\n,\r\n,\r\n,\r\n"));
    }

    // Under the writers' lock every temporary file of our name pattern is a
    // dead writer's leftover and is removed; other files stay.
    void leftoversOfADeadWriterAreRemovedUnderTheLock()
    {
        const QStringList leftovers = {".Wahl.txt.abc123", ".Wahl.txt.XYZ789"};
        const QStringList others = {".Wahl.txt.bak", ".Wahl.txt.abc1234", ".Other.txt.abc123", "Wahl.txt.abc123"};
        for (const QString &name : leftovers + others)
            QVERIFY(PutFileBytes(m_dir.filePath(name).toStdString(), "partial"));

        FaultyFileSystem unlocked;
        unlocked.failing = Step::Lock;
        unlocked.error = ENOLCK;
        WriteSettings(m_path, WorkedExample(), unlocked);
        QCOMPARE(OtherEntries(m_dir.path()).size(), leftovers.size() + others.size());

        WriteSettings(m_path, WorkedExample());
        QStringList remaining = OtherEntries(m_dir.path());
        remaining.sort();
        QStringList expected = others;
        expected.sort();
        QCOMPARE(remaining, expected);
        QCOMPARE(FileBytes(m_path), WorkedExampleBytes);
    }

    void temporaryNamesAreRecognised_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isTemporary");
        QTest::newRow("ours") << ".Wahl.txt.a1B2c3" << true;
        QTest::newRow("five random") << ".Wahl.txt.a1B2c" << false;
        QTest::newRow("seven random") << ".Wahl.txt.a1B2c3d" << false;
        QTest::newRow("not hidden") << "xWahl.txt.a1B2c3" << false;
        QTest::newRow("other file") << ".Wahr.txt.a1B2c3" << false;
        QTest::newRow("punctuation") << ".Wahl.txt.a1B-c3" << false;
        QTest::newRow("no dot") << ".Wahl.txtxa1B2c3" << false;
        QTest::newRow("the file") << "Wahl.txt" << false;
    }

    // Only names of the exact pattern are taken for leftovers.
    void temporaryNamesAreRecognised()
    {
        QFETCH(QString, name);
        QFETCH(bool, isTemporary);
        QCOMPARE(IsTemporaryNameOf(name.toStdString(), "Wahl.txt"), isTemporary);
    }
};

QTEST_APPLESS_MAIN(TestAtomicWrite)
#include "test_atomicwrite.moc"
