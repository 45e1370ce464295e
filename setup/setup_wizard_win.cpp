#include "setup/setup_wizard_win.h"

#include <commctrl.h>
#include <prsht.h>

#include "app/paths.h"
#include "app/registry_access.h"
#include "app/services.h"
#include "app/settings.h"
#include "base/size_text.h"
#include "base/text.h"
#include "res/resource.h"
#include "setup/install_machine_win.h"
#include "setup/install_plan.h"
#include "setup/resource_archive.h"
#include "setup/resource_archive_win.h"
#include "shell/folder_browser_win.h"

namespace {
std::string ControlText(HWND page, int id)
{
    char text[MAX_PATH * 2] = {};
    GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

// Centres the wizard over the setup screen once the sheet exists.
int CALLBACK CentreSheet(HWND sheet, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (HWND owner = GetParent(sheet))
            GetWindowRect(owner, &area);
        RECT box;
        GetWindowRect(sheet, &box);
        const int width = box.right - box.left, height = box.bottom - box.top;
        SetWindowPos(sheet, nullptr, area.left + (area.right - area.left - width) / 2,
                     area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

uint64_t FileSizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
} // namespace

CSetupPreferences::CSetupPreferences() = default;
CSetupPreferences::~CSetupPreferences() = default;

void CSetupPreferences::OnInit(HWND page)
{
    m_page = page;
    const std::pair<int, unsigned> texts[] = {
        {IDC_SETUP_FOLDER_LABEL, IDS_SETUP_FOLDER_LABEL}, {IDC_SETUP_BROWSE, IDS_SETUP_BROWSE},
        {IDC_SETUP_LANGUAGE_GROUP, IDS_SETUP_LANGUAGE_GROUP}, {IDC_SETUP_ENGLISH, IDS_SETUP_ENGLISH},
        {IDC_SETUP_FRENCH, IDS_SETUP_FRENCH}, {IDC_SETUP_NEEDED_LABEL, IDS_SETUP_SPACE_NEEDED}};
    for (const auto& [control, text] : texts)
        SetDlgItemTextA(page, control, LoadText(text).c_str());
    CheckRadioButton(page, IDC_SETUP_FRENCH, IDC_SETUP_ENGLISH, IDC_SETUP_ENGLISH);

    const std::string registered = CRegistryAccess().ReadString(RegRoot::CurrentUser, kInstallRecordKey, "Quenta", "");
    ShowFolder(InitialInstallFolder(registered, IsExistingFolder(FolderOf(registered))));

    m_helpFiles = std::make_unique<ResourceArchive>();
    m_englishHelp = std::make_unique<ResourceArchive>();
    HMODULE module = GetModuleHandleA(nullptr);
    LoadFromResource(*m_helpFiles, module, kArchiveHelpFiles, "ZIP", true);
    LoadFromResource(*m_englishHelp, module, kArchiveEnglishHelp, "ZIP", true);
    const uint64_t needed = FileSizeOf(RunningProgramPath()) + m_helpFiles->Totals().uncompressed +
                            m_englishHelp->Totals().uncompressed;
    SetDlgItemTextA(page, IDC_SETUP_NEEDED, LongSizeText(needed).c_str());
}

void CSetupPreferences::ShowFolder(const std::string& folder)
{
    SetDlgItemTextA(m_page, IDC_SETUP_FOLDER, folder.c_str());
    ShowFreeSpace();
}

void CSetupPreferences::ShowFreeSpace()
{
    const std::string folder = ControlText(m_page, IDC_SETUP_FOLDER);
    const char drive = DriveLetterOfFolder(folder);
    const std::string format = LoadText(IDS_SETUP_AVAILABLE_SPACE);
    char label[256] = {};
    snprintf(label, sizeof label, format.c_str(), drive);
    SetDlgItemTextA(m_page, IDC_SETUP_AVAILABLE_LABEL, label);
    ULARGE_INTEGER available{};
    const std::string root = std::string(1, drive) + ":\\";
    const bool known = drive != '?' && GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr);
    SetDlgItemTextA(m_page, IDC_SETUP_AVAILABLE, known ? LongSizeText(available.QuadPart).c_str() : "");
}

void CSetupPreferences::OnBrowse()
{
    const std::string chosen = BrowseForFolder(GetParent(m_page), LoadText(IDS_SETUP_CHOOSE_FOLDER));
    if (!chosen.empty())
        ShowFolder(WithQuentaFolder(chosen));
}

bool CSetupPreferences::OnFinish()
{
    const std::string folder = ControlText(m_page, IDC_SETUP_FOLDER);
    if (folder.empty())
        return false;
    const int language = IsDlgButtonChecked(m_page, IDC_SETUP_ENGLISH) == BST_CHECKED ? kLanguageEnglish : kLanguageFrench;
    CWindowsInstallMachine machine(GetParent(m_page));
    m_installed = InstallProduct(machine, true, folder, language);
    return m_installed;
}

INT_PTR CALLBACK CSetupPreferences::DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* sheetPage = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        auto* self = reinterpret_cast<CSetupPreferences*>(sheetPage->lParam);
        SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->OnInit(page);
        return TRUE;
    }
    auto* self = reinterpret_cast<CSetupPreferences*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!self)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SETUP_BROWSE && HIWORD(wParam) == BN_CLICKED) {
            self->OnBrowse();
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_SETUP_FOLDER && HIWORD(wParam) == EN_CHANGE) {
            self->ShowFreeSpace();
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == PSN_SETACTIVE) {
            PropSheet_SetWizButtons(GetParent(page), PSWIZB_FINISH);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        if (header->code == PSN_WIZFINISH) {
            // A failed install keeps the wizard open.
            SetWindowLongPtrA(page, DWLP_MSGRESULT, self->OnFinish() ? FALSE : TRUE);
            return TRUE;
        }
        break;
    }
    default: break;
    }
    return FALSE;
}

bool CSetupOptionsWiz::DoModal(HWND owner)
{
    CSetupPreferences preferences;
    const std::string pageTitle = LoadText(IDS_SETUP_OPTIONS_TITLE);
    const std::string sheetTitle = LoadText(IDS_SETUP_TITLE);
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USETITLE;
    page.hInstance = GetModuleHandleA(nullptr);
    page.pszTemplate = MAKEINTRESOURCEA(IDD_SETUP_PREFERENCES);
    page.pfnDlgProc = CSetupPreferences::DialogProc;
    page.pszTitle = pageTitle.c_str();
    page.lParam = reinterpret_cast<LPARAM>(&preferences);
    PROPSHEETHEADERA sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    sheet.pfnCallback = CentreSheet;
    sheet.hwndParent = owner;
    sheet.hInstance = GetModuleHandleA(nullptr);
    sheet.pszCaption = sheetTitle.c_str();
    sheet.nPages = 1;
    sheet.ppsp = &page;
    PropertySheetA(&sheet);
    return preferences.Installed();
}
