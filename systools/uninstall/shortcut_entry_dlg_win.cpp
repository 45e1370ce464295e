#include "systools/uninstall/shortcut_entry_dlg_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "app/paths.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/program_command_win.h"
#include "app/settings.h"
#include "base/text.h"
#include "framework/dialog.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "shell/dropped_files_win.h"
#include "shell/module_form_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_SHORTCUT_ENTRY_NAME_LABEL, IDS_SHORTCUT_ENTRY_NAME_LABEL},
    {IDC_SHORTCUT_ENTRY_COMMAND_LABEL, IDS_SHORTCUT_ENTRY_COMMAND_LABEL},
    {IDC_SHORTCUT_ENTRY_BROWSE, IDS_BUTTON_BROWSE},
    {IDC_SHORTCUT_ENTRY_OK, IDS_SHORTCUT_ENTRY_OK},
    {IDC_SHORTCUT_ENTRY_CANCEL, IDS_BUTTON_CANCEL},
};
constexpr const char* kSection = "AppShortcuts";
constexpr const char* kFolderValue = "SelectDir";
constexpr int kMissingProgramIcon = 2; // shell32's icon for a program that is not there

bool IsExistingFile(const std::string& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class CShortcutEntryDialog : public CDialog {
public:
    CShortcutEntryDialog(std::string name, std::string command, bool browseAtOnce)
        : CDialog(IDD_SHORTCUT_ENTRY), m_name(std::move(name)), m_command(std::move(command)),
          m_browseAtOnce(browseAtOnce) {}
    ~CShortcutEntryDialog() override
    {
        if (m_icon)
            DestroyIcon(m_icon);
    }

    const std::string& Name() const { return m_name; }
    const std::string& Command() const { return m_command; }

protected:
    bool OnInitDialog() override
    {
        SetWindowTextA(m_hwnd, LoadText(IDS_SHORTCUT_ENTRY_TITLE).c_str());
        ApplyControlTexts(m_hwnd, kTexts);
        SetDlgItemTextA(m_hwnd, IDC_SHORTCUT_ENTRY_NAME, m_name.c_str());
        SetDlgItemTextA(m_hwnd, IDC_SHORTCUT_ENTRY_COMMAND, m_command.c_str());
        DragAcceptFiles(m_hwnd, TRUE);
        ShowProgramIcon(ProgramFromCommandLine(m_command));
        UpdateOk();
        if (m_browseAtOnce)
            PostMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(IDC_SHORTCUT_ENTRY_BROWSE, BN_CLICKED), 0);
        return true;
    }

    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DROPFILES) {
            for (const std::string& path : TakeDroppedFiles(reinterpret_cast<HDROP>(wParam)))
                if (IsExistingFile(path)) {
                    TakeFile(path);
                    break;
                }
            return 0;
        }
        return CDialog::OnMessage(message, wParam, lParam);
    }

    bool OnCommand(WORD id, WORD code) override
    {
        switch (id) {
        case IDC_SHORTCUT_ENTRY_NAME:
        case IDC_SHORTCUT_ENTRY_COMMAND:
            if (code == EN_CHANGE)
                UpdateOk();
            return true;
        case IDC_SHORTCUT_ENTRY_BROWSE: if (code == BN_CLICKED) Browse(); return true;
        case IDOK: // Enter
        case IDC_SHORTCUT_ENTRY_OK: if (code == BN_CLICKED) Accept(); return true;
        case IDC_SHORTCUT_ENTRY_CANCEL: if (code == BN_CLICKED) OnCancel(); return true;
        default: return CDialog::OnCommand(id, code);
        }
    }

private:
    // OK needs both a name and a command: an entry without either could not be saved.
    void UpdateOk()
    {
        const bool complete = !WindowText(Item(IDC_SHORTCUT_ENTRY_NAME)).empty() &&
                              !WindowText(Item(IDC_SHORTCUT_ENTRY_COMMAND)).empty();
        EnableWindow(Item(IDC_SHORTCUT_ENTRY_OK), complete);
    }

    void Accept()
    {
        if (!IsWindowEnabled(Item(IDC_SHORTCUT_ENTRY_OK)))
            return;
        m_name = WindowText(Item(IDC_SHORTCUT_ENTRY_NAME));
        m_command = WindowText(Item(IDC_SHORTCUT_ENTRY_COMMAND));
        EndDialog(IDOK);
    }

    // The file dialog starts at the program the command names, else in the last folder chosen.
    void Browse()
    {
        const std::string current = WindowText(Item(IDC_SHORTCUT_ENTRY_COMMAND));
        CQnSettings settings;
        std::string folder;
        char file[MAX_PATH] = "";
        if (IsExistingFile(current) && current.size() < MAX_PATH) {
            folder = PathFolderPart(current);
            const std::string name = PathNamePart(current);
            std::copy(name.begin(), name.end(), file);
        } else {
            folder = settings.ReadString(kSection, kFolderValue, std::string());
        }
        std::string filter = LoadText(IDS_SHORTCUT_ENTRY_FILTER);
        std::replace(filter.begin(), filter.end(), '|', '\0');
        filter.push_back('\0');
        const std::string title = LoadText(IDS_SHORTCUT_ENTRY_SELECT_TITLE);

        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = m_hwnd;
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        ofn.lpstrTitle = title.c_str();
        ofn.lpstrDefExt = "EXE";
        ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameA(&ofn))
            return;
        settings.WriteString(kSection, kFolderValue, PathFolderPart(file));
        TakeFile(file);
    }

    void TakeFile(const std::string& path)
    {
        SetDlgItemTextA(m_hwnd, IDC_SHORTCUT_ENTRY_COMMAND, path.c_str());
        if (WindowText(Item(IDC_SHORTCUT_ENTRY_NAME)).empty())
            SetDlgItemTextA(m_hwnd, IDC_SHORTCUT_ENTRY_NAME, PathNamePart(path).c_str());
        UpdateOk();
        ShowProgramIcon(path);
    }

    // The shell's large icon of the program, or shell32's icon of a missing program.
    void ShowProgramIcon(const std::string& program)
    {
        SHFILEINFOA info{};
        if (IsExistingFile(program) &&
            SHGetFileInfoA(program.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON) && info.hIcon)
            SetIcon(info.hIcon);
        else
            SetIcon(ShellIcon(kMissingProgramIcon, false, 0));
    }

    // The icon static shows `icon` and the dialog owns it.
    void SetIcon(HICON icon)
    {
        if (m_hwnd)
            SendDlgItemMessageA(m_hwnd, IDC_SHORTCUT_ENTRY_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        if (m_icon)
            DestroyIcon(m_icon);
        m_icon = icon;
    }

    std::string m_name, m_command;
    bool m_browseAtOnce = false;
    HICON m_icon = nullptr;
};
} // namespace

bool ShortcutEntryDlg(HWND owner, std::string& name, std::string& command, bool browseAtOnce)
{
    CShortcutEntryDialog dialog(name, command, browseAtOnce);
    if (dialog.DoModal(owner) != IDOK)
        return false;
    name = dialog.Name();
    command = dialog.Command();
    return true;
}
