#include "shell/apply_tracker_win.h"

#include <commctrl.h>

#include <algorithm>

bool CApplyTracker::Attach(HWND form, UINT applyId, ApplyAction apply)
{
    Detach();
    if (!form || !m_hook.Install(form, [this](UINT message, WPARAM wParam, LPARAM lParam) {
            return OnFormMessage(message, wParam, lParam);
        }))
        return false;
    m_form = form;
    m_applyId = applyId;
    m_apply = std::move(apply);
    SetChanged(false);
    return true;
}

void CApplyTracker::Detach()
{
    m_hook.Remove();
    m_form = nullptr;
    m_watched.clear();
    m_changed = false;
}

void CApplyTracker::Watch(UINT id)
{
    HWND control = m_form ? GetDlgItem(m_form, static_cast<int>(id)) : nullptr;
    char name[64] = {};
    if (control)
        GetClassNameA(control, name, sizeof name);
    Kind kind = Kind::Other;
    if (lstrcmpiA(name, WC_EDITA) == 0)
        kind = Kind::Edit;
    else if (lstrcmpiA(name, WC_BUTTONA) == 0)
        kind = Kind::Button;
    else if (lstrcmpiA(name, WC_COMBOBOXA) == 0 || lstrcmpiA(name, WC_COMBOBOXEXA) == 0)
        kind = Kind::Combo;
    else if (lstrcmpiA(name, UPDOWN_CLASSA) == 0)
        kind = Kind::UpDown;
    m_watched.push_back({id, kind});
}

void CApplyTracker::Watch(std::initializer_list<UINT> ids)
{
    for (UINT id : ids)
        Watch(id);
}

void CApplyTracker::MarkChanged() { SetChanged(true); }

void CApplyTracker::Reset() { SetChanged(false); }

bool CApplyTracker::Apply()
{
    if (m_apply && !m_apply())
        return false; // still pending: Apply stays enabled
    SetChanged(false);
    return true;
}

void CApplyTracker::SetChanged(bool changed)
{
    m_changed = changed;
    if (m_form)
        if (HWND button = GetDlgItem(m_form, static_cast<int>(m_applyId)))
            EnableWindow(button, changed);
}

const CApplyTracker::Watched* CApplyTracker::Find(UINT id) const
{
    auto found = std::find_if(m_watched.begin(), m_watched.end(), [id](const Watched& w) { return w.id == id; });
    return found == m_watched.end() ? nullptr : &*found;
}

bool CApplyTracker::IsChange(Kind kind, UINT code) const
{
    switch (kind) {
    case Kind::Edit: return code == EN_CHANGE;
    case Kind::Button: return code == BN_CLICKED;
    case Kind::Combo: return code == CBN_SELCHANGE || code == CBN_EDITCHANGE;
    default: return false;
    }
}

std::optional<LRESULT> CApplyTracker::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam) {
        const UINT id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == m_applyId && code == BN_CLICKED) {
            Apply();
            return 0;
        }
        if (const Watched* watched = Find(id); watched && m_quiet == 0 && IsChange(watched->kind, code))
            SetChanged(true);
        return std::nullopt; // the view may want the notification as well
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (const Watched* watched = Find(static_cast<UINT>(header->idFrom));
            watched && m_quiet == 0 && watched->kind == Kind::UpDown && header->code == UDN_DELTAPOS)
            SetChanged(true);
    }
    return std::nullopt;
}
