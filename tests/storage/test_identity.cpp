#include "support/callresults.h"
#include "support/programfolder.h"
#include "support/settingsrecords.h"

#include <QDirIterator>
#include <QTest>

#include <memory>

#include <grp.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

// The user and group "nobody" of Debian, who owns nothing of the test's.
constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

struct stat StatusOf(const std::string &path)
{
    struct stat status{};
    if (::lstat(path.c_str(), &status) != 0)
        status.st_mode = 0;
    return status;
}

std::string LinkText(const std::string &path)
{
    char text[4096];
    const ssize_t size = ::readlink(path.c_str(), text, sizeof text);
    return size < 0 ? std::string() : std::string(text, static_cast<std::size_t>(size));
}

SettingsRecord Profi()
{
    SettingsRecord record = WorkedExample();
    record.level = Text("Profi");
    return record;
}

const QByteArray ProfiBytes("\"Profi\"\r\n12,\"Maus\"\r\n9,\"Igel\"\r\n0,\"unbekannt\"\r\n");

} // namespace

class TestIdentity : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProgramFolder> m_dir;
    std::string m_path;

    std::string at(const char *relative) const { return m_dir->filePath(relative).toStdString(); }

    // Temporary files anywhere in the test's folder: leftovers of a write.
    QStringList hiddenFiles() const
    {
        QStringList names;
        QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QFileInfo(it.next()).fileName();
            if (name.startsWith('.'))
                names << name;
        }
        return names;
    }

    // Run as root, the writer of these tests is a child process that has
    // become "nobody"; otherwise it is the test's own user.
    std::optional<std::string> writeAsPlayer(const std::function<std::string()> &write)
    {
        const bool root = ::geteuid() == 0;
        if (root && (::chmod(m_dir->path().toLocal8Bit(), 0755) != 0 || ::chmod(at("records").c_str(), 0755) != 0))
            return "skip: the test folder cannot be opened to others";
        return ReturnsWithin(std::chrono::seconds(10), [&] {
            if (root && (::setgroups(0, nullptr) != 0 || ::setgid(NoGroup) != 0 || ::setuid(Nobody) != 0))
                return std::string("skip: cannot become an unprivileged user: ") + std::strerror(errno);
            return write();
        });
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<ProgramFolder>();
        QVERIFY(QDir(m_dir->path()).mkpath("records/deep"));
        m_path = at("Wahl.txt");
    }

    void aLinkIsReadAndWrittenThrough_data()
    {
        QTest::addColumn<QStringList>("links"); // Wahl.txt first, each to the next, the last to the file
        QTest::addColumn<QString>("target");
        QTest::newRow("relative") << QStringList{"records/Wahl.txt"} << "records/Wahl.txt";
        QTest::newRow("absolute") << QStringList{"ABS:records/Wahl.txt"} << "records/Wahl.txt";
        QTest::newRow("chain") << QStringList{"records/eins", "deep/zwei", "ABS:records/deep/Wahl.txt"}
                               << "records/deep/Wahl.txt";
        QStringList forty; // as many as the kernel follows
        for (int link = 1; link < 40; ++link)
            forty << QStringLiteral("kette%1").arg(link);
        QTest::newRow("forty links, the most") << forty + QStringList{"records/Wahl.txt"} << "records/Wahl.txt";
    }

    // A Wahl.txt that is a symbolic link, relative, absolute or a chain, is
    // read through, and a write replaces the final target's content while
    // every link stays the link it was.
    void aLinkIsReadAndWrittenThrough()
    {
        QFETCH(QStringList, links);
        QFETCH(QString, target);
        QVERIFY(putFileBytes(at(target.toUtf8()), WorkedExampleWahl));
        std::vector<std::pair<std::string, std::string>> made; // link, its text
        std::string from = m_path;
        for (const QString &link : links) {
            const std::string text = link.startsWith("ABS:") ? at(link.mid(4).toUtf8()) : link.toStdString();
            QCOMPARE(::symlink(text.c_str(), from.c_str()), 0);
            made.emplace_back(from, text);
            from = link.startsWith("ABS:") ? text : QFileInfo(QString::fromStdString(from)).dir().filePath(link).toStdString();
        }
        QCOMPARE(ReadSettings(m_path), WorkedExample());
        WriteSettings(m_path, Profi());
        QCOMPARE(fileBytes(at(target.toUtf8())), ProfiBytes);
        for (const auto &[link, text] : made) {
            QVERIFY2(S_ISLNK(StatusOf(link).st_mode), link.c_str());
            QCOMPARE(LinkText(link), text);
        }
        QCOMPARE(ReadSettings(m_path), Profi());
        QCOMPARE(hiddenFiles(), QStringList());
    }

    // A link whose target is gone reads as a missing file; a write creates
    // the target and keeps the link. A link into a missing directory or a
    // loop of links fails with its cause.
    void aDanglingLinkReadsAsMissingAndAWriteCreatesItsTarget()
    {
        QCOMPARE(::symlink("records/neu.txt", m_path.c_str()), 0);
        QCOMPARE(QString::fromStdString(ErrorOf([&] { ReadSettings(m_path); })),
                 "Die Datei „" + QString::fromStdString(m_path) + "“ kann nicht gelesen werden: Die Datei existiert nicht.");
        WriteSettings(m_path, Profi());
        QVERIFY(S_ISLNK(StatusOf(m_path).st_mode));
        QCOMPARE(fileBytes(at("records/neu.txt")), ProfiBytes);

        const std::string intoNowhere = at("nirgends.txt");
        QCOMPARE(::symlink("fehlt/Wahl.txt", intoNowhere.c_str()), 0);
        QVERIFY(QString::fromStdString(ErrorOf([&] { WriteSettings(intoNowhere, Profi()); }))
                    .endsWith("kann nicht geschrieben werden: Das Verzeichnis existiert nicht."));
        const std::string loop = at("records/schleife");
        QCOMPARE(::symlink("schleife", loop.c_str()), 0);
        const QString tooMany = "Der Pfad enthält zu viele symbolische Verknüpfungen.";
        QVERIFY(QString::fromStdString(ErrorOf([&] { ReadSettings(loop); })).endsWith(tooMany));
        QVERIFY(QString::fromStdString(ErrorOf([&] { WriteSettings(loop, Profi()); })).endsWith(tooMany));
        QVERIFY(S_ISLNK(StatusOf(loop).st_mode));
    }

    // A second hard link still shares the file after a write: the file is
    // written in place, not split from its other name.
    void aSecondHardLinkIsKept()
    {
        QVERIFY(putFileBytes(m_path, WorkedExampleWahl));
        const std::string other = at("records/Kopie.txt");
        QCOMPARE(::link(m_path.c_str(), other.c_str()), 0);
        WriteSettings(m_path, Profi());
        QCOMPARE(fileBytes(other), ProfiBytes);
        QCOMPARE(StatusOf(m_path).st_ino, StatusOf(other).st_ino);
        QCOMPARE(StatusOf(m_path).st_nlink, nlink_t{2});
        QCOMPARE(m_dir->otherEntries(), QStringList{"records"});
    }

    // Extended attributes (and so ACLs) and the mode go over to the new file.
    void extendedAttributesAndTheModeAreKept()
    {
        QVERIFY(putFileBytes(m_path, WorkedExampleWahl));
        QCOMPARE(::chmod(m_path.c_str(), 0640), 0);
        const std::string value = "ordner-7";
        if (::setxattr(m_path.c_str(), "user.hopsala.sync", value.data(), value.size(), 0) != 0)
            QSKIP(qPrintable(QStringLiteral("the file system takes no user.* attributes: %1").arg(std::strerror(errno))));
        WriteSettings(m_path, Profi());
        QCOMPARE(fileBytes(m_path), ProfiBytes);
        char read[64] = {};
        QCOMPARE(::getxattr(m_path.c_str(), "user.hopsala.sync", read, sizeof read), static_cast<ssize_t>(value.size()));
        QCOMPARE(std::string(read), value);
        QCOMPARE(StatusOf(m_path).st_mode & 07777u, 0640u);
        QCOMPARE(m_dir->otherEntries(), QStringList{"records"});
    }

    // The owner and group of the file stay when root writes another user's file.
    void theOwnerAndGroupAreKept()
    {
        if (::geteuid() != 0)
            QSKIP("only root may give a new file to another owner; this run is not root");
        QVERIFY(putFileBytes(m_path, WorkedExampleWahl));
        QCOMPARE(::chown(m_path.c_str(), Nobody, NoGroup), 0);
        WriteSettings(m_path, Profi());
        QCOMPARE(fileBytes(m_path), ProfiBytes);
        QCOMPARE(StatusOf(m_path).st_uid, Nobody);
        QCOMPARE(StatusOf(m_path).st_gid, NoGroup);
    }

    // A player who may write the file but not its directory (a shared
    // folder) still saves: the file is written in place. A new file in such
    // a directory is refused with an error that names the directory.
    void aWritableFileInADirectoryWithoutWritePermissionIsWritten()
    {
        const std::string shared = at("records/geteilt");
        QVERIFY(QDir().mkpath(QString::fromStdString(shared)));
        const std::string path = shared + "/Wahl.txt";
        QVERIFY(putFileBytes(path, WorkedExampleWahl));
        if (::geteuid() == 0)
            QCOMPARE(::chown(path.c_str(), Nobody, NoGroup), 0);
        QCOMPARE(::chmod(shared.c_str(), 0555), 0);
        const ino_t inode = StatusOf(path).st_ino;
        const std::optional<std::string> said = writeAsPlayer([&] {
            return ErrorOf([&] { WriteSettings(path, Profi()); }) + "|"
                   + ErrorOf([&] { WriteSettings(shared + "/Neu.txt", Profi()); });
        });
        ::chmod(shared.c_str(), 0755);
        QVERIFY(said.has_value());
        if (said->starts_with("skip: "))
            QSKIP(said->c_str() + 6);
        QCOMPARE(QString::fromStdString(*said),
                 "|Die Datei „" + QString::fromStdString(shared) + "/Neu.txt“ kann nicht geschrieben werden: Im Verzeichnis „"
                     + QString::fromStdString(shared) + "“ darf keine neue Datei angelegt werden.");
        QCOMPARE(fileBytes(path), ProfiBytes);
        QCOMPARE(StatusOf(path).st_ino, inode);
    }

    // In a sticky folder that everyone may write, another user's writable
    // file is written in place, so it keeps its owner, instead of becoming
    // the writer's own file.
    void anotherUsersFileInAStickyFolderKeepsItsOwner()
    {
        if (::geteuid() != 0)
            QSKIP("needs a second user to own the file; this run is not root");
        const std::string sticky = at("records/alle");
        QVERIFY(QDir().mkpath(QString::fromStdString(sticky)));
        QCOMPARE(::chmod(sticky.c_str(), 01777), 0);
        const std::string path = sticky + "/Wahl.txt";
        QVERIFY(putFileBytes(path, WorkedExampleWahl));
        QCOMPARE(::chmod(path.c_str(), 0666), 0);
        const ino_t inode = StatusOf(path).st_ino;
        const std::optional<std::string> said = writeAsPlayer([&] { return ErrorOf([&] { WriteSettings(path, Profi()); }); });
        QVERIFY(said.has_value());
        if (said->starts_with("skip: "))
            QSKIP(said->c_str() + 6);
        QCOMPARE(QString::fromStdString(*said), QString());
        QCOMPARE(fileBytes(path), ProfiBytes);
        QCOMPARE(StatusOf(path).st_ino, inode);
        QCOMPARE(StatusOf(path).st_uid, uid_t{0});
        QCOMPARE(hiddenFiles(), QStringList());
    }
};

QTEST_APPLESS_MAIN(TestIdentity)
#include "test_identity.moc"
