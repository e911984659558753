#include "support/gamefixture.h"
#include "support/privatemount.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>

// A record against a Wahl.txt in trouble: removed, cut short, damaged, a
// folder in its place or a disk that is full, at the end of the game or
// while the name is asked for.
class FileTroubleTest : public QObject
{
    Q_OBJECT

private slots:
    void aFileRemovedDuringTheGameIsMadeAnewWithTheRecord()
    {
        // A file removed during the game holds no records: the game is one, and the write
        // makes the file anew.
        GameFixture f;
        QFile::remove(f.wahlPath());
        f.toolkit.answers = {"Fuchs"};
        playGame(f, 5);
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Anf\xe4nger\"", "\"5\",\"Fuchs\"", ",", ","}));
    }

    void aFullDiskIsSaidBeforeTheNameIsAskedFor_data()
    {
        QTest::addColumn<QByteArray>("disk"); // tmpfs options
        QTest::addColumn<int>("fill");        // none, or what fillDisk fills
        QTest::addColumn<bool>("full");
        QTest::newRow("no free blocks") << QByteArray("size=64k") << int(Fill::Blocks) << true;
        QTest::newRow("no free inodes") << QByteArray("nr_inodes=16") << int(Fill::Inodes) << true;
        QTest::newRow("no inodes counted") << QByteArray("size=1m,nr_inodes=0") << -1 << false;
    }
    void aFullDiskIsSaidBeforeTheNameIsAskedFor()
    {
        // The player hears of a disk that cannot take the record, with no block or no inode
        // free, before typing a name, and may try again once there is room; a disk that
        // counts no inodes at all (btrfs, a tmpfs with nr_inodes=0) is not full for that. The
        // disks are the test's own: a tmpfs over the program folder, in a mount namespace of
        // this process alone.
        QFETCH(QByteArray, disk);
        QFETCH(int, fill);
        QFETCH(bool, full);
        GameFixture f;
        const PrivateMount mount(f.path(), disk.constData());
        if (!mount.isMounted())
            QSKIP("Only root may mount a small disk of the test's own.");
        QVERIFY(f.writeWahl(WorkedExampleWahl));
        QVERIFY(fill < 0 || fillDisk(f.path(), Fill(fill)));
        f.toolkit.answers = {"Fuchs"};
        f.toolkit.retries = {true};
        bool beforeTheName = false;
        f.toolkit.onEffect = [&] {
            if (f.toolkit.log.back().starts_with("retryBox"))
                beforeTheName = f.toolkit.inputBoxes.empty() && QFile::remove(f.filePath("voll"));
        };
        playGame(f, 20);
        QCOMPARE(f.toolkit.retryBoxes.size(), std::size_t(full ? 1 : 0));
        QVERIFY(!full || f.toolkit.retryBoxes[0].find("Kein Platz mehr") != std::string::npos);
        QCOMPARE(beforeTheName, full);
        QCOMPARE(f.wahlBytes(), wahlFile({"\"Anf\xe4nger\"", "\"20\",\"Fuchs\"", "9,\"Igel\"", "0,\"unbekannt\""}));
    }

    void aRecordTheFileCannotTakeIsOfferedAgainUntilStoredOrGivenUp_data()
    {
        QTest::addColumn<bool>("retry");
        QTest::newRow("tried again once the folder is gone") << true;
        QTest::newRow("given up") << false;
    }
    void aRecordTheFileCannotTakeIsOfferedAgainUntilStoredOrGivenUp()
    {
        // Wahl.txt replaced by a folder while the name is typed: the player is told why and
        // may try again, with the record kept; only giving up loses it.
        QFETCH(bool, retry);
        GameFixture f;
        f.toolkit.answers = {"Fuchs"};
        f.toolkit.retries = {retry};
        f.toolkit.onEffect = [&f] {
            if (f.toolkit.log.back().starts_with("inputBox") && QFile::remove(f.wahlPath()))
                QDir().mkdir(f.wahlPath());
            if (f.toolkit.log.back().starts_with("retryBox") && QDir().rmdir(f.wahlPath()))
                f.writeWahl(WorkedExampleWahl);
        };
        try {
            playGame(f, 20);
            QVERIFY(retry);
        } catch (const SettingsError &error) {
            QVERIFY(!retry);
            QVERIFY2(std::string(error.what()).ends_with("Der Rekord (20 Doppelklicks von „Fuchs“) wird nicht "
                                                         "gespeichert. Das Spiel wird beendet."), error.what());
        }
        QCOMPARE(f.toolkit.retryBoxes.size(), std::size_t(1));
        QVERIFY(f.toolkit.retryBoxes[0].find("Verzeichnis") != std::string::npos);
        QVERIFY(f.toolkit.retryBoxes[0].ends_with("(20 Doppelklicks von „Fuchs“) ist noch nicht gespeichert."));
        QCOMPARE(f.wahlBytes(), retry ? wahlFile({"\"Anf\xe4nger\"", "\"20\",\"Fuchs\"", "9,\"Igel\"", "0,\"unbekannt\""})
                                      : WorkedExampleWahl);
    }
    void whatTheGameEarnedOutlivesTheFileChangedDuringTheGame_data()
    {
        QTest::addColumn<QByteArray>("meanwhile"); // none: a folder in its place until tried again
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("told");
        const QByteArray anew = wahlFile({"\"Anf\xe4nger\"", "\"20\",\"Fuchs\"", "9,\"Igel\"", "0,\"unbekannt\""});
        QTest::newRow("cut short") << wahlFile({"\"Anf\xe4nger\"", "12,\"Maus\""}) << anew << "unvollständig";
        QTest::newRow("a folder, then the file back") << QByteArray() << anew << "Verzeichnis";
        QTest::newRow("a score that is no number")
            << wahlFile({"\"Anf\xe4nger\"", "\"zw\xf6lf\",\"Maus\"", "9 ,Igel", "0,\"unbekannt\""})
            << wahlFile({"\"Anf\xe4nger\"", "\"20\",\"Fuchs\"", "9 ,Igel", "0,\"unbekannt\""}) << "keine Zahl";
    }
    void whatTheGameEarnedOutlivesTheFileChangedDuringTheGame()
    {
        // Wahl.txt cut short, a folder in its place or a score edited to no number by the end
        // of the game: the player is told, and the game's count is still a record, stored
        // with the name; the lines it does not change stay byte for byte.
        QFETCH(QByteArray, meanwhile);
        QFETCH(QByteArray, expected);
        QFETCH(QString, told);
        GameFixture f;
        f.toolkit.answers = {"Fuchs"};
        f.toolkit.retries = {true};
        f.toolkit.onEffect = [&] {
            const std::string &last = f.toolkit.log.back();
            if (last.starts_with("messageBox Ende!") && meanwhile.isEmpty() && QFile::remove(f.wahlPath()))
                QDir().mkdir(f.wahlPath());
            else if (last.starts_with("messageBox Ende!"))
                f.writeWahl(meanwhile);
            if (last.starts_with("retryBox") && QDir().rmdir(f.wahlPath()))
                f.writeWahl(WorkedExampleWahl);
        };
        playGame(f, 20);
        QCOMPARE(f.wahlBytes(), expected);
        QCOMPARE(f.toolkit.inputBoxes.size(), std::size_t(1));
        QCOMPARE(f.toolkit.retryBoxes.size(), std::size_t(meanwhile.isEmpty() ? 1 : 0));
        QVERIFY(std::any_of(f.toolkit.log.begin(), f.toolkit.log.end(),
                            [&](const std::string &effect) { return effect.find(told.toStdString()) != std::string::npos; }));
    }
};

QTEST_GUILESS_MAIN(FileTroubleTest)
#include "test_filetrouble.moc"
