#pragma once

#include "game/clock.h"
#include "platform/bell.h"
#include "platform/desktopdoubleclick.h"
#include "platform/steadytimer.h"
#include "ui/qttoolkit.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class DesktopWatch;
class MainForm;
class QPushButton;

// What the main window takes from the system; each one not given is the
// real one. Tests give their own.
struct HopsalaPorts
{
    std::unique_ptr<Clock> clock = {};            // the time of day for the game
    SettingsPlace settingsPlace = {};             // where Wahl.txt lies; none: as the build decides
    std::unique_ptr<Bell> bell = {};              // the beep: the desktop's sound
    std::unique_ptr<Bell> windowSystemBell = {};  // the beep when bell cannot sound
    std::unique_ptr<MonotonicClock> ticks = {};   // what TimerB keeps its period against
    std::function<void()> terminate = {};         // ends the process after a failure
};

// The main window Hopsala: its controls and menu, and the events that run
// the game's handlers. It owns the toolkit over its controls, the clock, the
// bell and the game logic.
class Hopsala : public QMainWindow
{
    Q_OBJECT

public:
    explicit Hopsala(HopsalaPorts ports = {});
    ~Hopsala() override;

    // Runs Form_Load. Throws when Wahl.txt cannot be read; the window must
    // not be shown then.
    void load();
    // Shows the window in the middle of the screen.
    void showCentred();

    QtToolkit &toolkit() { return *m_toolkit; }
    const DesktopDoubleClick &desktopDoubleClick() const { return m_doubleClick; }

    // The effective period of both timers; TimerB keeps it against the
    // monotonic clock.
    static constexpr int TickMilliseconds = 16;

signals:
    // The first frame is on the screen; what is not needed for it can come.
    void firstFrameShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls(QWidget *client);
    void createMenu();
    void describeControls();
    void afterFirstFrame();
    void connectEvents();
    template <class Timer>
    void connectTimer(Timer *timer, void (MainForm::*handler)());
    void connectLevel(QAction *item, void (MainForm::*handler)());
    // Every event that runs a handler comes through here: a failing handler
    // ends the program.
    void runHandler(void (MainForm::*handler)());

    // The ball's double-click settings, as the desktop publishes them.
    DesktopDoubleClick m_doubleClick;
    DesktopWatch *m_desktopWatch = nullptr; // from the first frame on
    MainWindowControls m_controls;
    QPushButton *m_cmdLos = nullptr;
    QAction *m_mnuHigh = nullptr;
    QAction *m_mnuEnd = nullptr;
    std::unique_ptr<MonotonicClock> m_ticks;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<Bell> m_bell;
    std::unique_ptr<Bell> m_windowSystemBell;
    std::unique_ptr<QtToolkit> m_toolkit;
    std::unique_ptr<MainForm> m_form;
};
