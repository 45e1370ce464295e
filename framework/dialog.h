#pragma once
// Modal and modeless dialogs from a resource template or a template built in memory. The
// object is bound at WM_INITDIALOG; messages go to OnMessage, commands of controls are first
// reflected to the control's own object, then to OnCommand.
#include <windows.h>

#include <optional>

#include "framework/command.h"
#include "framework/dialog_template.h"

class CDialog : public CCommandTarget {
public:
    explicit CDialog(UINT templateId);
    explicit CDialog(const CDialogTemplate* memoryTemplate);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    INT_PTR DoModal(HWND parent);
    bool CreateModeless(HWND parent);
    void DestroyModeless();
    void EndDialog(INT_PTR result);
    HWND Hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    bool IsModal() const { return m_modal; }

    static CDialog* FromHandle(HWND hwnd);

protected:
    virtual bool OnInitDialog() { return true; }
    // A result when handled; the base handles WM_COMMAND.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // True when handled; the base turns IDOK and IDCANCEL into OnOK and OnCancel.
    virtual bool OnCommand(WORD id, WORD code);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // After the window is gone.
    virtual void OnDestroyed() {}

    HWND m_hwnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT m_templateId = 0;
    const CDialogTemplate* m_memoryTemplate = nullptr;
    bool m_modal = false;
};
