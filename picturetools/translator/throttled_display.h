#pragma once
// A working display whose file bar is checked at most every few hundredths of a second. The
// codecs report a position every ten rows and the colour reduction every 640 colours, a few
// thousand reports per picture; each check repaints the bar and empties the message queue,
// which under Wine costs about a millisecond, far more than the work between two reports.
// Cancel is still seen within one interval.
#include <chrono>
#include <cstdint>
#include <functional>

#include "base/progress.h"
#include "shell/working_display.h"

// Milliseconds of a steady clock; tests pass their own.
using MillisecondClock = std::function<int64_t()>;
int64_t SteadyMilliseconds();

// Passes Begin, End, ranges and texts on at once, and a position only when `interval`
// milliseconds have passed since the last one passed on (the first one always). Between
// checks it answers whether the target has been cancelled.
class CThrottledProgress : public CQnProgress {
public:
    CThrottledProgress(CQnProgress& target, int64_t intervalMs, MillisecondClock clock = SteadyMilliseconds);

    void Begin() override;
    void End(bool force = false) override;
    void SetRange(int64_t low, int64_t high, bool redraw = true) override;
    bool SetPos(int64_t position, bool redraw = true) override;
    void SetText(const std::string& text, bool redraw = true) override;

private:
    CQnProgress& m_target;
    int64_t m_interval;
    MillisecondClock m_clock;
    bool m_passedAny = false;
    int64_t m_lastPassed = 0;
};

// The working window as the translator's run uses it: everything passed on, the file bar
// through a CThrottledProgress.
class CThrottledDisplay : public IWorkingDisplay {
public:
    static constexpr int64_t kCheckIntervalMs = 40;

    explicit CThrottledDisplay(IWorkingDisplay& display, MillisecondClock clock = SteadyMilliseconds)
        : m_display(display), m_fileProgress(display.FileProgress(), kCheckIntervalMs, std::move(clock))
    {
    }

    void SetLine1(const std::string& text) override { m_display.SetLine1(text); }
    void SetLine2(const std::string& text) override { m_display.SetLine2(text); }
    bool SetFilesDone(int done) override { return m_display.SetFilesDone(done); }
    bool ResetFileBar() override { return m_display.ResetFileBar(); }
    CQnProgress& FileProgress() override { return m_fileProgress; }

private:
    IWorkingDisplay& m_display;
    CThrottledProgress m_fileProgress;
};
