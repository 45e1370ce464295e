#pragma once
// A form view: a dialog template shown as a child of the frame's view area, a command
// target, and a printable document with the four printing hooks.
#include "framework/dialog.h"
#include "framework/print.h"

class CFormView : public CDialog, public IPrintable {
public:
    explicit CFormView(UINT templateId) : CDialog(templateId) {}
    explicit CFormView(const CDialogTemplate* layout) : CDialog(layout) {}

    // Creates the view as a child of `frame` with the given id, hidden until placed.
    bool CreateView(HWND frame, UINT id);
    void OnPrint(HDC dc, CPrintInfo& info) override { (void)dc; (void)info; }

protected:
    bool OnInitDialog() override { return false; } // the frame decides the focus
    // Enter and Escape do not close a view.
    void OnOK() override {}
    void OnCancel() override {}
};
