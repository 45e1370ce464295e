#pragma once
// Resolves the icons of a list or tree a little at a time: items wait in a queue and one is
// resolved per tick of a zero-delay timer on the owner window, so a long list appears at once
// with generic icons and gets its own icons while the user can already work. The timer stops
// when the queue is empty, when Stop is called (another tab is shown), and with the owner
// window or the resolver, whichever goes first.
#include <windows.h>

#include <deque>
#include <functional>
#include <utility>

// The timer plumbing shared by every item type.
class CDeferredTimer {
public:
    CDeferredTimer();
    virtual ~CDeferredTimer();
    CDeferredTimer(const CDeferredTimer&) = delete;
    CDeferredTimer& operator=(const CDeferredTimer&) = delete;

    // The window whose timer drives the resolution; its destruction ends the timer.
    void SetOwner(HWND owner);
    bool IsRunning() const { return m_running; }

protected:
    void StartTimer();
    void StopTimer();
    // One tick: resolve one item; false when nothing is left.
    virtual bool Tick() = 0;

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    HWND m_owner = nullptr;
    bool m_running = false;
    bool m_ticking = false;
};

template <class Item>
class CDeferredIconResolver : public CDeferredTimer {
public:
    // Resolves one item's icon; false when the item needs nothing any more (deleted since),
    // so that the next one is resolved in the same tick.
    using Resolve = std::function<bool(const Item& item)>;

    explicit CDeferredIconResolver(Resolve resolve) : m_resolve(std::move(resolve)) {}
    ~CDeferredIconResolver() override { StopTimer(); }

    // Queues an item and starts the timer if needed.
    void Add(Item item)
    {
        m_pending.push_back(std::move(item));
        StartTimer();
    }
    // Drops every waiting item and stops the timer.
    void Stop()
    {
        m_pending.clear();
        StopTimer();
    }
    size_t Pending() const { return m_pending.size(); }

protected:
    bool Tick() override
    {
        while (!m_pending.empty()) {
            Item item = std::move(m_pending.front());
            m_pending.pop_front();
            if (m_resolve(item))
                break; // one item per tick
        }
        return !m_pending.empty();
    }

private:
    Resolve m_resolve;
    std::deque<Item> m_pending;
};
