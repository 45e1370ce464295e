#pragma once
// The screen capture (module 15): a hot key and a capture kind are chosen, "&Start" minimises
// the main window and arms the hot key, and each press adds the screen, the foreground window
// or its client area as a new tab. The current capture can be saved as a BMP file, copied,
// viewed, printed or deleted. Its form is IDD_CAPTURE.
#include <memory>
#include <string>

#include "picturetools/capture/capture_rules.h"
#include "picturetools/capture/hot_key_arming_win.h"
#include "shell/capture_tabs_win.h"
#include "shell/controls/dx_picture_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"

class CQnSnap : public CQnFormView {
public:
    CQnSnap();
    ~CQnSnap() override;

    // "&Start": true when the hot key is armed (the main window stays minimised).
    bool Start();
    // What the hot key does: one capture of the chosen kind; true when it was added.
    bool CaptureNow();
    // "Save" into `path` (no dialog): the current capture as a 24-bit BMP file.
    bool SaveCurrentTo(const std::string& path);

    bool Armed() const { return m_arming.Armed(); }
    const CCaptureList& Captures() const { return m_tabs.List(); }
    CCaptureTabs& Tabs() { return m_tabs; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;

private:
    CaptureKind ChosenKind() const;
    unsigned ChosenKey() const;
    unsigned ChosenModifiers() const;
    HWND MainWindow() const;
    void OnCurrentChanged();
    void OnSave();
    void OnCopy();
    void OnView();
    void OnPrint();
    void OnDelete();

    CCaptureTabs m_tabs;
    CDxPicture m_preview;
    CHotKeyArming m_arming;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
    int m_capturesTaken = 0; // numbers the tabs
};
