#pragma once
// The capture hot key between "&Start" and the next showing of the main window: registered on
// a window with identifier -1, armed while registered, and given up again when the main
// window is restored (or when the arming ends with its view).
#include <windows.h>

#include <functional>

class CHotKeyArming {
public:
    using Pressed = std::function<void()>;

    CHotKeyArming() = default;
    ~CHotKeyArming() { Disarm(); }
    CHotKeyArming(const CHotKeyArming&) = delete;
    CHotKeyArming& operator=(const CHotKeyArming&) = delete;

    // Registers the hot key on `target` (identifier -1); when that fails, unregisters
    // identifier -1 and tries once more. On success it is armed: every hot-key message with
    // identifier -1 that the thread's message loop sees calls `pressed`, until `mainWindow`
    // is shown again (restored or maximised) or Disarm is called.
    bool Arm(HWND target, HWND mainWindow, unsigned virtualKey, unsigned modifiers, Pressed pressed);
    void Disarm();
    bool Armed() const { return m_armed; }

    // Whether a message is the capture hot key's.
    static bool IsCaptureHotKey(UINT message, WPARAM wParam);

private:
    static LRESULT CALLBACK WatchMainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR self);
    bool m_armed = false;
    HWND m_target = nullptr;
    HWND m_mainWindow = nullptr;
    int m_observer = 0;
    Pressed m_pressed;
};
