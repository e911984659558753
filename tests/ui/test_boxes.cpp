#include "support/mainwindowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

namespace {

// The style of a desktop that puts pictures on dialog buttons.
class ButtonPicturesStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// Looks at each modal box once it shows, then closes it.
class BoxInspector : public QObject
{
public:
    explicit BoxInspector(std::function<void(QDialog *)> look)
        : m_look(std::move(look))
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            ++seen;
            m_look(box);
            box->reject();
        });
        m_poll.start(10);
    }

    int seen = 0;

private:
    std::function<void(QDialog *)> m_look;
    QTimer m_poll;
};

QStringList buttonsWithPictures(const QDialog *box)
{
    QStringList names;
    for (const QAbstractButton *button : box->findChild<QDialogButtonBox *>()->buttons()) {
        if (!button->icon().isNull())
            names << button->text();
    }
    return names;
}

// The entries of a menu as a person reads them: no access key marks, no
// shortcuts.
QStringList entryTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text().section(u'\t', 0, 0).remove(u'&');
    }
    return texts;
}

} // namespace

class TestBoxes : public QObject
{
    Q_OBJECT

private slots:
    void theBoxesShowNoPicturesOnTheirButtons();
    void theEndReportStaysOnOneLineAndTheBoxGrows();
    void theNameFieldsContextMenuIsGerman();
    void ctrlCCopiesTheMessage();
};

// Words alone on the buttons of the end box and the name box, even where the
// desktop's style would add pictures.
void TestBoxes::theBoxesShowNoPicturesOnTheirButtons()
{
    QStyle *previous = QApplication::style();
    auto *style = new ButtonPicturesStyle;
    style->setBaseStyle(previous->name().isEmpty() ? nullptr : QStyleFactory::create(previous->name()));
    QApplication::setStyle(style);
    QDialogButtonBox plain(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QVERIFY(!plain.button(QDialogButtonBox::Ok)->icon().isNull());

    MainWindowFixture f;
    QVERIFY(f.start());
    QList<QStringList> withPictures;
    BoxInspector inspector([&](QDialog *box) { withPictures << buttonsWithPictures(box); });
    f.window->toolkit().messageBox("Ende! Es wurden 3 Doppelklicks geschafft. Fehler:1");
    f.window->toolkit().inputBox("Neuer Rekord: 3 Doppelklicks! Trag deinen Namen ein:",
                                 "Highscore", "unbekannt");
    QCOMPARE(inspector.seen, 2);
    QCOMPARE(withPictures, (QList<QStringList>{{}, {}}));
}

// The end report keeps "Fehler:" and its number on the line of the double
// clicks at any scale; the box is as wide as the line and fits the screen.
void TestBoxes::theEndReportStaysOnOneLineAndTheBoxGrows()
{
    const QString report = QStringLiteral("Ende! Es wurden 14 Doppelklicks geschafft. Fehler:3");
    MainWindowFixture f;
    QVERIFY(f.start());
    QRect text;
    QRect box;
    QRect screen;
    int lineSpacing = 0;
    int lineWidth = 0;
    BoxInspector inspector([&](QDialog *dialog) {
        const auto *label = dialog->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        text = label->contentsRect();
        lineSpacing = label->fontMetrics().lineSpacing();
        lineWidth = label->fontMetrics().horizontalAdvance(report);
        box = dialog->frameGeometry();
        screen = dialog->screen()->availableGeometry();
    });
    f.window->toolkit().messageBox(report.toStdString());
    QCOMPARE(inspector.seen, 1);
    QVERIFY2(text.height() < 2 * lineSpacing, qPrintable(QStringLiteral("%1 x %2, line %3 x %4, box %5 x %6").arg(text.width()).arg(text.height()).arg(lineWidth).arg(lineSpacing).arg(box.width()).arg(box.height())));
    QVERIFY2(text.width() >= lineWidth, qPrintable(QStringLiteral("%1 < %2").arg(text.width()).arg(lineWidth)));
    QVERIFY(screen.contains(box));
}

// Qt's own entries in the name field's context menu read German.
void TestBoxes::theNameFieldsContextMenuIsGerman()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QStringList entries;
    BoxInspector inspector([&](QDialog *box) {
        const std::unique_ptr<QMenu> menu(box->findChild<QLineEdit *>()->createStandardContextMenu());
        entries = entryTexts(menu.get());
    });
    f.window->toolkit().inputBox("Neuer Rekord: 3 Doppelklicks! Trag deinen Namen ein:",
                                 "Highscore", "unbekannt");
    QCOMPARE(inspector.seen, 1);
    for (const char *entry : {"Rückgängig", "Ausschneiden", "Einfügen", "Alles auswählen"})
        QVERIFY2(entries.contains(QString::fromUtf8(entry)), qPrintable(entries.join(u'|')));
}

// Ctrl+C in a message box puts its text on the clipboard, to be pasted
// elsewhere.
void TestBoxes::ctrlCCopiesTheMessage()
{
    const QString report = QStringLiteral("Ende! Es wurden 2 Doppelklicks geschafft. Fehler:0");
    QGuiApplication::clipboard()->clear();
    MainWindowFixture f;
    QVERIFY(f.start());
    QString copied;
    BoxInspector inspector([&](QDialog *box) {
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        copied = QGuiApplication::clipboard()->text();
    });
    f.window->toolkit().messageBox(report.toStdString());
    QCOMPARE(inspector.seen, 1);
    QCOMPARE(copied, report);
}

QTEST_MAIN(TestBoxes)
#include "test_boxes.moc"
