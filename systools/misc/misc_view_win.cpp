#include "systools/misc/misc_view_win.h"

#include <commctrl.h>

#include "app/program_state.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/icon_picker_dlg_win.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "systools/misc/misc_module.h"
#include "systools/misc/tips_editor_dlg_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_MISC_GROUP, IDS_MISC_GROUP},
    {IDC_MISC_ANIMATION, IDS_MISC_ANIMATION},
    {IDC_MISC_FONT_SMOOTHING, IDS_MISC_FONT_SMOOTHING},
    {IDC_MISC_FAST_SWITCH, IDS_MISC_FAST_SWITCH},
    {IDC_MISC_COLOUR_ICONS, IDS_MISC_COLOUR_ICONS},
    {IDC_MISC_BIG_ICONS, IDS_MISC_BIG_ICONS},
    {IDC_MISC_SHOW_TIPS, IDS_MISC_SHOW_TIPS},
    {IDC_MISC_EDIT_TIPS, IDS_MISC_EDIT_TIPS},
    {IDC_MISC_SHORTCUT_ARROW, IDS_MISC_SHORTCUT_ARROW},
    {IDC_MISC_OVERLAY_CHANGE, IDS_MISC_CHANGE},
    {IDC_MISC_DRAG_FULL, IDS_MISC_DRAG_FULL},
    {IDC_MISC_BEEP, IDS_MISC_BEEP},
    {IDC_MISC_WRAP_TITLES, IDS_MISC_WRAP_TITLES},
    {IDC_MISC_BITMAP_ICONS, IDS_MISC_BITMAP_ICONS},
    {IDC_MISC_RESET, IDS_MISC_RESET},
    {IDC_MISC_APPLY, IDS_MISC_APPLY},
    {IDC_MISC_MENUS_GROUP, IDS_MISC_MENUS_GROUP},
    {IDC_MISC_MENU_DELAY_LABEL, IDS_MISC_MENU_DELAY},
    {IDC_MISC_MILLISECONDS, IDS_MISC_MILLISECONDS},
    {IDC_MISC_LEFT_ALIGN, IDS_MISC_LEFT_ALIGN},
    {IDC_MISC_MENUS_APPLY, IDS_MISC_GROUP_APPLY},
    {IDC_MISC_RECYCLE_GROUP, IDS_MISC_RECYCLE_GROUP},
    {IDC_MISC_RECYCLE_NAME_LABEL, IDS_MISC_RECYCLE_NAME},
    {IDC_MISC_RECYCLE_EMPTY_LABEL, IDS_MISC_RECYCLE_EMPTY},
    {IDC_MISC_RECYCLE_FULL_LABEL, IDS_MISC_RECYCLE_FULL},
    {IDC_MISC_RECYCLE_EMPTY_CHANGE, IDS_MISC_CHANGE},
    {IDC_MISC_RECYCLE_FULL_CHANGE, IDS_MISC_CHANGE},
    {IDC_MISC_RECYCLE_RESET, IDS_MISC_RESET},
    {IDC_MISC_RECYCLE_APPLY, IDS_MISC_GROUP_APPLY},
};
const ModuleForm kForm{IDD_MISC, kTexts, {}, 0};

constexpr int kNameLimit = 1023; // the longest name the registry reading gives

bool Checked(HWND form, int id) { return IsDlgButtonChecked(form, id) == BST_CHECKED; }
void Check(HWND form, int id, bool on) { CheckDlgButton(form, id, on ? BST_CHECKED : BST_UNCHECKED); }

int NumberIn(HWND form, int id)
{
    BOOL ok = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(form, id, &ok, TRUE));
    return ok ? value : 0;
}

bool LocationYieldsIcon(const std::string& location)
{
    HICON icon = LoadIconFromLocation(location);
    DestroyIconIfAny(icon);
    return icon != nullptr;
}
} // namespace

CMisc::CMisc() : CQnFormView(kForm) {}

CMisc::~CMisc() = default;

std::optional<LRESULT> CMisc::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) // the icon statics do not own their icons
        for (int id : {IDC_MISC_OVERLAY_ICON, IDC_MISC_RECYCLE_EMPTY_ICON, IDC_MISC_RECYCLE_FULL_ICON})
            DestroyIconIfAny(reinterpret_cast<HICON>(SendDlgItemMessageA(m_hwnd, id, STM_SETICON, 0, 0)));
    return CQnFormView::OnMessage(message, wParam, lParam);
}

std::unique_ptr<CQnFormView> CreateMiscView() { return std::make_unique<CMisc>(); }

