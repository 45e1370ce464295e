#pragma once
// The new data type dialog (template 173, "Quenta - New Data Type"): an extension, a type name
// (typed, or one of the known types, whose command and icon it then takes), a command line
// and an icon. OK writes the type through the data type table.
#include <windows.h>

#include <string>

#include "framework/dialog.h"

class CNewTypeDlg : public CDialog {
public:
    CNewTypeDlg();
    ~CNewTypeDlg() override;
    // The table index of the type written, or -1.
    int ResultIndex() const { return m_result; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    void OnOK() override;

private:
    void OnTypeChosen();
    void OnSelectIcon();
    void OnSelectProgram();
    void ShowIcon(HICON icon, bool owned);

    std::string m_pendingIcon;
    HICON m_ownedIcon = nullptr;
    int m_result = -1;
};

// Runs the dialog; the table index of the type it wrote, or -1 when cancelled.
int RunNewTypeDialog(HWND owner);
