#pragma once
// The tips editor (dialog IDD_TIPS): the shell's tips in a list, the selected one in an edit
// box; "&Apply" puts the edited text in place, "&OK" writes the changed tips back.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/dialog.h"

class CTipsEditorDlg : public CDialog {
public:
    CTipsEditorDlg();
    const std::vector<std::string>& Tips() const { return m_tips; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void ShowSelected();
    void ApplyEdit();
    void FillList(int select);

    std::vector<std::string> m_opened;
    std::vector<std::string> m_tips;
    int m_shown = -1; // the tip in the edit box
};

// Runs the editor over the registry's tips; true when they were written.
bool EditTips(HWND owner);
