#pragma once
// The progress bar of the main window (docked at the bottom, shown only while busy): the
// message text over the left half, the progress control and a Cancel button over the right.
#include <string>

#include "framework/control_bar.h"

class CBusyBar : public CControlBar {
public:
    enum : UINT { IdProgress = 1084, IdMessage = 1085 };
    bool CreateBusyBar(HWND frame, UINT id);
    // Text shown without three trailing dots; repaints only when it changed.
    void SetMessageText(const std::string& text);
    const std::string& MessageText() const { return m_text; }
    void SetRange(int low, int high);
    void SetPos(int position);
    bool IsCancelled() const { return m_cancelled; }
    void ResetCancel() { m_cancelled = false; }
    void Cancel() { m_cancelled = true; }
    HWND CancelButton() const { return m_cancel; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnCommand(WPARAM, LPARAM);

private:
    RECT TextRect() const;
    HWND m_progress = nullptr, m_cancel = nullptr;
    std::string m_text;
    bool m_cancelled = false;
};
