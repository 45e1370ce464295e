#include "picturetools/translator/throttled_display.h"

int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CThrottledProgress::CThrottledProgress(CQnProgress& target, int64_t intervalMs, MillisecondClock clock)
    : m_target(target), m_interval(intervalMs), m_clock(std::move(clock))
{
}

void CThrottledProgress::Begin()
{
    CQnProgress::Begin();
    m_target.Begin();
}

void CThrottledProgress::End(bool force)
{
    CQnProgress::End(force);
    m_target.End(force);
}

void CThrottledProgress::SetRange(int64_t low, int64_t high, bool redraw)
{
    CQnProgress::SetRange(low, high, redraw);
    m_target.SetRange(low, high, redraw);
}

bool CThrottledProgress::SetPos(int64_t position, bool redraw)
{
    CQnProgress::SetPos(position, redraw);
    const int64_t now = m_clock();
    if (!m_passedAny || now - m_lastPassed >= m_interval) {
        m_passedAny = true;
        m_lastPassed = now;
        return m_target.SetPos(position, redraw);
    }
    return !m_target.IsCancelled();
}

void CThrottledProgress::SetText(const std::string& text, bool redraw)
{
    CQnProgress::SetText(text, redraw);
    m_target.SetText(text, redraw);
}
