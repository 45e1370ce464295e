#include "picturetools/capture/hot_key_arming_win.h"

#include <commctrl.h>

#include "framework/frame.h"
#include "picturetools/capture/capture_rules.h"

static_assert(kHotKeyAlt == MOD_ALT && kHotKeyControl == MOD_CONTROL && kHotKeyShift == MOD_SHIFT);

namespace {
constexpr UINT_PTR kWatchId = 0x51534E50; // the main window's subclass while armed
}

bool CHotKeyArming::IsCaptureHotKey(UINT message, WPARAM wParam)
{
    return message == WM_HOTKEY && static_cast<int>(wParam) == kCaptureHotKeyId;
}

bool CHotKeyArming::Arm(HWND target, HWND mainWindow, unsigned virtualKey, unsigned modifiers, Pressed pressed)
{
    Disarm();
    bool registered = RegisterHotKey(target, kCaptureHotKeyId, modifiers, virtualKey) != FALSE;
    if (!registered) {
        UnregisterHotKey(target, kCaptureHotKeyId);
        registered = RegisterHotKey(target, kCaptureHotKeyId, modifiers, virtualKey) != FALSE;
    }
    if (!registered)
        return false;
    m_armed = true;
    m_target = target;
    m_mainWindow = mainWindow;
    m_pressed = std::move(pressed);
    m_observer = AddMessageObserver([this](const MSG& msg) {
        if (m_armed && IsCaptureHotKey(msg.message, msg.wParam) && m_pressed) {
            // The callback may disarm (and so free this observer's state): keep it alive.
            const Pressed pressedNow = m_pressed;
            pressedNow();
        }
    });
    if (m_mainWindow)
        SetWindowSubclass(m_mainWindow, WatchMainWindow, kWatchId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void CHotKeyArming::Disarm()
{
    if (!m_armed)
        return;
    m_armed = false;
    UnregisterHotKey(m_target, kCaptureHotKeyId);
    if (m_observer)
        RemoveMessageObserver(m_observer);
    if (m_mainWindow && IsWindow(m_mainWindow))
        RemoveWindowSubclass(m_mainWindow, WatchMainWindow, kWatchId);
    m_observer = 0;
    m_target = m_mainWindow = nullptr;
}

LRESULT CALLBACK CHotKeyArming::WatchMainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self)
{
    // Shown again: restored from the task bar or by a capture that ends the session.
    if (message == WM_SIZE && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED))
        reinterpret_cast<CHotKeyArming*>(self)->Disarm();
    else if (message == WM_NCDESTROY)
        reinterpret_cast<CHotKeyArming*>(self)->Disarm();
    return DefSubclassProc(window, message, wParam, lParam);
}
