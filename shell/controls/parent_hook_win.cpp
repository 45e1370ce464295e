#include "shell/controls/parent_hook_win.h"

#include <commctrl.h>

bool CParentHook::Install(HWND parent, Handler handler)
{
    Remove();
    if (!parent || !SetWindowSubclass(parent, HookProc, reinterpret_cast<UINT_PTR>(this),
                                      reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_parent = parent;
    m_handler = std::move(handler);
    return true;
}

void CParentHook::Remove()
{
    if (m_parent && IsWindow(m_parent))
        RemoveWindowSubclass(m_parent, HookProc, reinterpret_cast<UINT_PTR>(this));
    m_parent = nullptr;
    m_handler = nullptr;
}

LRESULT CALLBACK CParentHook::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data)
{
    auto* self = reinterpret_cast<CParentHook*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, HookProc, id);
        self->m_parent = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    if (self->m_handler) {
        try {
            if (auto result = self->m_handler(message, wParam, lParam))
                return *result;
        } catch (...) {
            // Exceptions never cross the window procedure.
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void EnsureCommonControls()
{
    static const bool started = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)started;
}