bool CMisc::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    SendDlgItemMessageA(m_hwnd, IDC_MISC_ICON_SIZE_SPIN, UDM_SETRANGE32, 0, kMaxIconSize);
    SendDlgItemMessageA(m_hwnd, IDC_MISC_MENU_DELAY_SPIN, UDM_SETRANGE32, 0, kMaxMenuShowDelay);
    SendDlgItemMessageA(m_hwnd, IDC_MISC_RECYCLE_NAME, EM_LIMITTEXT, kNameLimit, 0);
    m_miscApply.Attach(m_hwnd, IDC_MISC_APPLY, [this] { return ApplyMiscGroup(); });
    m_miscApply.Watch({IDC_MISC_ANIMATION, IDC_MISC_FONT_SMOOTHING, IDC_MISC_FAST_SWITCH, IDC_MISC_COLOUR_ICONS,
                       IDC_MISC_BIG_ICONS, IDC_MISC_ICON_SIZE, IDC_MISC_SHOW_TIPS, IDC_MISC_SHORTCUT_ARROW,
                       IDC_MISC_DRAG_FULL, IDC_MISC_BEEP, IDC_MISC_WRAP_TITLES, IDC_MISC_BITMAP_ICONS});
    m_menusApply.Attach(m_hwnd, IDC_MISC_MENUS_APPLY, [this] { return ApplyMenusGroup(); });
    m_menusApply.Watch({IDC_MISC_MENU_DELAY, IDC_MISC_LEFT_ALIGN});
    m_binApply.Attach(m_hwnd, IDC_MISC_RECYCLE_APPLY, [this] { return ApplyRecycleBinGroup(); });
    m_binApply.Watch({IDC_MISC_RECYCLE_NAME});
    return false;
}

void CMisc::InitModule()
{
    m_context.systemFolder = SystemFolder();
    m_context.blankIconLocation = BlankIconLocation(Program().programPath);
    m_context.iconUsable = LocationYieldsIcon;
    m_opening = ReadMiscOpening(m_system, m_context);
    ShowMisc(m_opening.misc);
    ShowMenus(m_opening.menus);
    ShowRecycleBin(m_opening.recycleBin);
    m_miscApply.Reset();
    m_menusApply.Reset();
    m_binApply.Reset();
    EnableWindow(Item(IDC_MISC_RECYCLE_RESET), FALSE);
}

void CMisc::ShowMisc(const MiscGroup& misc)
{
    CApplyTracker::Quiet quiet(m_miscApply);
    Check(m_hwnd, IDC_MISC_ANIMATION, misc.animation);
    Check(m_hwnd, IDC_MISC_FONT_SMOOTHING, misc.fontSmoothing);
    Check(m_hwnd, IDC_MISC_FAST_SWITCH, misc.fastTaskSwitch);
    Check(m_hwnd, IDC_MISC_COLOUR_ICONS, misc.colourIcons);
    Check(m_hwnd, IDC_MISC_BIG_ICONS, misc.bigIcons);
    SetDlgItemInt(m_hwnd, IDC_MISC_ICON_SIZE, static_cast<UINT>(misc.iconSize), FALSE);
    Check(m_hwnd, IDC_MISC_SHOW_TIPS, misc.showTips);
    Check(m_hwnd, IDC_MISC_SHORTCUT_ARROW, misc.shortcutArrow);
    Check(m_hwnd, IDC_MISC_DRAG_FULL, misc.dragFullWindows);
    Check(m_hwnd, IDC_MISC_BEEP, misc.beep);
    Check(m_hwnd, IDC_MISC_WRAP_TITLES, misc.wrapTitles);
    Check(m_hwnd, IDC_MISC_BITMAP_ICONS, misc.bitmapIcons);
    m_overlayLocation = misc.overlayLocation;
    ShowIcon(IDC_MISC_OVERLAY_ICON, m_overlayLocation);
    UpdateEnabling();
}

void CMisc::ShowMenus(const MenusGroup& menus)
{
    CApplyTracker::Quiet quiet(m_menusApply);
    SetDlgItemInt(m_hwnd, IDC_MISC_MENU_DELAY, static_cast<UINT>(menus.showDelay), FALSE);
    Check(m_hwnd, IDC_MISC_LEFT_ALIGN, menus.leftAlignment);
}

void CMisc::ShowRecycleBin(const RecycleBinGroup& bin)
{
    CApplyTracker::Quiet quiet(m_binApply);
    SetDlgItemTextA(m_hwnd, IDC_MISC_RECYCLE_NAME, bin.name.c_str());
    m_emptyIcon = bin.emptyIcon;
    m_fullIcon = bin.fullIcon;
    ShowIcon(IDC_MISC_RECYCLE_EMPTY_ICON, m_emptyIcon);
    ShowIcon(IDC_MISC_RECYCLE_FULL_ICON, m_fullIcon);
}

void CMisc::ShowIcon(int staticId, const std::string& location)
{
    HICON icon = LoadIconFromLocation(location);
    DestroyIconIfAny(reinterpret_cast<HICON>(SendDlgItemMessageA(m_hwnd, staticId, STM_SETICON,
                                                                  reinterpret_cast<WPARAM>(icon), 0)));
}

void CMisc::UpdateEnabling()
{
    const bool big = Checked(m_hwnd, IDC_MISC_BIG_ICONS);
    EnableWindow(Item(IDC_MISC_ICON_SIZE), big);
    EnableWindow(Item(IDC_MISC_ICON_SIZE_SPIN), big);
    EnableWindow(Item(IDC_MISC_OVERLAY_CHANGE), Checked(m_hwnd, IDC_MISC_SHORTCUT_ARROW));
}

