#pragma once

#include "game/clock.h"
#include "game/toolkit.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

// Drives the game without a window: every operation lands in plain members
// that a test sets up and asserts on, and every effect is also logged in
// order, so that a test can ask what happened before what.
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

    std::vector<std::string> messages;
    std::vector<InputBoxCall> inputBoxes;
    std::deque<std::string> answers; // given in order; "" when none is left
    int beeps = 0;
    int highScoreWindows = 0;
    int quits = 0;
    std::vector<std::string> log;

    void setCaption(Label label, const std::string &text) override
    {
        captions[label] = text;
        log.push_back("caption " + name(label) + " " + text);
    }
    std::string caption(Label label) const override
    {
        const auto it = captions.find(label);
        return it == captions.end() ? std::string() : it->second;
    }
    void setTimerEnabled(Timer timer, bool enabled) override
    {
        timers[timer] = enabled;
        log.push_back(std::string(timer == Timer::TimerB ? "TimerB" : "TimerZ") + (enabled ? " on" : " off"));
    }
    bool isTimerEnabled(Timer timer) const override { return timers.at(timer); }
    void setChecked(MenuItem item, bool checked) override
    {
        checks[item] = checked;
        log.push_back("check " + name(item) + (checked ? " on" : " off"));
    }
    bool isChecked(MenuItem item) const override { return checks.at(item); }

    float ballLeft() const override { return left; }
    void setBallLeft(float twips) override { left = twips; }
    float ballTop() const override { return top; }
    void setBallTop(float twips) override { top = twips; }
    float ballWidth() const override { return width; }
    float ballHeight() const override { return height; }
    float lineX1() const override { return x1; }
    void setLineY2(float twips) override { y2 = twips; }
    float windowOuterWidth() const override { return outerWidth; }
    float windowOuterHeight() const override { return outerHeight; }

    void messageBox(const std::string &text) override
    {
        messages.push_back(text);
        log.push_back("messageBox " + text);
    }
    std::string inputBox(const std::string &prompt, const std::string &title,
                         const std::string &defaultText) override
    {
        inputBoxes.push_back({prompt, title, defaultText});
        log.push_back("inputBox " + prompt);
        if (answers.empty())
            return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override
    {
        ++beeps;
        log.push_back("beep");
    }
    std::string programDirectory() const override { return directory; }
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
};

// A clock that stands where the test puts it.
class FakeClock : public Clock
{
public:
    TimeOfDay time{12, 0, 0};
    TimeOfDay now() const override { return time; }
    void set(int hours, int minutes, int seconds) { time = {hours, minutes, seconds}; }
};
