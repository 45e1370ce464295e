#pragma once
// Lets a control see what its parent window receives about it (owner drawing, colour
// requests, notifications) without the parent's help: the parent is subclassed for as long
// as the hook lives. Several hooks may sit on one parent.
#include <windows.h>

#include <functional>
#include <optional>

class CParentHook {
public:
    // Returns a result to answer the message in the parent's place, or nothing to let it pass.
    using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

    CParentHook() = default;
    ~CParentHook() { Remove(); }
    CParentHook(const CParentHook&) = delete;
    CParentHook& operator=(const CParentHook&) = delete;

    bool Install(HWND parent, Handler handler);
    void Remove();
    HWND Parent() const { return m_parent; }

private:
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    HWND m_parent = nullptr;
    Handler m_handler;
};

// The common-control classes need their library started once.
void EnsureCommonControls();
