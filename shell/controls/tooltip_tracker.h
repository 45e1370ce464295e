#pragma once
// Tooltip tracking, apart from any window: which tool is current, the countdown before the
// balloon shows, and when it hides. The owner reports mouse movement and timer ticks with the
// tool under the cursor; the tracker answers through its listener.
#include <vector>

#include "shell/controls/balloon_layout.h"

class ITooltipListener {
public:
    virtual ~ITooltipListener() = default;
    // The current tool changed; `tool` is -1 when there is none any more.
    virtual void OnToolChanged(int tool) = 0;
    virtual void OnShow(int tool) = 0;
    virtual void OnHide() = 0;
};

// The first tool, in list order, whose rectangle holds the point; -1 when none does.
int FindToolAt(const std::vector<balloon::Rect>& tools, balloon::Point point);

class CTooltipTracker {
public:
    enum class State { Idle, CountingDown, Shown };

    explicit CTooltipTracker(ITooltipListener& listener) : m_listener(listener) {}

    // Mouse movement; `tool` is the tool under the cursor, -1 for none (also when the cursor is
    // over a window that does not belong to the owner).
    void OnMouseMove(int tool, bool enabled, int showDelay);
    // A tick of the tooltip timer; `tool` as above, `overOwner` whether the window under the
    // cursor belongs to the owner.
    void OnTick(int tool, bool overOwner);
    // Hides the tip and forgets the current tool (the owner's tools changed or it went away).
    void Reset();

    State CurrentState() const { return m_state; }
    int CurrentTool() const { return m_tool; }

private:
    ITooltipListener& m_listener;
    State m_state = State::Idle;
    int m_tool = -1;
    int m_countdown = 0;
};
