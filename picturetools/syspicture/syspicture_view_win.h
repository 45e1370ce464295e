#pragma once
// The system pictures (module 1): one tab per target (start-up, end, stop) showing the
// picture the system shows or will show, how a loaded picture is brought to the logo form and,
// on the start-up tab, the scrolling bar. Its form is IDD_SYSPICTURE; what it computes is
// SysPictureModel's and the logo composition's.
#include "picturetools/syspicture/syspicture_model.h"
#include "shell/controls/dx_color_win.h"
#include "shell/controls/dx_picture_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"

class CSysPicture : public CQnFormView {
public:
    CSysPicture();
    // The targets' files; the standard places unless a test gives others.
    explicit CSysPicture(SysPictureFiles files);
    ~CSysPicture() override;
    void InitModule() override;

    int CurrentTarget() const { return m_target; }
    void SelectTarget(int target);
    // Replaces the current target's picture with the file's (a failure is said); true on success.
    bool LoadFile(const std::string& path);
    void Apply();
    const SysPictureModel& Model() const { return m_model; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void ShowSettings(const SysPictureSettings& settings);
    SysPictureSettings SettingsOfControls() const;
    void ShowTarget();
    void UpdateBarControls();
    void OnLoadClicked();
    std::string TargetTitle(int target) const;
    const CPicture* Picture() const;

    SysPictureModel m_model;
    int m_target = 0;
    CDxPicture m_preview;
    CDxColor m_background, m_first, m_second;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
};
