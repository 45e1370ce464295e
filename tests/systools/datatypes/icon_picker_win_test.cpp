// The icon picker under Wine, driven from a second thread while it runs modally: the icons of
// shell32.dll, a file without icons, dropped files and what Apply and Cancel leave.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "filetools/filetypes/icon_picker_dlg_win.h"
#include "res/resource.h"
#include "tests/support/drop_files_win.h"

namespace {
std::string Shell32()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\shell32.dll";
}

std::string TextOf(HWND window)
{
    char text[MAX_PATH * 2] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Runs the picker on `location` while `drive` works its dialog from another thread.
bool RunPicker(std::string& location, const std::function<void(HWND dialog)>& drive)
{
    std::thread driver([&] {
        HWND dialog = nullptr;
        for (int waited = 0; waited < 10000 && !(dialog && IsWindowVisible(dialog)); waited += 20) {
            Sleep(20);
            dialog = FindWindowA(nullptr, "Select a new icon");
        }
        if (dialog)
            drive(dialog);
    });
    const bool applied = IconPickerDlg(nullptr, location);
    driver.join();
    return applied;
}

int ItemCount(HWND dialog) { return static_cast<int>(SendDlgItemMessageA(dialog, IDC_ICONPICKER_LIST, LVM_GETITEMCOUNT, 0, 0)); }
int Selected(HWND dialog)
{
    return static_cast<int>(
        SendDlgItemMessageA(dialog, IDC_ICONPICKER_LIST, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
void Click(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void Drop(HWND dialog, const std::vector<std::string>& paths)
{
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropFiles(paths)), 0);
}
} // namespace

TEST(IconPicker, ShowsEveryIconOfTheFileAndAppliesTheChosenOne)
{
    const int expected = static_cast<int>(ExtractIconExA(Shell32().c_str(), -1, nullptr, nullptr, 0));
    ASSERT_GT(expected, 10);
    std::string location = Shell32() + ",4";
    int count = 0, selected = -1;
    bool applyAtFirst = true;
    const bool applied = RunPicker(location, [&](HWND dialog) {
        count = ItemCount(dialog);
        selected = Selected(dialog);
        applyAtFirst = IsWindowEnabled(GetDlgItem(dialog, IDC_ICONPICKER_APPLY)) != FALSE;
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendDlgItemMessageA(dialog, IDC_ICONPICKER_LIST, LVM_SETITEMSTATE, 9, reinterpret_cast<LPARAM>(&state));
        Click(dialog, IDC_ICONPICKER_APPLY);
    });
    EXPECT_EQ(count, expected);
    EXPECT_EQ(selected, 4);
    EXPECT_FALSE(applyAtFirst);
    EXPECT_TRUE(applied);
    EXPECT_EQ(location, Shell32() + ",9");
}

TEST(IconPicker, CancelLeavesTheLocationAndAFileWithoutIconsGivesShell32)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string plain = std::string(temp) + "quenta_no_icons.txt";
    std::ofstream(plain) << "no icons here";
    std::string location = plain + ",2";
    std::string shown;
    int count = 0;
    const bool applied = RunPicker(location, [&](HWND dialog) {
        shown = TextOf(GetDlgItem(dialog, IDC_ICONPICKER_FILE));
        count = ItemCount(dialog);
        Click(dialog, IDC_ICONPICKER_CANCEL);
    });
    DeleteFileA(plain.c_str());
    EXPECT_FALSE(applied);
    EXPECT_EQ(location, plain + ",2");
    EXPECT_EQ(lstrcmpiA(shown.c_str(), Shell32().c_str()), 0) << shown;
    EXPECT_GT(count, 10);
}

TEST(IconPicker, ADroppedFileThatExistsIsLoadedWithItsFirstIcon)
{
    std::string location = Shell32() + ",7";
    std::string afterMissing, afterDrop;
    int selectedAfterDrop = -1;
    bool applyAfterDrop = false;
    const bool applied = RunPicker(location, [&](HWND dialog) {
        Drop(dialog, {"C:\\no\\such\\file.ico"});
        afterMissing = TextOf(GetDlgItem(dialog, IDC_ICONPICKER_FILE));
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        Drop(dialog, {"C:\\no\\such\\file.ico", std::string(windows) + "\\notepad.exe"});
        afterDrop = TextOf(GetDlgItem(dialog, IDC_ICONPICKER_FILE));
        selectedAfterDrop = Selected(dialog);
        applyAfterDrop = IsWindowEnabled(GetDlgItem(dialog, IDC_ICONPICKER_APPLY)) != FALSE;
        Click(dialog, IDC_ICONPICKER_APPLY);
    });
    EXPECT_EQ(lstrcmpiA(afterMissing.c_str(), Shell32().c_str()), 0) << "a missing file changes nothing";
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = std::string(windows) + "\\notepad.exe";
    EXPECT_EQ(lstrcmpiA(afterDrop.c_str(), notepad.c_str()), 0) << afterDrop;
    EXPECT_EQ(selectedAfterDrop, 0);
    EXPECT_TRUE(applyAfterDrop);
    EXPECT_TRUE(applied);
    EXPECT_EQ(lstrcmpiA(location.c_str(), (notepad + ",0").c_str()), 0) << location;
}
