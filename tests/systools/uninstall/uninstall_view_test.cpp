// The uninstaller's view and the name-and-command dialog under Wine, in a plain test window
// over entries of the test prefix's uninstall key: the Delete key in a sorted list, dropping a
// file on the dialog, and both in English and French with every text fitting its control.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/message.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/uninstall/shortcut_entry_dlg_win.h"
#include "systools/uninstall/uninstall_view_win.h"
#include "tests/e2e/support/screen_win.h"
#include "tests/shell/controls/test_window_win.h"
#include "tests/support/drop_files_win.h"
#include "tests/support/text_width_win.h"

namespace {
namespace fs = std::filesystem;
const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char* const kNames[] = {"QnView Delta", "QnView alpha", "QnView Echo", "QnView Charlie", "QnView bravo"};

std::vector<std::string> g_messages;
MessageAnswer g_answer = MessageAnswer::No;

MessageAnswer RecordMessage(const std::string& text, MessageButtons)
{
    g_messages.push_back(text);
    return g_answer;
}

std::string ScreenshotPath(const char* name)
{
    return std::string(QUENTA_BINARY_DIR) + "/tests/systools/uninstall/" + name + ".bmp";
}

std::string Text(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool KeyExists(const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Labels and buttons whose text is wider than the control.
std::vector<std::string> ClippedTexts(HWND parent, std::initializer_list<int> ids)
{
    std::vector<std::string> clipped;
    for (int id : ids) {
        HWND control = GetDlgItem(parent, id);
        std::string text = Text(control);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        RECT client{};
        GetClientRect(control, &client);
        if (TextWidthInFontOf(control, text) + 6 > client.right)
            clipped.push_back(text);
    }
    return clipped;
}

// What a timer does with the name-and-command dialog once it is open on this thread.
struct DialogScript {
    std::string screenshot;
    std::string droppedFile;
    bool accept = false;
    bool done = false;
    std::string nameSeen, commandSeen;
    bool okEnabledBefore = false, okEnabledAfter = false;
};
DialogScript g_script;

HWND FindEntryDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            if (GetDlgItem(window, IDC_SHORTCUT_ENTRY_NAME)) {
                *reinterpret_cast<HWND*>(lParam) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindEntryDialog();
    if (!dialog || g_script.done)
        return;
    KillTimer(nullptr, timer);
    g_script.done = true;
    g_script.okEnabledBefore = IsWindowEnabled(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_OK)) != FALSE;
    if (!g_script.droppedFile.empty())
        SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropFiles({g_script.droppedFile})), 0);
    g_script.okEnabledAfter = IsWindowEnabled(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_OK)) != FALSE;
    g_script.nameSeen = Text(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_NAME));
    g_script.commandSeen = Text(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_COMMAND));
    if (!g_script.screenshot.empty()) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveScreenBmp(ScreenshotPath(g_script.screenshot.c_str()));
        for (const std::string& text :
             ClippedTexts(dialog, {IDC_SHORTCUT_ENTRY_NAME_LABEL, IDC_SHORTCUT_ENTRY_COMMAND_LABEL,
                                   IDC_SHORTCUT_ENTRY_OK, IDC_SHORTCUT_ENTRY_CANCEL}))
            ADD_FAILURE() << g_script.screenshot << ": \"" << text << "\" does not fit";
    }
    PostMessageA(GetDlgItem(dialog, g_script.accept ? IDC_SHORTCUT_ENTRY_OK : IDC_SHORTCUT_ENTRY_CANCEL), BM_CLICK, 0,
                 0);
}

bool RunDialog(DialogScript script, std::string& name, std::string& command)
{
    g_script = std::move(script);
    SetTimer(nullptr, 0, 50, DriveDialog);
    return ShortcutEntryDlg(nullptr, name, command, false);
}

// The items of each popup menu opened on this thread, read once it is there; then it is closed.
struct MenuItemSeen {
    std::string text;
    bool grayed;
};
std::vector<std::vector<MenuItemSeen>> g_menusSeen;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = controls_test::FindThreadWindow("#32768");
    if (!popup || !IsWindowVisible(popup))
        return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    std::vector<MenuItemSeen> items;
    for (int item = 0; menu && item < GetMenuItemCount(menu); ++item) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
        items.push_back({text, (GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_GRAYED) != 0});
    }
    g_menusSeen.push_back(items);
    EndMenu();
}

