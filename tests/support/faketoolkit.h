#pragma once

#include "game/toolkit.h"

#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Drives the game without a window: every operation lands in plain members
// that a test sets up and asserts on. Every effect is logged in order in
// log, so that a test can ask what happened before what; trace holds every
// call, reads with the value they gave and writes with the value they got,
// so that a test can check what a handler read against what it had written.
class FakeToolkit : public Toolkit
{
public:
    struct InputBoxCall
    {
        std::string prompt, title, defaultText;
    };

    std::map<Label, std::string> captions;
    std::map<Timer, bool> timers{{Timer::TimerB, false}, {Timer::TimerZ, false}};
    std::map<MenuItem, bool> checks{{MenuItem::mnuAnf, true}, {MenuItem::mnuFor, false}, {MenuItem::mnuPro, false}};
    float left = 2280, top = 1200, width = 750, height = 750;
    float x1 = 1320, y2 = 3120;
    float outerWidth = 4800, outerHeight = 3840;
    std::string directory;
    std::string defaultFile; // none: Wahl.txt lies beside the program
    // A real window holds the ball at whole pixels: a position set is read
    // back rounded to the nearest multiple of 15 twips.
    bool snapsToPixels = false;

    std::vector<std::string> messages;
    std::vector<InputBoxCall> inputBoxes;
    std::deque<std::string> answers; // given in order; "" when none is left
    std::vector<std::string> retryBoxes;
    std::deque<bool> retries; // given in order; giving up when none is left
    int beeps = 0;
    int highScoreWindows = 0;
    int quits = 0;
    std::vector<std::string> log;
    mutable std::vector<std::string> trace;
    // Called after every effect, once it is in log.
    std::function<void()> onEffect;

    void setCaption(Label label, const std::string &text) override
    {
        captions[label] = text;
        effect("caption " + name(label) + " " + text);
    }
    std::string caption(Label label) const override
    {
        const auto it = captions.find(label);
        return read("caption " + name(label), it == captions.end() ? std::string() : it->second);
    }
    void setTimerEnabled(Timer timer, bool enabled) override
    {
        timers[timer] = enabled;
        effect(std::string(timer == Timer::TimerB ? "TimerB" : "TimerZ") + (enabled ? " on" : " off"));
    }
    bool isTimerEnabled(Timer timer) const override
    {
        read(std::string("isTimerEnabled ") + (timer == Timer::TimerB ? "TimerB" : "TimerZ"), timers.at(timer));
        return timers.at(timer);
    }
    void setChecked(MenuItem item, bool checked) override
    {
        checks[item] = checked;
        effect("check " + name(item) + (checked ? " on" : " off"));
    }
    bool isChecked(MenuItem item) const override
    {
        read("isChecked " + name(item), checks.at(item));
        return checks.at(item);
    }

    float ballLeft() const override { return read("ballLeft", left); }
    void setBallLeft(float twips) override { left = ballPosition(written("setBallLeft", twips)); }
    float ballTop() const override { return read("ballTop", top); }
    void setBallTop(float twips) override { top = ballPosition(written("setBallTop", twips)); }
    float ballWidth() const override { return read("ballWidth", width); }
    float ballHeight() const override { return read("ballHeight", height); }
    float lineX1() const override { return read("lineX1", x1); }
    void setLineY2(float twips) override { y2 = written("setLineY2", twips); }
    float windowOuterWidth() const override { return read("windowOuterWidth", outerWidth); }
    float windowOuterHeight() const override { return read("windowOuterHeight", outerHeight); }

    void messageBox(const std::string &text) override
    {
        messages.push_back(text);
        effect("messageBox " + text);
    }
    bool retryBox(const std::string &text) override
    {
        retryBoxes.push_back(text);
        effect("retryBox " + text);
        const bool retry = !retries.empty() && retries.front();
        if (!retries.empty())
            retries.pop_front();
        return retry;
    }
    std::string inputBox(const std::string &prompt, const std::string &title,
                         const std::string &defaultText) override
    {
        inputBoxes.push_back({prompt, title, defaultText});
        effect("inputBox " + prompt);
        if (answers.empty())
            return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override { ++beeps; effect("beep"); }
    SettingsPlace settingsPlace() const override
    {
        read("settingsPlace", directory + " " + defaultFile);
        return {directory, defaultFile};
    }
    void showHighScores() override { ++highScoreWindows; }
    void quit() override { ++quits; }

    bool gameRuns() const { return timers.at(Timer::TimerZ); }

    static std::string name(Label label)
    {
        switch (label) {
        case Label::lblZeit: return "lblZeit";
        case Label::lblPunkte: return "lblPunkte";
        case Label::lblPunkte2: return "lblPunkte2";
        }
        return {};
    }
    static std::string name(MenuItem item)
    {
        switch (item) {
        case MenuItem::mnuAnf: return "mnuAnf";
        case MenuItem::mnuFor: return "mnuFor";
        case MenuItem::mnuPro: return "mnuPro";
        }
        return {};
    }

private:
    template<typename T>
    const T &read(const std::string &what, const T &value) const
    {
        std::ostringstream entry;
        entry << what << " = " << std::boolalpha << value;
        trace.push_back(entry.str());
        return value;
    }
    float written(const std::string &what, float twips)
    {
        std::ostringstream entry;
        entry << what << " " << twips;
        trace.push_back(entry.str());
        return twips;
    }
    float ballPosition(float twips) const
    {
        return snapsToPixels ? std::round(twips / 15.0f) * 15.0f : twips;
    }
    void effect(const std::string &entry)
    {
        trace.push_back(entry);
        log.push_back(entry);
        if (onEffect)
            onEffect();
    }
};
