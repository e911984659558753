#include "storage/temporaryfiles.h"
#include "storage/writefaults.h"
#include "support/callresults.h"
#include "support/programfolder.h"
#include "support/settingsrecords.h"

#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Step { None, AccessCheck, Create, LockNew, Write, ShortWrite, Sync, Close, Rename, Lock };

// A write on the real file system with one step made to fail.
class FaultyWrite : public WriteFaults
{
public:
    Step failing = Step::None;
    int error = 0;
    bool tricklingWrites = false; // one byte per call, each other call interrupted
    bool noStandIn = false;       // the new file cannot take over the old one's identity

    int failure(WriteStep step) override
    {
        if (step == WriteStep::CarryOver && noStandIn)
            return EPERM;
        if (step == WriteStep::Write) {
            ++m_writes;
            if (failing == Step::Write || (failing == Step::ShortWrite && m_writes > 1))
                return error;
            return tricklingWrites && m_writes % 2 == 1 ? EINTR : 0;
        }
        static constexpr std::pair<Step, WriteStep> Steps[] = {
            {Step::AccessCheck, WriteStep::AccessCheck}, {Step::Create, WriteStep::Create}, {Step::LockNew, WriteStep::LockNew},
            {Step::Sync, WriteStep::Sync}, {Step::Close, WriteStep::Close},
            {Step::Rename, WriteStep::Rename}, {Step::Lock, WriteStep::Lock}};
        for (const auto &[ours, theirs] : Steps) {
            if (ours == failing && theirs == step)
                return error;
        }
        return 0;
    }
    std::size_t writeLimit(std::size_t size) override
    {
        return failing == Step::ShortWrite ? size / 2 : tricklingWrites ? 1 : size;
    }

private:
    int m_writes = 0;
};

