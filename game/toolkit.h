#pragma once

#include <string>

// Where a player's Wahl.txt lies.
struct SettingsPlace
{
    // Its folder, without a trailing separator unless it is a root
    // directory; empty where the system does not tell it.
    std::string directory = {};
    // The installed Wahl.txt that the player's first start copies into the
    // folder, in an install that belongs to the system; empty where the file
    // lies beside the program, which must find it there when it starts.
    std::string defaultFile = {};
};

// The operations of the windowing toolkit and the system that the game's
// handlers use: a port of the game, plain C++. ui/ implements it on Qt, and
// the tests drive the game through a fake. Lengths are twips (15 to a pixel),
// relative to the main window's client area; texts are UTF-8.
class Toolkit
{
public:
    enum class Label { lblZeit, lblPunkte, lblPunkte2 };
    enum class Timer { TimerB, TimerZ };
    enum class MenuItem { mnuAnf, mnuFor, mnuPro };

    virtual ~Toolkit() = default;

    // The text read back is exactly the text last set.
    virtual void setCaption(Label label, const std::string &text) = 0;
    virtual std::string caption(Label label) const = 0;

    // A disabled timer delivers no further tick.
    virtual void setTimerEnabled(Timer timer, bool enabled) = 0;
    virtual bool isTimerEnabled(Timer timer) const = 0;

    virtual void setChecked(MenuItem item, bool checked) = 0;
    virtual bool isChecked(MenuItem item) const = 0;

    // The ball's position reads back as the window holds it: exactly as set
    // (single precision), or at the nearest whole pixel in a window that
    // snaps; the game reads it anew after every write.
    virtual float ballLeft() const = 0;
    virtual void setBallLeft(float twips) = 0;
    virtual float ballTop() const = 0;
    virtual void setBallTop(float twips) = 0;
    virtual float ballWidth() const = 0;
    virtual float ballHeight() const = 0;

    virtual float lineX1() const = 0;
    virtual void setLineY2(float twips) = 0;

    // The main window's outer size: frame, title bar and menu bar included.
    virtual float windowOuterWidth() const = 0;
    virtual float windowOuterHeight() const = 0;

    // Modal, only OK, no icon, titled with the program's title; returns when
    // closed.
    virtual void messageBox(const std::string &text) = 0;
    // Modal; the edited text on OK, the empty text on Cancel.
    virtual std::string inputBox(const std::string &prompt, const std::string &title,
                                 const std::string &defaultText) = 0;
    // Modal, titled with the program's title, no icon: the text and the
    // buttons "Wiederholen" and "Aufgeben"; true when the player tries again.
    virtual bool retryBox(const std::string &text) = 0;
    // The system's standard sound; returns at once.
    virtual void beep() = 0;

    // Where Wahl.txt lies: the folder of the program file, or, in an install
    // that belongs to the system, the player's own data folder.
    virtual SettingsPlace settingsPlace() const = 0;

    // Opens the high-score window modeless, or brings it to the front when it
    // is open already.
    virtual void showHighScores() = 0;

    // Ends the program at once: all windows close, no further handler runs.
    virtual void quit() = 0;
};
