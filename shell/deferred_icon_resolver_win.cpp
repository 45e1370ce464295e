#include "shell/deferred_icon_resolver_win.h"

#include <unordered_set>

namespace {
// The resolvers alive now: a tick that arrives for a resolver that is gone finds nothing.
std::unordered_set<CDeferredTimer*>& LiveTimers()
{
    static std::unordered_set<CDeferredTimer*> timers;
    return timers;
}
} // namespace

CDeferredTimer::CDeferredTimer() { LiveTimers().insert(this); }

CDeferredTimer::~CDeferredTimer()
{
    StopTimer();
    LiveTimers().erase(this);
}

void CDeferredTimer::SetOwner(HWND owner)
{
    if (owner == m_owner)
        return;
    const bool wasRunning = m_running;
    StopTimer();
    m_owner = owner;
    if (wasRunning)
        StartTimer();
}

// The timer's id is the resolver's address: unique among the owner's timers, and mapped back
// through the set of live resolvers. The timer procedure receives the ticks, so the owner's
// window procedure needs no part in it.
void CDeferredTimer::StartTimer()
{
    if (!m_owner || !IsWindow(m_owner)) {
        m_running = false; // the owner is gone, and its timers with it
        return;
    }
    if (m_running)
        return;
    m_running = SetTimer(m_owner, reinterpret_cast<UINT_PTR>(this), 0, OnTimer) != 0;
}

void CDeferredTimer::StopTimer()
{
    if (!m_running)
        return;
    KillTimer(m_owner, reinterpret_cast<UINT_PTR>(this));
    m_running = false;
}

void CALLBACK CDeferredTimer::OnTimer(HWND window, UINT, UINT_PTR id, DWORD)
{
    auto* timer = reinterpret_cast<CDeferredTimer*>(id);
    if (!LiveTimers().count(timer) || timer->m_owner != window) {
        KillTimer(window, id); // left over from a resolver that has gone
        return;
    }
    // A resolution that pumps messages must not start the next one inside itself.
    if (timer->m_ticking)
        return;
    timer->m_ticking = true;
    bool more = false;
    try {
        more = timer->Tick();
    } catch (...) {
        // Exceptions never cross the timer procedure; the next tick tries the next item.
        more = true;
    }
    if (!LiveTimers().count(timer))
        return; // the resolution ended the resolver's owner, and the resolver with it
    timer->m_ticking = false;
    if (!more)
        timer->StopTimer();
}
