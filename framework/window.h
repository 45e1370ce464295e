#pragma once
// The window base of the framework. Every framework window runs through one window
// procedure that binds its C++ object at WM_NCCREATE; each class maps messages to member
// functions in one table (see DispatchMessageMap) and leaves the rest to its base class.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

struct WindowClassSpec {
    const char* name;
    UINT style = CS_DBLCLKS;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr; // null: the arrow
    HICON icon = nullptr;
};

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    bool Create(DWORD exStyle, const std::string& title, DWORD style, int x, int y, int width, int height,
                HWND parent, UINT_PTR menuOrId);
    void Destroy();
    bool IsVisible() const { return m_hwnd && IsWindowVisible(m_hwnd); }
    void Show(bool show);
    RECT ClientRect() const;
    void SetText(const std::string& text);
    std::string Text() const;

    // The framework object bound to a window (framework class or subclassed control), or null.
    static CWindow* FromHandle(HWND hwnd);

    // Binds this object to an existing control and routes its messages through OnMessage
    // (the control's own procedure stays the default).
    bool Subclass(HWND hwnd);

    // WM_COMMAND / WM_NOTIFY that the parent reflects back to the control's own object.
    // Returns a result when handled.
    virtual std::optional<LRESULT> OnReflectedCommand(UINT code) { (void)code; return std::nullopt; }
    virtual std::optional<LRESULT> OnReflectedNotify(NMHDR* header) { (void)header; return std::nullopt; }

protected:
    virtual WindowClassSpec ClassSpec() const;
    // Handles one message; the base reflects control notifications and calls Default.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After the last message of the window; the object may delete itself here.
    virtual void OnFinalMessage() {}
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT Deliver(CWindow* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC m_previousProc = nullptr; // subclassed controls only
};

// One row of a message table: a message and the member function that handles it.
template <class T>
struct MessageEntry {
    UINT message;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

// Calls the handler of `message` from `map`, or returns nothing when the table has none.
template <class T, size_t N>
std::optional<LRESULT> DispatchMessageMap(T& self, const MessageEntry<T> (&map)[N], UINT message, WPARAM wParam,
                                          LPARAM lParam)
{
    for (const MessageEntry<T>& entry : map)
        if (entry.message == message)
            return (self.*entry.handler)(wParam, lParam);
    return std::nullopt;
}

// Reflects WM_COMMAND / WM_NOTIFY from a child control to the control's object; returns a
// result when that object handled it.
std::optional<LRESULT> ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam);

// Text of a string resource of the program, or `fallback` when it has none. The program may
// install its own loader (for example one that picks the interface language).
std::string LoadFrameworkString(UINT id, const char* fallback = "");
using StringLoader = std::string (*)(UINT id);
void SetStringLoader(StringLoader loader);
