#pragma once

#include "game/toolkit.h"
#include "platform/bell.h"
#include "ui/high.h"

#include <QPointer>

#include <exception>
#include <functional>
#include <string>

class BallImage;
class LineShape;
class QAction;
class QLabel;
class QMainWindow;
class QTimer;
class SteadyTimer;
class QWidget;

// The controls of the main window that the game's handlers reach.
struct MainWindowControls
{
    QMainWindow *window = nullptr;
    QLabel *lblZeit = nullptr;
    QLabel *lblPunkte = nullptr;
    QLabel *lblPunkte2 = nullptr;
    SteadyTimer *TimerB = nullptr;
    QTimer *TimerZ = nullptr;
    QAction *mnuAnf = nullptr;
    QAction *mnuFor = nullptr;
    QAction *mnuPro = nullptr;
    BallImage *Ball = nullptr;
    LineShape *Line1 = nullptr;
};

// The toolkit operations on the Qt widgets of the main window, and the one
// way a failure ends the program. The beep sounds through the given bell,
// or the window system's bell when that cannot sound.
class QtToolkit : public Toolkit
{
public:
    // settingsPlace: where Wahl.txt lies, as the build decides; tests give
    // another one. Both bells must outlive the toolkit. terminate ends the
    // process after a failure; none ends it with status 1.
    QtToolkit(const MainWindowControls &controls, SettingsPlace settingsPlace, Bell &bell,
              Bell &windowSystemBell, std::function<void()> terminate = {});
    ~QtToolkit() override;

    void setCaption(Label label, const std::string &text) override;
    std::string caption(Label label) const override;
    void setTimerEnabled(Timer timer, bool enabled) override;
    bool isTimerEnabled(Timer timer) const override;
    void setChecked(MenuItem item, bool checked) override;
    bool isChecked(MenuItem item) const override;
    float ballLeft() const override;
    void setBallLeft(float twips) override;
    float ballTop() const override;
    void setBallTop(float twips) override;
    float ballWidth() const override;
    float ballHeight() const override;
    float lineX1() const override;
    void setLineY2(float twips) override;
    float windowOuterWidth() const override;
    float windowOuterHeight() const override;
    void messageBox(const std::string &text) override;
    std::string inputBox(const std::string &prompt, const std::string &title,
                         const std::string &defaultText) override;
    bool retryBox(const std::string &text) override;
    void beep() override;
    SettingsPlace settingsPlace() const override;
    void showHighScores() override;
    void quit() override;

    // After quit() no handler may run any more.
    bool hasQuit() const { return m_quit; }

    // The high-score window while it is open.
    High *highScores() const { return m_high; }

    // Tells the player and stderr about a failure, in the same German words.
    void report(const std::string &message);
    // A handler or the start-up failed: stops the game, reports the failure
    // in German and ends the program with status 1 through terminate. The
    // one way the program ends on a failure.
    void fail(const std::exception &error);

private:
    QLabel *label(Label label) const;
    QAction *menuItem(MenuItem item) const;
    QWidget *dialogParent() const;
    void stopTimers();

    MainWindowControls m_controls;
    SettingsPlace m_settingsPlace;
    std::function<void()> m_terminate;
    Bell &m_bell;
    Bell &m_windowSystemBell;
    QPointer<High> m_high;
    bool m_quit = false;
};
