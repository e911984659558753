#pragma once

#include "support/fakeclock.h"
#include "support/wahlbytes.h"
#include "ui/bell.h"
#include "ui/hopsala.h"
#include "ui/steadytimer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <QTimer>

#include <functional>
#include <memory>

// Counts its rings and sounds or not, as the test sets.
class RecordingBell : public Bell
{
public:
    bool ring() override
    {
        ++rings;
        return sounds;
    }
    int rings = 0;
    bool sounds = true;
};

// A program directory of its own holding Wahl.txt, and the real main window
// over it with a clock and a bell the test controls. A failure ends nothing:
// it is counted in terminations; the window system's bell is counted in
// fallbackBeeps.
struct MainWindowFixture
{
    QTemporaryDir dir;
    FakeClock *clock = nullptr;
    RecordingBell *bell = nullptr;
    std::unique_ptr<Hopsala> window;
    int terminations = 0;
    int fallbackBeeps = 0;

    explicit MainWindowFixture(const QByteArray &wahl = DefaultWahl)
    {
        if (!wahl.isNull())
            writeWahl(wahl);
        auto ownClock = std::make_unique<FakeClock>(TimeOfDay{10, 20, 5});
        clock = ownClock.get();
        auto ownBell = std::make_unique<RecordingBell>();
        bell = ownBell.get();
        window = std::make_unique<Hopsala>(std::move(ownClock), dir.path().toStdString(),
                                           std::move(ownBell));
        window->toolkit().setTerminate([this] { ++terminations; });
        window->toolkit().setFallbackBeep([this] { ++fallbackBeeps; });
    }

    QString wahlPath() const { return dir.filePath(QStringLiteral("Wahl.txt")); }

    void writeWahl(const QByteArray &bytes) const
    {
        QFile file(wahlPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray wahlBytes() const
    {
        QFile file(wahlPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Loads and shows the window as the program does at start.
    bool start()
    {
        window->load();
        window->showCentred();
        return QTest::qWaitForWindowExposed(window.get());
    }

    template<typename T = QWidget>
    T *control(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    QString caption(const char *name) const { return control<QLabel>(name)->text(); }
    bool timerActive(const char *name) const
    {
        if (auto *steady = control<SteadyTimer>(name))
            return steady->isActive();
        return control<QTimer>(name)->isActive();
    }
};

// What a modal box showed before it was answered.
struct SeenDialog
{
    QString title;
    QString text;
    QString value; // the pre-filled text of an input box
    bool isMessageBox = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

inline QStringList buttonTexts(const QWidget *dialog)
{
    QStringList texts;
    for (const QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
        texts << button->text();
    return texts;
}

// Answers every modal box that opens: a message box with OK, an input box
// with the given name typed into it and OK, or with Cancel. Records what
// each one showed.
class ModalAnswerer : public QObject
{
public:
    enum class Input { Ok, Cancel };

    explicit ModalAnswerer(QString name = {}, Input input = Input::Ok)
        : m_name(std::move(name))
        , m_input(input)
    {
        connect(&m_poll, &QTimer::timeout, this, &ModalAnswerer::answer);
        m_poll.start(10);
    }

    QList<SeenDialog> seen;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal->property("answered").toBool())
            return;
        modal->setProperty("answered", true);
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen.append({box->windowTitle(), box->text(), {}, true, box->icon(), buttonTexts(box)});
            box->button(QMessageBox::Ok)->click();
        } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
            seen.append({input->windowTitle(), input->labelText(), input->textValue(), false,
                         QMessageBox::NoIcon, buttonTexts(input)});
            auto *edit = input->findChild<QLineEdit *>();
            edit->clear();
            // keyClicks() knows only ASCII; a name may hold umlauts.
            for (QChar c : std::as_const(m_name))
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.toUpper().unicode()), QString(c),
                                    Qt::NoModifier);
            const auto button = m_input == Input::Ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
            input->findChild<QDialogButtonBox *>()->button(button)->click();
        }
    }

    QString m_name;
    Input m_input;
    QTimer m_poll;
};

// The point of a widget's centre in the coordinates of its window.
inline QPoint centreInWindow(const QWidget *widget)
{
    return widget->mapTo(widget->window(), widget->rect().center());
}

// Real input on the ball, as the window system delivers it: press and
// release, or press, release, double click, release.
inline void clickBall(QWidget &window, bool twice)
{
    QWindow *handle = window.windowHandle();
    const QPoint at = centreInWindow(window.findChild<QWidget *>(QStringLiteral("Ball")));
    if (twice)
        QTest::mouseDClick(handle, Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(handle, Qt::LeftButton, {}, at);
}

