#include "shell/controls/tooltip_tracker.h"

#include <cstddef>

int FindToolAt(const std::vector<balloon::Rect>& tools, balloon::Point point)
{
    for (std::size_t i = 0; i < tools.size(); ++i)
        if (tools[i].Contains(point))
            return static_cast<int>(i);
    return -1;
}

void CTooltipTracker::OnMouseMove(int tool, bool enabled, int showDelay)
{
    if (tool < 0) {
        Reset();
        return;
    }
    if (tool == m_tool)
        return;
    if (m_state == State::Shown)
        m_listener.OnHide();
    m_tool = tool;
    m_state = State::Idle;
    m_listener.OnToolChanged(tool);
    if (enabled) {
        // A delay of 0 (or less) still waits for one tick, so the tool under the cursor is
        // checked once more before the balloon appears.
        m_countdown = showDelay < 1 ? 1 : showDelay;
        m_state = State::CountingDown;
    }
}

void CTooltipTracker::OnTick(int tool, bool overOwner)
{
    switch (m_state) {
    case State::Idle:
        return;
    case State::CountingDown:
        if (--m_countdown > 0)
            return;
        if (overOwner && tool == m_tool) {
            m_state = State::Shown;
            m_listener.OnShow(m_tool);
        } else {
            Reset();
        }
        return;
    case State::Shown:
        if (!overOwner || tool != m_tool)
            Reset();
        return;
    }
}

void CTooltipTracker::Reset()
{
    const bool hadTool = m_tool >= 0;
    if (m_state == State::Shown)
        m_listener.OnHide();
    m_state = State::Idle;
    m_tool = -1;
    m_countdown = 0;
    // The status text is cleared once, not at every movement over empty space.
    if (hadTool)
        m_listener.OnToolChanged(-1);
}
