#pragma once
// The wallpaper (module 3): one tab per target (Current User, Default User) showing the
// picture the target has or will get, its mode and size, and the buttons that load, show,
// print, hand over, reset, delete and apply it. Its form is IDD_WALLPAPER; what it shows and
// does is WallpaperModel's.
#include "picturetools/wallpaper/wallpaper_model.h"
#include "shell/controls/dx_color_win.h"
#include "shell/controls/dx_picture_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"

class CQnBackground : public CQnFormView {
public:
    CQnBackground();
    ~CQnBackground() override;
    void InitModule() override;

    int CurrentTarget() const { return m_target; }
    void SelectTarget(int target);
    // Replaces the current target's picture with the file's (a failure is said); true on success.
    bool LoadFile(const std::string& path);
    void Apply();
    const WallpaperModel& Model() const { return m_model; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void ShowTarget();
    void OnLoadClicked();
    void OnSizeEdited();
    const CPicture* Picture() const;

    WallpaperModel m_model;
    int m_target = 0;
    bool m_showing = false; // the form is being filled: its change notifications are ours
    CDxPicture m_preview;
    CDxColor m_colour;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
};
