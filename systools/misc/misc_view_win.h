#pragma once
// The Misc module (module 6, form IDD_MISC): shell and desktop settings in three groups
// ("Misc", "Menus", "Recycle Bin"), each with its own Apply. The rules live in
// misc_settings.h; the view only shows them and reacts to the user.
#include <string>

#include "shell/apply_tracker_win.h"
#include "shell/qn_form_view_win.h"
#include "systools/misc/misc_settings.h"
#include "systools/misc/system_parameters_win.h"

class CMisc : public CQnFormView {
public:
    CMisc();
    ~CMisc() override;
    void InitModule() override;

    // The groups as the controls show them.
    MiscGroup ShownMisc() const;
    MenusGroup ShownMenus() const;
    RecycleBinGroup ShownRecycleBin() const;

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowMisc(const MiscGroup& misc);
    void ShowMenus(const MenusGroup& menus);
    void ShowRecycleBin(const RecycleBinGroup& bin);
    void ShowIcon(int staticId, const std::string& location);
    void UpdateEnabling();
    bool PickIcon(std::string& location, int staticId);
    bool ApplyMiscGroup();
    bool ApplyMenusGroup();
    bool ApplyRecycleBinGroup();

    MiscContext m_context;
    MiscOpening m_opening;
    CWin32SystemParameters m_system;
    CApplyTracker m_miscApply;
    CApplyTracker m_menusApply;
    CApplyTracker m_binApply;
    std::string m_overlayLocation; // the shortcut overlay while the arrow is shown
    std::string m_emptyIcon;
    std::string m_fullIcon;
};
