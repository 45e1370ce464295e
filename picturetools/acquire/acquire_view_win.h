#pragma once
// The scanner acquisition (module 16): "Acquire..." and "Select source..." through the main
// window's TWAIN link, one tab per acquired picture with its preview and size, and the
// buttons that save, copy, show, print, hand over and remove the current picture. Its form is
// IDD_ACQUIRE.
#include <memory>

#include "shell/capture_tabs_win.h"
#include "shell/controls/dx_picture_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"

class CQnTwain : public CQnFormView {
public:
    CQnTwain();
    ~CQnTwain() override;

    // Adds a picture as a new tab and makes it current.
    void ReceivePicture(std::unique_ptr<CPicture> picture);
    const CCaptureList& Pictures() const { return m_tabs.List(); }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void ShowCurrent();
    void SaveCurrent();

    CCaptureTabs m_tabs;
    CDxPicture m_preview;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
};
