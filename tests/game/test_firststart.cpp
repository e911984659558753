#include "support/gamefixture.h"
#include "support/privatemount.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <optional>
#include <sys/mount.h>

// A player's start where the install belongs to the system: their Wahl.txt
// lies in their own data folder, and their first start makes it from the
// installed default.
class FirstStartTest : public QObject
{
    Q_OBJECT

    // The installed default, apart from any player's folder.
    ProgramFolder m_installed{WorkedExampleWahl};

    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void aFirstStartMakesThePlayersFileFromTheDefaultAndLaterStartsKeepIt()
    {
        // The data folder and those above it are made for the player alone, the default is
        // copied byte for byte and read; a file that is there is the player's own.
        GameFixture f({}, GameFixture::NotLoaded);
        const QString data = f.path() + "/.local/share/hopsala";
        f.toolkit.directory = data.toStdString();
        f.toolkit.defaultFile = m_installed.wahlPath().toStdString();
        f.form.Form_Load();
        QCOMPARE(fileBytes(data + "/Wahl.txt"), WorkedExampleWahl);
        QCOMPARE(f.form.state().HighScoreTable[0].name, FieldValue::text("Maus"));
        constexpr QFileDevice::Permissions GroupAndOthers(0x00ff);
        QCOMPARE(QFile::permissions(f.path() + "/.local") & GroupAndOthers, QFileDevice::Permissions());
        const QByteArray own = wahlFile({"\"Profi\"", "\"31\",\"J\xf6rg\"", "9,\"Igel\"", "0,\"unbekannt\""});
        QVERIFY(putFileBytes(data + "/Wahl.txt", own));
        MainForm(f.toolkit, f.clock).Form_Load();
        QCOMPARE(fileBytes(data + "/Wahl.txt"), own);
        QCOMPARE(entries(data), QStringList{"Wahl.txt"});
    }

    void aDataFolderInTroubleIsSaidAndNothingIsHalfWritten_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("told");
        QTest::newRow("no home") << "" << "Der Ordner für deine Rekorde lässt sich nicht bestimmen";
        QTest::newRow("a file where the folder should be") << "file" << "/.local“ lässt sich nicht anlegen. An "
                                                                        "seiner Stelle steht eine Datei.";
        QTest::newRow("a read-only home") << "read-only" << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("a full disk") << "full" << "Kein Platz mehr auf dem Datenträger.";
    }
    void aDataFolderInTroubleIsSaidAndNothingIsHalfWritten()
    {
        // Trouble with the player's data folder ends the start with the file's own kind of
        // message, naming the cause; no file is left behind, whole or in part. The disks
        // are the test's own, in a mount namespace of this process alone.
        QFETCH(QString, trouble);
        QFETCH(QString, told);
        GameFixture f({}, GameFixture::NotLoaded);
        std::optional<PrivateMount> disk;
        if (trouble == "read-only" || trouble == "full")
            disk.emplace(f.path(), "size=64k", trouble == "read-only" ? MS_RDONLY : 0);
        if (disk && !disk->isMounted())
            QSKIP("Only root may mount a disk of the test's own.");
        if (trouble == "full")
            QVERIFY(fillDisk(f.path()));
        if (trouble == "file")
            QVERIFY(putFileBytes(f.path() + "/.local", "x"));
        const QString data = f.path() + "/.local/share/hopsala";
        f.toolkit.directory = trouble.isEmpty() ? std::string() : data.toStdString();
        f.toolkit.defaultFile = m_installed.wahlPath().toStdString();
        try {
            f.form.Form_Load();
            QFAIL("the start went on");
        } catch (const std::runtime_error &error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(told), error.what());
        }
        QVERIFY(entries(data).isEmpty());
    }
};

QTEST_GUILESS_MAIN(FirstStartTest)
#include "test_firststart.moc"
