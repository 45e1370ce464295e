// Drives the tool launcher of the real toolbox in the test prefix: the prefix's Windows folder
// for the built-in and system tools and install records of our own. Checks each list, that a
// double click starts the program in its folder, that the tip over a row names its path, and
// that nothing in the registry changed; screenshots are kept in the build folder.
#include "tests/e2e/tools/tools_e2e_suite_win.h"

using namespace tools_e2e;

namespace {
class ToolsE2eTest : public ToolsSuiteBase {
protected:
    static void SetUpTestSuite() { Prepare(); }
    static void TearDownTestSuite() { Finish(); }
};

} // namespace

TEST_F(ToolsE2eTest, ListsEachProgramOnceAndNeverTheProductOrMissingOnes)
{
    ASSERT_FALSE(fs::exists(fs::path(WindowsFolder()) / "winfile.exe")) << "the prefix has the built-in tool we expect missing";
    const e2e::RegistrySnapshot before = Snapshot();
    OpenTools();
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0), kCustomTab) << "Custom Tools is shown first";
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_custom_en")));

    // Custom Tools: the built-in tools the prefix has (Notepad, Regedit, Explorer), not the others.
    const std::vector<std::string> custom = Column(0);
    EXPECT_NE(std::find(custom.begin(), custom.end(), "Notepad"), custom.end());
    EXPECT_NE(std::find(custom.begin(), custom.end(), "Regedit"), custom.end());
    EXPECT_EQ(std::find(custom.begin(), custom.end(), "Files Manager"), custom.end());
    EXPECT_EQ(std::find(custom.begin(), custom.end(), "Paint Brush"), custom.end());
    EXPECT_TRUE(std::is_sorted(custom.begin(), custom.end(),
                               [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); }));

    ShowTab(kMakerTab);
    std::vector<std::string> maker = Column(0);
    std::sort(maker.begin(), maker.end());
    EXPECT_EQ(maker, (std::vector<std::string>{"Doomed Tool", "Marker Again", "Marker Tool"}));

    ShowTab(kSystemTab);
    const std::vector<std::string> system = Column(0);
    EXPECT_NE(std::find(system.begin(), system.end(), "notepad"), system.end());

    ShowTab(kAllTab);
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_all_en")));
    const std::vector<std::string> paths = Column(1);
    std::set<std::string> once;
    for (const std::string& path : paths) {
        EXPECT_TRUE(once.insert(Lower(path)).second) << path << " is listed twice under All Tools";
        EXPECT_NE(Lower(path), Lower(e2e::QuentaExe())) << "the product's own record is listed";
    }
    EXPECT_EQ(once.count(Lower(WindowsFolder() + "\\notepad.exe")), 1u) << "notepad is both built in and in the folder";
    EXPECT_EQ(once.count(Lower(MarkerProgram().string())), 1u);
    EXPECT_EQ(once.count(Lower((kDriveFolder / "vanished.exe").string())), 0u);
    for (const std::string& name : Column(0))
        EXPECT_NE(Lower(name), "quenta");

    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(ToolsE2eTest, DoubleClickStartsTheProgramInItsFolder)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    std::error_code ignored;
    fs::remove(MarkerFile(), ignored);
    const e2e::RegistrySnapshot before = Snapshot();
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
    e2e::ClickAt(m_list, rect, true);
    ASSERT_TRUE(WaitFor([] { return fs::exists(MarkerFile()) && fs::file_size(MarkerFile()) > 0; }, 15000))
        << "the program did not start";
    std::ifstream marker(MarkerFile());
    std::string folder((std::istreambuf_iterator<char>(marker)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Lower(fs::path(folder).lexically_normal().string() + "\\"),
              Lower(MarkerFolder().string() + "\\")) << "started in " << folder;
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(ToolsE2eTest, TipOverARowNamesItsPath)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
    POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(m_list, &at);
    SetForegroundWindow(Frame());
    SetCursorPos(at.x, at.y);
    EXPECT_TRUE(WaitFor([&] { return VisibleTipText() == MarkerProgram().string(); }, 5000))
        << "tip: \"" << VisibleTipText() << "\"";
    SetCursorPos(0, 0);
}


TEST_F(ToolsE2eTest, RightClickShowsTheShellsMenuForALinkToTheProgram)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    std::error_code ignored;
    fs::remove(ShellMenuLink("marker"), ignored);
    const RECT rect = RowRect(row);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    POINT screen{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(m_list, &screen);
    SetCursorPos(screen.x, screen.y); // the menu shows where the cursor is
    PostMessageA(m_list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(m_list, WM_RBUTTONUP, 0, at);
    HWND menu = WaitForWindow(IsVisibleMenu);
    ASSERT_NE(menu, nullptr) << "no menu";
    EXPECT_TRUE(fs::exists(ShellMenuLink("marker"))) << ShellMenuLink("marker");
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_shell_menu_en")));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }, 5000)) << "the menu stayed";
    Sleep(500);
    EXPECT_EQ(FindWindowOfProcess(Quenta().Id(), IsVisibleMenu), nullptr) << "a second menu followed the shell's";
}

TEST_F(ToolsE2eTest, MenuKeyShowsTheListsOwnMenu)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    Select({row});
    PostMessageA(CurrentView(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_list), -1);
    HWND menu = WaitForWindow(IsVisibleMenu);
    ASSERT_NE(menu, nullptr) << "no menu";
    e2e::Settle(menu);
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_list_menu_en")));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }, 5000));
}

TEST_F(ToolsE2eTest, CopyPutsTheProgramOnTheClipboard)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    Select({row});
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    Command(ID_FILE_ACTION_COPY);
    std::string copied;
    EXPECT_TRUE(WaitFor([&] {
        if (!IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboard(nullptr))
            return false;
        if (HANDLE drop = GetClipboardData(CF_HDROP)) {
            char path[MAX_PATH] = "";
            if (DragQueryFileA(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0) == 1 &&
                DragQueryFileA(static_cast<HDROP>(drop), 0, path, MAX_PATH))
                copied = path;
        }
        CloseClipboard();
        return !copied.empty();
    }, 5000));
    EXPECT_EQ(Lower(copied), Lower(MarkerProgram().string()));
}

TEST_F(ToolsE2eTest, DeleteSendsTheProgramToTheTrashAndDropsItFromEveryTab)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Doomed Tool");
    ASSERT_GE(row, 0);
    const int rows = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(Trash() / "files", ignored))
        if (entry.path().filename().string().rfind("doomed", 0) == 0)
            fs::remove(entry.path(), ignored);
    const e2e::RegistrySnapshot before = Snapshot();
    Select({row});
    Command(ID_FILE_ACTION_DELETE);
    HWND question = WaitForWindow([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, IDYES); });
    ASSERT_NE(question, nullptr) << "the shell did not ask";
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([] { return !fs::exists(DoomedProgram()); })) << "not deleted";
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) == rows - 1; }, 5000))
        << "its row stayed";
    EXPECT_EQ(RowNamed("Doomed Tool"), -1);
    int trashed = 0; // the trash may add a tag to the name
    for (const auto& entry : fs::directory_iterator(Trash() / "files", ignored))
        trashed += entry.path().filename().string().rfind("doomed.exe", 0) == 0 ? 1 : 0;
    EXPECT_EQ(trashed, 1) << "not in " << Trash();
    ShowTab(kAllTab);
    for (const std::string& path : Column(1))
        EXPECT_NE(Lower(path), Lower(DoomedProgram().string())) << "All Tools still lists it";
    // The record stays: only the file was asked for.
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kMakerKey, "Doomed Tool", RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}