ino_t InodeOf(const std::string &path)
{
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestAtomicWrite : public QObject
{
    Q_OBJECT

    ProgramFolder m_dir;
    const std::string m_path = m_dir.wahlPath().toStdString();

    QString expectedError(const QString &cause) const
    {
        return "Die Datei „" + QString::fromStdString(m_path) + "“ kann nicht geschrieben werden: " + cause;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.clear());
        QVERIFY(m_dir.writeWahl(WorkedExampleWahl));
    }

    void aFailedStepLeavesTheOldFileWhole_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("cause");
        QTest::newRow("read-only file") << Step::AccessCheck << EACCES << "Der Zugriff wurde verweigert.";
        QTest::newRow("create") << Step::Create << EROFS << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("write") << Step::Write << EIO
                               << "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
        QTest::newRow("short write, disk full") << Step::ShortWrite << ENOSPC << "Kein Platz mehr auf dem Datenträger.";
        QTest::newRow("quota") << Step::ShortWrite << EDQUOT << "Das Speicherkontingent ist erschöpft.";
        QTest::newRow("sync") << Step::Sync << EIO
                              << "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
        QTest::newRow("close") << Step::Close << ENOSPC << "Kein Platz mehr auf dem Datenträger.";
        QTest::newRow("rename") << Step::Rename << EISDIR << "Der Pfad bezeichnet ein Verzeichnis.";
        QTest::newRow("unknown cause") << Step::Rename << EOVERFLOW
                                       << "Unerwarteter Systemfehler EOVERFLOW (Nr. " + QString::number(EOVERFLOW) + ").";
        QTest::newRow("the new file's lock") << Step::LockNew << ENOLCK << "Das System kann keine Dateisperre mehr vergeben.";
        QTest::newRow("no free name") << Step::Create << EEXIST
                                      << "Es lässt sich kein freier Name für eine neue Datei finden.";
    }

    // Whatever step of a write fails, the old file stays byte for byte, no
    // temporary file is left and the error names the file and the cause.
    void aFailedStepLeavesTheOldFileWhole()
    {
        QFETCH(Step, step);
        QFETCH(int, error);
        QFETCH(QString, cause);
        FaultyWrite fileSystem;
        fileSystem.failing = step;
        fileSystem.error = error;
        QCOMPARE(QString::fromStdString(ErrorOf([&] { WriteSettings(m_path, SettingsRecord(), fileSystem); })),
                 expectedError(cause));
        QCOMPARE(fileBytes(m_path), WorkedExampleWahl);
        QCOMPARE(m_dir.otherEntries(), QStringList());
    }

    // A write interrupted by signals or taking one byte at a time still
    // writes the whole record.
    void interruptedAndPartialWritesWriteEverything()
    {
        FaultyWrite fileSystem;
        fileSystem.tricklingWrites = true;
        QVERIFY(putFileBytes(m_path, "old"));
        WriteSettings(m_path, WorkedExample(), fileSystem);
        QCOMPARE(fileBytes(m_path), WorkedExampleWahl);
        QCOMPARE(m_dir.otherEntries(), QStringList());
    }

    // A temporary name that another file holds is never reused: files of
    // the temporary pattern that are not leftovers (no lock held) stay as
    // they are, however many writes are made beside them.
    void aTakenTemporaryNameIsNotReused()
    {
        QStringList taken;
        for (int i = 0; i < 200; ++i) {
            taken << QStringLiteral(".Wahl.txt.hopsala-%1.neu").arg(i, 6, 36, QChar('0'));
            QVERIFY(IsTemporaryNameOf(taken.back().toStdString(), "Wahl.txt"));
            QVERIFY(putFileBytes(m_dir.filePath(taken.back()).toStdString(), "taken"));
        }
        for (int write = 0; write < 20; ++write) {
            FaultyWrite unlocked;
            unlocked.failing = Step::Lock;
            unlocked.error = ENOLCK;
            WriteSettings(m_path, MakeRecord(Number(write), {}, {}, {}, {}, {}, {}), unlocked);
            QCOMPARE(ReadSettings(m_path).level, Number(write));
        }
        QStringList remaining = m_dir.otherEntries();
        remaining.sort();
        taken.sort();
        QCOMPARE(remaining, taken);
        for (const QString &name : taken)
            QCOMPARE(fileBytes(m_dir.filePath(name).toStdString()), QByteArray("taken"));
    }

    void aFileThatCannotBeStoodInForIsWrittenInPlace_data()
    {
        QTest::addColumn<bool>("renameRefused");
        QTest::newRow("another owner, mode or attributes") << false;
        QTest::newRow("the rename refused, as over a bind mount") << true;
    }

    // Where the new file cannot take over the old one's owner, mode or
    // attributes, or cannot be renamed over it, the old file is written in
    // place: the same file, the new content, nothing left beside it.
    void aFileThatCannotBeStoodInForIsWrittenInPlace()
    {
        QFETCH(bool, renameRefused);
        const ino_t inode = InodeOf(m_path);
        QVERIFY(putFileBytes(m_path, WorkedExampleWahl + QByteArray(500, ',')));
        FaultyWrite faults;
        faults.noStandIn = !renameRefused;
        faults.failing = renameRefused ? Step::Rename : Step::None;
        faults.error = EBUSY;
        faults.tricklingWrites = true;
        WriteSettings(m_path, WorkedExample(), faults);
        QCOMPARE(fileBytes(m_path), WorkedExampleWahl);
        QCOMPARE(InodeOf(m_path), inode);
        QCOMPARE(m_dir.otherEntries(), QStringList());
    }

    void aFailureInPlaceNamesItsCause_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("touched");
        QTest::newRow("first write") << Step::Write << false;
        QTest::newRow("second write") << Step::ShortWrite << true;
        QTest::newRow("sync") << Step::Sync << true;
    }

    // Written in place, a failure before the first byte reaches the file
    // leaves it byte for byte; a later one says that the file may now be
    // incomplete.
    void aFailureInPlaceNamesItsCause()
    {
        QFETCH(Step, step);
        QFETCH(bool, touched);
        FaultyWrite faults;
        faults.noStandIn = true;
        faults.failing = step;
        faults.error = EIO;
        const QString cause = "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
        QCOMPARE(QString::fromStdString(ErrorOf([&] { WriteSettings(m_path, SettingsRecord(), faults); })),
                 expectedError(touched ? cause + " Die Datei ist nun möglicherweise unvollständig." : cause));
        if (!touched)
            QCOMPARE(fileBytes(m_path), WorkedExampleWahl);
        QCOMPARE(m_dir.otherEntries(), QStringList());
    }

    // Under the writers' lock every temporary file of our own name pattern
    // that no live writer holds is a dead writer's leftover and is removed;
    // other files stay, the player's own and a live writer's among them.
    void leftoversOfADeadWriterAreRemovedUnderTheLock()
    {
        const QStringList leftovers = {".Wahl.txt.hopsala-abc123.neu", ".Wahl.txt.hopsala-XYZ789.neu"};
        const QStringList others = {".Wahl.txt.backup", ".Wahl.txt.Mai024", ".Wahl.txt.abc123",
                                    ".Other.txt.hopsala-abc123.neu", "Wahl.txt.hopsala-abc123.neu"};
        const QString live = ".Wahl.txt.hopsala-live01.neu"; // held by its writer until the rename
        for (const QString &name : leftovers + others + QStringList{live})
            QVERIFY(putFileBytes(m_dir.filePath(name).toStdString(), "partial"));
        const int held = ::open(m_dir.filePath(live).toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        QCOMPARE(::flock(held, LOCK_EX), 0);

        FaultyWrite unlocked;
        unlocked.failing = Step::Lock;
        unlocked.error = ENOLCK;
        WriteSettings(m_path, WorkedExample(), unlocked);
        QCOMPARE(m_dir.otherEntries().size(), leftovers.size() + others.size() + 1);

        WriteSettings(m_path, WorkedExample());
        ::close(held);
        QStringList remaining = m_dir.otherEntries();
        remaining.sort();
        QStringList expected = others + QStringList{live};
        expected.sort();
        QCOMPARE(remaining, expected);
        QCOMPARE(fileBytes(m_path), WorkedExampleWahl);
    }

    void temporaryNamesAreRecognised_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isTemporary");
        QTest::newRow("ours") << ".Wahl.txt.hopsala-a1B2c3.neu" << true;
        QTest::newRow("five random") << ".Wahl.txt.hopsala-a1B2c.neu" << false;
        QTest::newRow("seven random") << ".Wahl.txt.hopsala-a1B2c3d.neu" << false;
        QTest::newRow("not hidden") << "xWahl.txt.hopsala-a1B2c3.neu" << false;
        QTest::newRow("other file") << ".Wahr.txt.hopsala-a1B2c3.neu" << false;
        QTest::newRow("punctuation") << ".Wahl.txt.hopsala-a1B-c3.neu" << false;
        QTest::newRow("no suffix") << ".Wahl.txt.hopsala-a1B2c3" << false;
        QTest::newRow("a name of the player's") << ".Wahl.txt.Mai024" << false;
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