MiscGroup CMisc::ShownMisc() const
{
    MiscGroup misc;
    misc.animation = Checked(m_hwnd, IDC_MISC_ANIMATION);
    misc.fontSmoothing = Checked(m_hwnd, IDC_MISC_FONT_SMOOTHING);
    misc.fastTaskSwitch = Checked(m_hwnd, IDC_MISC_FAST_SWITCH);
    misc.colourIcons = Checked(m_hwnd, IDC_MISC_COLOUR_ICONS);
    misc.bigIcons = Checked(m_hwnd, IDC_MISC_BIG_ICONS);
    misc.iconSize = NumberIn(m_hwnd, IDC_MISC_ICON_SIZE);
    misc.showTips = Checked(m_hwnd, IDC_MISC_SHOW_TIPS);
    misc.shortcutArrow = Checked(m_hwnd, IDC_MISC_SHORTCUT_ARROW);
    misc.overlayLocation = m_overlayLocation;
    misc.dragFullWindows = Checked(m_hwnd, IDC_MISC_DRAG_FULL);
    misc.beep = Checked(m_hwnd, IDC_MISC_BEEP);
    misc.wrapTitles = Checked(m_hwnd, IDC_MISC_WRAP_TITLES);
    misc.bitmapIcons = Checked(m_hwnd, IDC_MISC_BITMAP_ICONS);
    return misc;
}

MenusGroup CMisc::ShownMenus() const
{
    return {NumberIn(m_hwnd, IDC_MISC_MENU_DELAY), Checked(m_hwnd, IDC_MISC_LEFT_ALIGN)};
}

RecycleBinGroup CMisc::ShownRecycleBin() const
{
    return {WindowText(Item(IDC_MISC_RECYCLE_NAME)), m_emptyIcon, m_fullIcon};
}

bool CMisc::PickIcon(std::string& location, int staticId)
{
    std::string picked = location;
    if (!IconPickerDlg(m_hwnd, picked))
        return false;
    location = picked;
    ShowIcon(staticId, location);
    return true;
}

bool CMisc::OnCommand(WORD id, WORD code)
{
    if (code != BN_CLICKED && !(code == EN_CHANGE && id == IDC_MISC_RECYCLE_NAME))
        return CQnFormView::OnCommand(id, code);
    switch (id) {
    case IDC_MISC_BIG_ICONS:
    case IDC_MISC_SHORTCUT_ARROW:
        UpdateEnabling();
        return true;
    case IDC_MISC_OVERLAY_CHANGE:
        if (PickIcon(m_overlayLocation, IDC_MISC_OVERLAY_ICON))
            m_miscApply.MarkChanged();
        return true;
    case IDC_MISC_RESET: // the settings as they were when the module opened
        ShowMisc(m_opening.misc);
        m_miscApply.MarkChanged();
        return true;
    case IDC_MISC_EDIT_TIPS:
        EditTips(m_hwnd);
        return true;
    case IDC_MISC_RECYCLE_EMPTY_CHANGE:
    case IDC_MISC_RECYCLE_FULL_CHANGE: {
        const bool full = id == IDC_MISC_RECYCLE_FULL_CHANGE;
        if (PickIcon(full ? m_fullIcon : m_emptyIcon, full ? IDC_MISC_RECYCLE_FULL_ICON : IDC_MISC_RECYCLE_EMPTY_ICON)) {
            m_binApply.MarkChanged();
            EnableWindow(Item(IDC_MISC_RECYCLE_RESET), TRUE);
        }
        return true;
    }
    case IDC_MISC_RECYCLE_NAME:
        if (m_binApply.HasChanges())
            EnableWindow(Item(IDC_MISC_RECYCLE_RESET), TRUE);
        return true;
    case IDC_MISC_RECYCLE_RESET:
        ShowRecycleBin(m_opening.recycleBin);
        m_binApply.MarkChanged();
        EnableWindow(Item(IDC_MISC_RECYCLE_RESET), FALSE);
        return true;
    default:
        return CQnFormView::OnCommand(id, code);
    }
}

bool CMisc::ApplyMiscGroup()
{
    MiscGroup shown = ShownMisc();
    if (shown.bigIcons && shown.iconSize != ClampedIconSize(shown.iconSize)) {
        shown.iconSize = ClampedIconSize(shown.iconSize); // the edit shows what is stored
        CApplyTracker::Quiet quiet(m_miscApply);
        SetDlgItemInt(m_hwnd, IDC_MISC_ICON_SIZE, static_cast<UINT>(shown.iconSize), FALSE);
    }
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ApplyMisc(PlanMiscApply(shown, m_opening, m_context), m_system);
    SetCursor(old);
    return true;
}

bool CMisc::ApplyMenusGroup()
{
    MenusGroup shown = ShownMenus();
    ApplyMenus(shown, m_opening, m_system);
    return true;
}

bool CMisc::ApplyRecycleBinGroup()
{
    ApplyRecycleBin(ShownRecycleBin(), m_opening);
    return true;
}
