#pragma once
// The suite of the tool launcher's end-to-end tests: install records of our own under
// "Software\Ostrel\Software\" (a program recorded twice, the product's own record, a record
// whose program is missing) and a program of the test's that leaves a marker when started,
// the toolbox started over them, and reading its tabs, rows and tip.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace tools_e2e {
namespace fs = std::filesystem;
constexpr int kToolsModule = 5;
constexpr int kAllTab = 0, kMakerTab = 1, kCustomTab = 2, kSystemTab = 3;
const char kMakerKey[] = "Software\\Ostrel\\Software";

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "tools"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
const fs::path kDriveFolder = "C:\\quenta_e2e_tools";
fs::path MarkerFolder() { return kDriveFolder / "Marker Tool"; }
fs::path MarkerProgram() { return MarkerFolder() / "marker.exe"; }
fs::path MarkerFile() { return MarkerFolder() / "started.txt"; }
fs::path DoomedProgram() { return kDriveFolder / "Doomed" / "doomed.exe"; }
// The prefix's recycle bin (tools/wine-env.sh puts XDG_DATA_HOME into the build folder).
fs::path Trash() { return fs::path(QUENTA_BINARY_DIR) / "winehome" / ".local" / "share" / "Trash"; }
// Where the launcher writes the link for the shell's menu: the toolbox's temporary folder.
fs::path ShellMenuLink(const std::string& program)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return fs::path(temp) / "Ostrel Quenta" / (program + ".lnk");
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

void SetText(const char* key, const char* name, const std::string& text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// What the registry holds that the launcher could change: the maker's records, the product's
// settings, the classes and the machine's software keys.
e2e::RegistrySnapshot Snapshot()
{
    e2e::RegistrySnapshot all = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Software\\Ostrel", "HKCU\\Software\\Ostrel");
    for (const auto& part : e2e::SnapshotRegistry(HKEY_CLASSES_ROOT, "", "HKCR"))
        all.insert(part);
    for (const auto& part : e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                                  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"))
        all.insert(part);
    return all;
}

class ToolsSuiteBase : public QuentaSuite {
protected:
    // Our records and program, then the toolbox.
    static void Prepare()
    {
        fs::create_directories(WorkFolder());
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
        fs::create_directories(MarkerFolder());
        const fs::path marker = fs::path(QUENTA_BINARY_DIR) / "bin" / "tools_e2e_marker.exe";
        fs::copy_file(marker, MarkerProgram(), fs::copy_options::overwrite_existing, ignored);
        fs::create_directories(DoomedProgram().parent_path());
        fs::copy_file(marker, DoomedProgram(), fs::copy_options::overwrite_existing, ignored);
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        SetText(kMakerKey, "Marker Tool", MarkerProgram().string());
        SetText(kMakerKey, "Marker Again", MarkerProgram().string()); // the same program twice
        SetText(kMakerKey, "Quenta", e2e::QuentaExe());                // the product's own record
        SetText(kMakerKey, "Vanished", (kDriveFolder / "vanished.exe").string());
        SetText(kMakerKey, "Doomed Tool", DoomedProgram().string());
        QuentaSuite::SetUpTestSuite();
    }
    static void Finish()
    {
        QuentaSuite::TearDownTestSuite();
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
    }

    void OpenTools()
    {
        m_list = OpenModuleForm(kToolsModule, IDC_TOOLS_LIST, WC_LISTVIEWA);
        ASSERT_NE(m_list, nullptr) << "the launcher's list did not appear";
        m_tabs = FindDescendantById(CurrentView(), IDC_TOOLS_TABS);
        ASSERT_NE(m_tabs, nullptr);
        e2e::Settle(Frame());
    }

    void ShowTab(int tab)
    {
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(m_tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5000)) << "tab " << tab;
        e2e::Settle(Frame());
    }

    std::vector<std::string> Column(int column) { return e2e::ListColumnTexts(Quenta().Process(), m_list, column); }

    int RowNamed(const std::string& name)
    {
        const std::vector<std::string> names = Column(0);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    // Selects exactly `rows` of the list.
    void Select(const std::vector<int>& rows)
    {
        LVITEMA state{};
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        ASSERT_TRUE(remote);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Address());
        for (int row : rows) {
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            remote.Write(&state, sizeof state);
            SendMessageA(m_list, LVM_SETITEMSTATE, row, remote.Address());
        }
        e2e::Settle(Frame());
    }

    void Command(UINT id) { PostMessageA(CurrentView(), WM_COMMAND, id, 0); }

    HWND WaitForWindow(const std::function<bool(HWND)>& matches, int timeoutMs = 10000)
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindWindowOfProcess(Quenta().Id(), matches)) != nullptr; }, timeoutMs);
        return found;
    }

    static bool IsVisibleMenu(HWND window) { return ClassOf(window) == "#32768" && IsWindowVisible(window); }

    // The rectangle of a row's label, in the list's client coordinates.
    RECT RowRect(int row)
    {
        RECT rect{};
        EXPECT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
        return rect;
    }

    // The text of the launcher's tip while one shows, else empty.
    std::string VisibleTipText()
    {
        HWND tip = FindWindowOfProcess(Quenta().Id(), [](HWND window) {
            return lstrcmpiA(ClassOf(window).c_str(), TOOLTIPS_CLASSA) == 0 && IsWindowVisible(window);
        });
        if (!tip)
            return {};
        struct Block {
            TOOLINFOA info;
            char text[512];
        };
        RemoteBuffer remote(Quenta().Process(), sizeof(Block));
        Block block{};
        block.info.cbSize = TTTOOLINFOA_V2_SIZE;
        block.info.hwnd = CurrentView();
        block.info.uId = 1;
        block.info.lpszText = reinterpret_cast<char*>(remote.Address() + offsetof(Block, text));
        if (!remote || !remote.Write(&block, sizeof block))
            return {};
        SendMessageA(tip, TTM_GETTEXTA, sizeof block.text, remote.Address());
        remote.Read(&block, sizeof block);
        block.text[sizeof block.text - 1] = '\0';
        return block.text;
    }

    HWND m_list = nullptr;
    HWND m_tabs = nullptr;
};

} // namespace tools_e2e
