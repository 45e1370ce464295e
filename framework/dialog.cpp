#include "framework/dialog.h"

#include "framework/window.h"

namespace {
const char kDialogProperty[] = "QuentaFrameworkDialog";

bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
} // namespace

CDialog::CDialog(UINT templateId) : m_templateId(templateId) {}

CDialog::CDialog(const CDialogTemplate* memoryTemplate) : m_memoryTemplate(memoryTemplate) {}

CDialog::~CDialog()
{
    if (m_hwnd) {
        RemovePropA(m_hwnd, kDialogProperty);
        if (!m_modal)
            DestroyWindow(m_hwnd);
    }
}

INT_PTR CDialog::DoModal(HWND parent)
{
    m_modal = true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (m_memoryTemplate)
        return DialogBoxIndirectParamA(instance, m_memoryTemplate->Data(), parent, DialogProc, self);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(m_templateId), parent, DialogProc, self);
}

bool CDialog::CreateModeless(HWND parent)
{
    m_modal = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (m_memoryTemplate)
        CreateDialogIndirectParamA(instance, m_memoryTemplate->Data(), parent, DialogProc, self);
    else
        CreateDialogParamA(instance, MAKEINTRESOURCEA(m_templateId), parent, DialogProc, self);
    return m_hwnd != nullptr;
}

void CDialog::DestroyModeless()
{
    if (m_hwnd && !m_modal)
        DestroyWindow(m_hwnd);
}

void CDialog::EndDialog(INT_PTR result)
{
    if (!m_hwnd)
        return;
    if (m_modal)
        ::EndDialog(m_hwnd, result);
    else
        DestroyWindow(m_hwnd);
}

CDialog* CDialog::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<CDialog*>(GetPropA(hwnd, kDialogProperty)) : nullptr;
}

std::optional<LRESULT> CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        if (auto result = ReflectToControl(message, wParam, lParam))
            return result;
        if (message == WM_COMMAND && OnCommand(LOWORD(wParam), HIWORD(wParam)))
            return 0;
    }
    return std::nullopt;
}

bool CDialog::OnCommand(WORD id, WORD code)
{
    (void)code;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = FromHandle(hwnd);
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hwnd = hwnd;
        SetPropA(hwnd, kDialogProperty, self);
        try {
            return self->OnInitDialog() ? TRUE : FALSE;
        } catch (...) {
            return TRUE;
        }
    }
    if (!self)
        return FALSE;
    std::optional<LRESULT> result;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        result.reset(); // exceptions never cross the dialog procedure
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kDialogProperty);
        self->m_hwnd = nullptr;
        self->OnDestroyed();
        return FALSE;
    }
    if (!result)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(*result);
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, *result);
    return TRUE;
}
