#pragma once
// The progress dialog of install and uninstall (dialog 257): a bar from 0 to 100, the current
// step's text and "&Cancel". It is the progress sink of the package archives: each step moves
// the bar to position x 100 / range, handles at most ten waiting window messages, and answers
// "stop" once Cancel was pressed.
#include <windows.h>

#include <string>

#include "base/progress.h"

class CSetupProgressDialog : public CQnProgress {
public:
    CSetupProgressDialog() = default;
    ~CSetupProgressDialog() override { Close(); }
    CSetupProgressDialog(const CSetupProgressDialog&) = delete;
    CSetupProgressDialog& operator=(const CSetupProgressDialog&) = delete;

    // Shows the dialog, titled "Quenta Setup" or "Quenta Uninstaller".
    void Show(HWND owner, bool install);
    void Close();
    HWND Hwnd() const { return m_window; }

    void Refresh() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PumpMessages();

    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    std::string m_shownText;
};
