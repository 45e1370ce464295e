#pragma once
// Enables a form's Apply button when the user changes one of the watched controls (edit
// boxes, check boxes and radio buttons, combo boxes, up-down controls) and disables it again
// once the changes are applied. The tracker listens to the form itself: the view only says
// what to watch and what applying means.
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "shell/controls/parent_hook_win.h"

class CApplyTracker {
public:
    // Writes the changes; true when they were applied (Apply then disables itself).
    using ApplyAction = std::function<bool()>;

    CApplyTracker() = default;
    CApplyTracker(const CApplyTracker&) = delete;
    CApplyTracker& operator=(const CApplyTracker&) = delete;

    // Watches the form that holds the Apply button (control `applyId`), which starts disabled.
    // A click on Apply runs `apply`.
    bool Attach(HWND form, UINT applyId, ApplyAction apply);
    void Detach();

    // Watches control `id` of the form; its kind is told by its window class.
    void Watch(UINT id);
    void Watch(std::initializer_list<UINT> ids);

    // Something the user changed outside the watched controls (a new icon, say).
    void MarkChanged();
    // Applies the pending changes now, as a click on Apply does; true when applied.
    bool Apply();
    // Forgets pending changes without applying them (a new record is shown).
    void Reset();
    bool HasChanges() const { return m_changed; }

    // While the view fills the controls itself, their change notifications are not the user's:
    // a Quiet scope ignores them.
    class Quiet {
    public:
        explicit Quiet(CApplyTracker& tracker) : m_tracker(tracker) { ++m_tracker.m_quiet; }
        ~Quiet() { --m_tracker.m_quiet; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        CApplyTracker& m_tracker;
    };

private:
    enum class Kind { Edit, Button, Combo, UpDown, Other };
    struct Watched {
        UINT id;
        Kind kind;
    };
    std::optional<LRESULT> OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool IsChange(Kind kind, UINT code) const;
    const Watched* Find(UINT id) const;
    void SetChanged(bool changed);

    HWND m_form = nullptr;
    UINT m_applyId = 0;
    ApplyAction m_apply;
    CParentHook m_hook;
    std::vector<Watched> m_watched;
    bool m_changed = false;
    int m_quiet = 0;
};