class UninstallView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageHandler(RecordMessage);
    }

    void SetUp() override
    {
        RemoveEntries();
        for (const char* name : kNames) {
            const std::string command = std::string("C:\\absent\\") + name + ".exe /u";
            RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str(), "DisplayName", REG_SZ, name,
                            static_cast<DWORD>(std::strlen(name) + 1));
            RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str(), "UninstallString", REG_SZ,
                            command.c_str(), static_cast<DWORD>(command.size() + 1));
        }
        g_messages.clear();
        g_answer = MessageAnswer::No;
        m_frame = controls_test::CreateTestWindow("uninstall test", 0, 0, 900, 640);
        ASSERT_TRUE(m_frame);
    }

    void TearDown() override
    {
        SetTextLanguage(0x0409);
        DestroyWindow(m_frame);
        RemoveEntries();
    }

    static void RemoveEntries()
    {
        for (const char* name : kNames)
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str()),
                RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kUninstall + name).c_str());
    }

    std::unique_ptr<CUninst> OpenView(UINT id = 0xE900)
    {
        auto view = std::make_unique<CUninst>();
        EXPECT_TRUE(view->CreateView(m_frame, id));
        MoveWindow(view->Hwnd(), 0, 0, 880, 620, TRUE);
        ShowWindow(view->Hwnd(), SW_SHOW);
        view->InitModule();
        controls_test::PumpMessages();
        return view;
    }

    static int RowNamed(CUninst& view, const std::string& name)
    {
        for (int row = 0; row < view.List().RowCount(); ++row)
            if (view.List().StoredText(row, 0) == name)
                return row;
        return -1;
    }

    static void SelectRows(CUninst& view, std::initializer_list<int> rows)
    {
        HWND list = view.List().Hwnd();
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED;
        for (int row : rows)
            SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        controls_test::PumpMessages();
    }

    HWND m_frame = nullptr;
};

