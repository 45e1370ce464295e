// The shell's context menu under Wine: it shows the shell's commands for a file and returns
// when the menu is dismissed; paths it cannot take show nothing.
#include "filetools/common/shell_context_menu_win.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
int g_itemsSeen = -1;
bool g_menuSeen = false;

// Looks for the popup menu once it is up, notes its item count and closes it.
void CALLBACK CloseMenuWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuWindow || !IsWindowVisible(menuWindow))
        return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    g_itemsSeen = menu ? GetMenuItemCount(menu) : 0;
    g_menuSeen = true;
    EndMenu();
}

class ShellContextMenu : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "qn_context_menu_test";
        CreateDirectoryA(m_folder.c_str(), nullptr);
        m_file = m_folder + "\\note.txt";
        std::ofstream(m_file) << "text";
        m_owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        g_itemsSeen = -1;
        g_menuSeen = false;
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
        DeleteFileA(m_file.c_str());
        RemoveDirectoryA(m_folder.c_str());
    }

    std::string m_folder;
    std::string m_file;
    HWND m_owner = nullptr;
};
} // namespace

TEST_F(ShellContextMenu, ShowsTheShellsCommandsForAFileAndReturnsWhenDismissed)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenuWhenShown);
    ShowShellContextMenu(m_owner, {m_file}, POINT{40, 40});
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_menuSeen);
    EXPECT_GT(g_itemsSeen, 0);
    EXPECT_EQ(GetFileAttributesA(m_file.c_str()) != INVALID_FILE_ATTRIBUTES, true) << "dismissing ran a command";
}

TEST_F(ShellContextMenu, PathsOfSeveralFoldersOrUnknownToTheShellShowNothing)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenuWhenShown);
    ShowShellContextMenu(m_owner, {m_file, "C:\\windows\\win.ini"}, POINT{40, 40});
    ShowShellContextMenu(m_owner, {m_folder + "\\missing.txt"}, POINT{40, 40});
    ShowShellContextMenu(m_owner, {}, POINT{40, 40});
    KillTimer(nullptr, timer);
    EXPECT_FALSE(g_menuSeen);
}
