#include "game/mainform.h"

namespace {

// The ball bounces this far inside the window's outer size, which includes
// the frame, the title bar and the menu bar.
constexpr float BottomMargin = 750.0f;
constexpr float RightMargin = 100.0f;

} // namespace

// The reads and writes go to the toolkit in this order on purpose: every test
// sees the position that the same tick has just written, and a sign change
// takes effect on the next tick. Two tests that hold in one tick negate a
// step twice, so it keeps its sign.
void MainForm::TimerB_Timer()
{
    Toolkit &t = m_toolkit;
    t.setBallTop(static_cast<float>(t.ballTop() + static_cast<float>(m_state.StepY)));
    t.setBallLeft(static_cast<float>(t.ballLeft() + static_cast<float>(m_state.StepX)));

    const float ballHeight = t.ballHeight();
    const float bottomBound = t.windowOuterHeight() - BottomMargin;
    if (bottomBound <= ballHeight + t.ballTop())
        m_state.StepY = static_cast<std::int16_t>(-m_state.StepY);

    const float ballWidth = t.ballWidth();
    const float rightBound = t.windowOuterWidth() - RightMargin;
    if (rightBound <= ballWidth + t.ballLeft())
        m_state.StepX = static_cast<std::int16_t>(-m_state.StepX);

    if (t.ballTop() <= 0.0f)
        m_state.StepY = static_cast<std::int16_t>(-m_state.StepY);

    const float leftBound = t.lineX1();
    if (t.ballLeft() <= leftBound)
        m_state.StepX = static_cast<std::int16_t>(-m_state.StepX);
}

void MainForm::Form_Resize()
{
    m_toolkit.setLineY2(m_toolkit.windowOuterHeight());
}