TEST_F(UninstallView, TheDeleteKeyAsksAndRemovesExactlyTheSelectedEntriesOfASortedList)
{
    auto view = OpenView();
    view->List().SortRows(0, false); // Echo, Delta, Charlie, bravo, alpha: not the order of the keys
    ASSERT_EQ(view->List().StoredText(0, 0), "QnView Echo");
    SelectRows(*view, {0, 2, 4});

    g_answer = MessageAnswer::No;
    SendMessageA(view->List().Hwnd(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], LoadText(IDS_UNINSTALL_DELETE_CONFIRM));
    for (const char* name : kNames)
        EXPECT_TRUE(KeyExists(name)) << name << " went although the answer was No";

    g_answer = MessageAnswer::Yes;
    SendMessageA(view->List().Hwnd(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(KeyExists("QnView Echo"));
    EXPECT_FALSE(KeyExists("QnView Charlie"));
    EXPECT_FALSE(KeyExists("QnView alpha"));
    EXPECT_TRUE(KeyExists("QnView Delta"));
    EXPECT_TRUE(KeyExists("QnView bravo"));
    EXPECT_EQ(RowNamed(*view, "QnView Echo"), -1);
    EXPECT_NE(RowNamed(*view, "QnView Delta"), -1);
    EXPECT_TRUE(view->SelectedEntries().empty());
    EXPECT_FALSE(IsWindowEnabled(view->Item(IDC_UNINSTALL_DELETE)));
}

TEST_F(UninstallView, TheListMenuOpensOnceAndGraysWhatNeedsASelection)
{
    auto view = OpenView();
    HWND list = view->List().Hwnd();
    g_menusSeen.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadAndCloseMenu);
    // A right click on the empty part of the list, as the mouse gives it.
    RECT client{};
    GetClientRect(list, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, client.bottom - 10);
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(list, WM_RBUTTONUP, 0, at);
    controls_test::PumpUntil([] { return false; }, 600);
    ASSERT_EQ(g_menusSeen.size(), 1u) << "a right click opens the menu once";
    ASSERT_EQ(g_menusSeen[0].size(), 4u);
    EXPECT_EQ(g_menusSeen[0][0].text, "&Add...");
    EXPECT_FALSE(g_menusSeen[0][0].grayed);
    for (size_t item = 1; item < 4; ++item)
        EXPECT_TRUE(g_menusSeen[0][item].grayed) << g_menusSeen[0][item].text << " without a selection";

    // From the keyboard, in French, with a selection.
    SetTextLanguage(0x040C);
    SelectRows(*view, {0});
    g_menusSeen.clear();
    SendMessageA(view->Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    KillTimer(nullptr, timer);
    ASSERT_EQ(g_menusSeen.size(), 1u);
    ASSERT_EQ(g_menusSeen[0].size(), 4u);
    EXPECT_EQ(g_menusSeen[0][2].text, "&D\xE9sinstaller...");
    for (const MenuItemSeen& item : g_menusSeen[0])
        EXPECT_FALSE(item.grayed) << item.text;
    for (const char* name : kNames)
        EXPECT_TRUE(KeyExists(name)) << "a dismissed menu runs nothing";
}

TEST_F(UninstallView, SelectingShowsTheEntryAndARefillKeepsIt)
{
    auto view = OpenView();
    const int row = RowNamed(*view, "QnView bravo");
    ASSERT_GE(row, 0);
    SelectRows(*view, {row});
    EXPECT_EQ(Text(view->Item(IDC_UNINSTALL_NAME)), "QnView bravo");
    EXPECT_EQ(Text(view->Item(IDC_UNINSTALL_COMMAND)), "C:\\absent\\QnView bravo.exe /u");
    EXPECT_TRUE(IsWindowEnabled(view->Item(IDC_UNINSTALL_RUN)));
    view->Fill();
    const std::vector<size_t> selected = view->SelectedEntries();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(UninstallEntries::Shared()[selected[0]].keyName, "QnView bravo");
    EXPECT_EQ(Text(view->Item(IDC_UNINSTALL_NAME)), "QnView bravo");
}

TEST_F(UninstallView, AFileDroppedOnTheDialogBecomesItsCommandAndName)
{
    const fs::path file = fs::path(testing::TempDir()) / "qn dropped tool.exe";
    std::ofstream(file, std::ios::binary) << "MZ";
    std::string name, command;
    DialogScript script;
    script.droppedFile = file.string();
    script.accept = true;
    EXPECT_TRUE(RunDialog(script, name, command));
    EXPECT_FALSE(g_script.okEnabledBefore) << "OK without a name and a command";
    EXPECT_TRUE(g_script.okEnabledAfter);
    EXPECT_EQ(command, file.string());
    EXPECT_EQ(name, "qn dropped tool.exe");

    // A name already typed stays; Cancel leaves the caller's texts alone.
    name = "Kept";
    command = "old.exe";
    script.accept = false;
    EXPECT_FALSE(RunDialog(script, name, command));
    EXPECT_EQ(g_script.nameSeen, "Kept");
    EXPECT_EQ(g_script.commandSeen, file.string());
    EXPECT_EQ(name, "Kept");
    EXPECT_EQ(command, "old.exe");
    fs::remove(file);
}

TEST_F(UninstallView, EveryTextFitsInEnglishAndFrench)
{
    for (const auto& [language, form, dialog] :
         {std::tuple{0x0409u, "uninstall_form_en", "uninstall_dialog_en"},
          std::tuple{0x040Cu, "uninstall_form_fr", "uninstall_dialog_fr"}}) {
        SetTextLanguage(language);
        auto view = OpenView(0xE901);
        SelectRows(*view, {1});
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveScreenBmp(ScreenshotPath(form));
        for (const std::string& text :
             ClippedTexts(view->Hwnd(), {IDC_UNINSTALL_NAME_LABEL, IDC_UNINSTALL_COMMAND_LABEL, IDC_UNINSTALL_ADD,
                                         IDC_UNINSTALL_DELETE, IDC_UNINSTALL_EDIT, IDC_UNINSTALL_RUN}))
            ADD_FAILURE() << form << ": \"" << text << "\" does not fit";
        if (language == 0x040Cu) {
            EXPECT_EQ(Text(view->Item(IDC_UNINSTALL_RUN)), "&D\xE9sinstaller");
        }

        std::string name = "QnView alpha", command = "C:\\absent\\QnView alpha.exe /u";
        DialogScript script;
        script.screenshot = dialog;
        RunDialog(script, name, command);
        EXPECT_TRUE(g_script.done);
        DestroyWindow(view->Hwnd());
    }
}
} // namespace
