#include "support/gamefixture.h"
#include "support/levelrows.h"

#include <QTest>

#include <vector>

namespace {

// The game's state and the file as they stood at one effect on the window.
struct Moment
{
    std::string effect;
    int stepX, stepY;
    FieldValue level;
    FileStamp file;
};

// Records a Moment at every effect from now on.
void watch(GameFixture &f, std::vector<Moment> &moments)
{
    f.toolkit.onEffect = [&f, &moments] {
        const GameState &s = f.form.state();
        moments.push_back({f.toolkit.log.back(), s.StepX, s.StepY, s.LevelName, f.wahlStamp()});
    };
}

std::vector<std::string> effects(const std::vector<Moment> &moments)
{
    std::vector<std::string> names;
    for (const Moment &moment : moments)
        names.push_back(moment.effect);
    return names;
}

// The marks as a level sets them, mnuAnf, mnuFor, mnuPro in that order.
std::vector<std::string> marksFor(int level)
{
    const char *items[] = {"mnuAnf", "mnuFor", "mnuPro"};
    std::vector<std::string> marks;
    for (int i = 0; i < 3; ++i)
        marks.push_back(std::string("check ") + items[i] + (i == level ? " on" : " off"));
    return marks;
}

} // namespace

class OrderTest : public QObject
{
    Q_OBJECT

private slots:
    void aLevelHandlerSetsStepsMarksTimersCountersLevelNameAndWritesInThatOrder_data() { addLevelRows(); }
    void aLevelHandlerSetsStepsMarksTimersCountersLevelNameAndWritesInThatOrder()
    {
        // During a game with bounced steps: the steps are set before the first mark, the
        // marks go in menu order, TimerZ stops before TimerB, lblPunkte is reset before
        // lblPunkte2, and LevelName changes and the file is written only after all that.
        QFETCH(int, level);
        QFETCH(int, stepX);
        QFETCH(int, stepY);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, levelName);
        const QByteArray stored = wahlFile({"\"stufe\"", "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""});
        GameFixture f(stored);
        f.startAt(10, 20, 5);
        f.form.state().StepX = -8;
        f.form.state().StepY = -11;
        const FileStamp before = f.wahlStamp();
        std::vector<Moment> moments;
        watch(f, moments);
        void (MainForm::*handlers[])() = {&MainForm::mnuAnf_Click, &MainForm::mnuFor_Click,
                                          &MainForm::mnuPro_Click};
        (f.form.*handlers[level])();

        std::vector<std::string> expected = marksFor(level);
        expected.insert(expected.end(), {"TimerZ off", "TimerB off", "caption lblPunkte 0",
                                         "caption lblPunkte2 0"});
        QCOMPARE(effects(moments), expected);
        for (const Moment &moment : moments) {
            QCOMPARE(moment.stepX, stepX);
            QCOMPARE(moment.stepY, stepY);
            QCOMPARE(moment.level, FieldValue::text("stufe"));
            QCOMPARE(moment.file, before);
        }
        QCOMPARE(f.form.state().LevelName, FieldValue::text(levelName.toStdString()));
        QCOMPARE(f.wahlBytes(), wahlFile({name, "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}));
    }

    void formLoadSetsTheStepsBeforeTheMarksAndTheMarksInMenuOrder_data() { addLevelRows(); }
    void formLoadSetsTheStepsBeforeTheMarksAndTheMarksInMenuOrder()
    {
        // Start-up touches nothing but the three marks, in menu order, once the steps stand.
        QFETCH(int, level);
        QFETCH(int, stepX);
        QFETCH(int, stepY);
        QFETCH(QByteArray, name);
        GameFixture f(wahlFile({name, "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}), GameFixture::NotLoaded);
        std::vector<Moment> moments;
        watch(f, moments);
        f.form.Form_Load();
        QCOMPARE(effects(moments), marksFor(level));
        for (const Moment &moment : moments) {
            QCOMPARE(moment.stepX, stepX);
            QCOMPARE(moment.stepY, stepY);
        }
    }

    void formLoadAsksWhereWahlTxtLiesBeforeAnythingElse()
    {
        // Where Wahl.txt lies is asked for first, and once; the file is read before any mark is set.
        GameFixture f(wahlFile({"\"Profi\"", "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""}), GameFixture::NotLoaded);
        QFile::remove(f.wahlPath());
        QVERIFY_THROWS_EXCEPTION(SettingsError, f.form.Form_Load());
        const std::vector<std::string> expected{"settingsPlace = " + f.toolkit.directory + " "};
        QCOMPARE(f.toolkit.trace, expected);
    }
};

QTEST_GUILESS_MAIN(OrderTest)
#include "test_order.moc"
