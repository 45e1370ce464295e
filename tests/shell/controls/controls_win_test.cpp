// The custom controls in a test window under Wine: folder tree on a temporary folder, colour
// button, icon combo box, coloured edit box, and the framework's message observers.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/support/screen_win.h"
#include "app/tooltip_settings.h"
#include "base/text.h"
#include "framework/frame.h"
#include "res/resource.h"
#include "shell/controls/dir_tree_model.h"
#include "shell/controls/dx_color_win.h"
#include "shell/controls/dx_combo_win.h"
#include "shell/controls/dx_dir_tree_win.h"
#include "shell/controls/dx_edit_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "test_window_win.h"
#include "tests/support/drop_files_win.h"

namespace fs = std::filesystem;
using namespace controls_test;

namespace {
class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        window = CreateTestWindow("Controls test", 60, 60, 600, 400);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        PumpMessages();
        OleUninitialize();
    }

    std::string ItemText(HWND tree, HTREEITEM item) const
    {
        char text[MAX_PATH] = {};
        TVITEMA data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof text;
        TreeView_GetItem(tree, &data);
        return text;
    }
    std::vector<std::string> ChildTexts(HWND tree, HTREEITEM parent) const
    {
        std::vector<std::string> texts;
        for (HTREEITEM c = TreeView_GetChild(tree, parent); c; c = TreeView_GetNextSibling(tree, c))
            texts.push_back(ItemText(tree, c));
        return texts;
    }

    HWND window = nullptr;
};

// A folder of its own under the temporary folder, removed at the end.
struct TempFolder {
    TempFolder()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        path = fs::path(temp) / ("dxtree" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(path);
        fs::create_directories(path / "beta" / "inner");
        fs::create_directories(path / "Alpha");
        fs::create_directories(path / "empty");
        for (const char* name : {"b.gif", "a.BMP", "notes.txt"})
            std::ofstream(path / name) << "x";
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string Str() const { return path.string(); }
    fs::path path;
};
} // namespace

TEST_F(Controls, DirTreeListsFoldersLazilyWithPlaceholdersSortedAndFiltered)
{
    TempFolder temp;
    CDxDirTree tree;
    ASSERT_TRUE(tree.CreateControl(window, 200, RECT{10, 10, 290, 390}));
    tree.ShowFiles(true, "*.bmp;*.gif");
    std::vector<std::string> selections;
    tree.SetSelectionCallback([&](const std::string& path) { selections.push_back(path); });
    const HWND hwnd = tree.Hwnd();
    const std::string empty = LoadText(IDS_EMPTY);
    ASSERT_EQ(empty, "(empty)");

    HTREEITEM computer = TreeView_GetRoot(hwnd);
    EXPECT_EQ(ItemText(hwnd, computer), LoadText(IDS_MY_COMPUTER));
    EXPECT_EQ(ItemText(hwnd, TreeView_GetNextSibling(hwnd, computer)), LoadText(IDS_NETWORK_NEIGHBORHOOD));
    EXPECT_EQ(ChildTexts(hwnd, computer), std::vector<std::string>{empty}); // not listed yet

    ASSERT_TRUE(tree.SetPath(temp.Str()));
    HTREEITEM folder = TreeView_GetSelection(hwnd);
    EXPECT_TRUE(dirtree::SameName(tree.Path(), temp.Str()));
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(selections.back(), tree.Path());
    EXPECT_EQ(ChildTexts(hwnd, folder), std::vector<std::string>{empty}); // the folder itself is not listed yet

    TreeView_Expand(hwnd, folder, TVE_EXPAND);
    EXPECT_EQ(ChildTexts(hwnd, folder), (std::vector<std::string>{"Alpha", "beta", "empty", "a.BMP", "b.gif"}));
    // Every folder shows an expand button through its placeholder; an empty one says so.
    HTREEITEM beta = tree.FindNode((temp.path / "beta").string());
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(ChildTexts(hwnd, beta), std::vector<std::string>{empty});
    TreeView_Expand(hwnd, beta, TVE_EXPAND);
    EXPECT_EQ(ChildTexts(hwnd, beta), std::vector<std::string>{"inner"});
    HTREEITEM emptyFolder = tree.FindNode((temp.path / "empty").string());
    TreeView_Expand(hwnd, emptyFolder, TVE_EXPAND);
    EXPECT_EQ(ChildTexts(hwnd, emptyFolder), std::vector<std::string>{empty});

    // Icons are resolved afterwards, one node per tick.
    EXPECT_GT(tree.PendingIcons(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return tree.PendingIcons() == 0; }));

    // A path below a folder listed earlier is still found; a missing one is refused.
    fs::create_directories(temp.path / "Alpha" / "late");
    EXPECT_TRUE(tree.SetPath((temp.path / "alpha" / "LATE").string()));
    EXPECT_EQ(ItemText(hwnd, TreeView_GetSelection(hwnd)), "late");
    EXPECT_FALSE(tree.SetPath((temp.path / "missing").string()));
    EXPECT_FALSE(tree.SetPath("\\\\server\\share"));
}

TEST_F(Controls, DirTreeCopiesDroppedFilesIntoTheFolderUnderTheDropPoint)
{
    TempFolder temp;
    CDxDirTree tree;
    ASSERT_TRUE(tree.CreateControl(window, 200, RECT{10, 10, 290, 390}));
    tree.ShowFiles(true);
    ASSERT_TRUE(tree.SetPath((temp.path / "beta").string()));
    HTREEITEM beta = TreeView_GetSelection(tree.Hwnd());
    TreeView_Expand(tree.Hwnd(), beta, TVE_EXPAND);

    const std::string source = (temp.path / "notes.txt").string();
    ASSERT_TRUE(tree.CopyFilesInto(beta, {source}));
    EXPECT_TRUE(fs::exists(temp.path / "beta" / "notes.txt"));
    EXPECT_TRUE(fs::exists(temp.path / "notes.txt"));
    EXPECT_NE(tree.FindNode((temp.path / "beta" / "notes.txt").string()), nullptr); // listed afresh

    // Onto a file: into that file's folder.
    HTREEITEM file = tree.FindNode((temp.path / "beta" / "notes.txt").string());
    ASSERT_TRUE(tree.CopyFilesInto(file, {(temp.path / "a.BMP").string()}));
    EXPECT_TRUE(fs::exists(temp.path / "beta" / "a.BMP"));
    // Onto a root: nothing.
    EXPECT_FALSE(tree.CopyFilesInto(TreeView_GetRoot(tree.Hwnd()), {source}));

    // A shell drop message onto the "Alpha" node.
    HTREEITEM alpha = tree.FindNode((temp.path / "Alpha").string());
    ASSERT_NE(alpha, nullptr);
    RECT r{};
    TreeView_GetItemRect(tree.Hwnd(), alpha, &r, TRUE);
    HGLOBAL drop = MakeDropFiles({(temp.path / "b.gif").string()}, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    SendMessageA(tree.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_TRUE(fs::exists(temp.path / "Alpha" / "b.gif"));
}

TEST_F(Controls, DirTreeDragHoverMarksTheTargetAndExpandsItAfterASecond)
{
    TempFolder temp;
    CDxDirTree tree;
    ASSERT_TRUE(tree.CreateControl(window, 200, RECT{10, 10, 290, 390}));
    ASSERT_TRUE(tree.SetPath(temp.Str()));
    const HWND hwnd = tree.Hwnd();
    HTREEITEM folder = TreeView_GetSelection(hwnd);
    TreeView_Expand(hwnd, folder, TVE_EXPAND);
    HTREEITEM beta = tree.FindNode((temp.path / "beta").string());
    RECT r{};
    TreeView_GetItemRect(hwnd, beta, &r, TRUE);
    POINT over{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT screen = over;
    ClientToScreen(hwnd, &screen);
    SetCursorPos(screen.x, screen.y);

    tree.OnDragOver(over);
    EXPECT_EQ(TreeView_GetDropHilight(hwnd), beta);
    EXPECT_FALSE(TreeView_GetItemState(hwnd, beta, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(PumpUntil([&] { return (TreeView_GetItemState(hwnd, beta, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }));
    EXPECT_EQ(ChildTexts(hwnd, beta), std::vector<std::string>{"inner"});
    tree.OnDragLeave();
    EXPECT_EQ(TreeView_GetDropHilight(hwnd), nullptr);
}

namespace {
int g_changes = 0;
void CountChange(void* argument) { g_changes += *static_cast<int*>(argument); }

WPARAM g_button = IDOK;
// Presses a button of the first dialog box of this thread once it is there.
void CALLBACK PressDialogButton(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (HWND dialog = FindThreadWindow("#32770")) {
        KillTimer(nullptr, timer);
        PostMessageA(dialog, WM_COMMAND, g_button, 0);
    }
}

bool ChooseWithButton(CDxColor& color, WPARAM button)
{
    g_button = button;
    SetTimer(nullptr, 0, 50, PressDialogButton);
    return color.ChooseNewColor();
}
} // namespace

TEST_F(Controls, ColorButtonTakesTheDialogColourAndReportsChanges)
{
    CDxColor color;
    ASSERT_TRUE(color.CreateControl(window, 300, RECT{300, 10, 360, 34}));
    EXPECT_FALSE(color.HasColor());
    int weight = 1;
    g_changes = 0;
    color.SetChangeCallback(CountChange, &weight);

    // Cancel keeps the state: still no colour, no call.
    EXPECT_FALSE(ChooseWithButton(color, IDCANCEL));
    EXPECT_FALSE(color.HasColor());
    EXPECT_EQ(g_changes, 0);
    // OK on a control without colour takes the dialog's colour and reports it.
    EXPECT_TRUE(ChooseWithButton(color, IDOK));
    EXPECT_TRUE(color.HasColor());
    EXPECT_EQ(color.Color(), RGB(0, 0, 0));
    EXPECT_EQ(g_changes, 1);
    // OK on the same colour changes nothing.
    EXPECT_TRUE(ChooseWithButton(color, IDOK));
    EXPECT_EQ(g_changes, 1);

    // The custom colours are one array for every colour control of the process.
    CDxColor other;
    EXPECT_EQ(CDxColor::CustomColors(), other.CustomColors());
    color.SetColor(RGB(1, 2, 3));
    EXPECT_EQ(color.Color(), RGB(1, 2, 3));
    color.ClearColor();
    EXPECT_FALSE(color.HasColor());
}

TEST_F(Controls, ComboFindsItemsByTextAndReadsSelectionAndTypedText)
{
    CDxCombo combo;
    ASSERT_TRUE(combo.CreateControl(window, 301, RECT{300, 50, 560, 250}));
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    EXPECT_EQ(combo.AddItem("Bitmap", 10, icon), 0);
    EXPECT_EQ(combo.AddItem("GIF", 20, icon), 1);
    EXPECT_EQ(combo.AddItem("JPEG", 30), 2);
    EXPECT_EQ(combo.FindItem("gif"), 1);
    EXPECT_EQ(combo.FindItem("GI"), -1); // whole texts only
    EXPECT_EQ(combo.ItemData(2), 30);
    EXPECT_FALSE(combo.SelectedData());
    combo.Select(1);
    EXPECT_EQ(combo.Selection(), 1);
    EXPECT_EQ(combo.SelectedData(), 20);
    EXPECT_EQ(combo.CurrentText(), "GIF");
    SetWindowTextA(combo.Hwnd(), "typed");
    EXPECT_EQ(combo.CurrentText(), "typed");
    // The items are drawn by the control itself: the parent is asked to draw them.
    EXPECT_TRUE(GetWindowLongPtrA(combo.Hwnd(), GWL_STYLE) & CBS_OWNERDRAWFIXED);
    EXPECT_GE(SendMessageA(combo.Hwnd(), CB_GETITEMHEIGHT, 0, 0), 16);
}

TEST_F(Controls, EditPaintsInItsColoursAndFont)
{
    CDxEdit edit;
    ASSERT_TRUE(edit.CreateControl(window, 302, RECT{300, 260, 560, 290}));
    edit.SetColors(RGB(255, 255, 0), RGB(0, 0, 128));
    edit.SetFontSize(20, "Courier New");
    HDC dc = GetDC(edit.Hwnd());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit.Hwnd())));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 128));
    ReleaseDC(edit.Hwnd(), dc);
    LOGBRUSH fill{};
    ASSERT_TRUE(GetObjectA(brush, sizeof fill, &fill));
    EXPECT_EQ(fill.lbColor, RGB(0, 0, 128));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit.Hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_STREQ(font.lfFaceName, "Courier New");
}

TEST(FrameworkObservers, SeeEveryPreTranslatedMessageUntilRemoved)
{
    std::vector<UINT> seen;
    const int id = AddMessageObserver([&](const MSG& msg) { seen.push_back(msg.message); });
    MSG msg{};
    msg.message = WM_MOUSEMOVE;
    PreTranslateFrameworkMessage(msg);
    msg.message = WM_KEYDOWN;
    PreTranslateFrameworkMessage(msg);
    RemoveMessageObserver(id);
    PreTranslateFrameworkMessage(msg);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_MOUSEMOVE, WM_KEYDOWN}));
}

TEST_F(Controls, AllTogetherWithABalloonOnScreen)
{
    TempFolder temp;
    CDxDirTree tree;
    ASSERT_TRUE(tree.CreateControl(window, 200, RECT{10, 10, 290, 390}));
    tree.ShowFiles(true);
    ASSERT_TRUE(tree.SetPath(temp.Str()));
    TreeView_Expand(tree.Hwnd(), TreeView_GetSelection(tree.Hwnd()), TVE_EXPAND);
    CDxColor color, noColor;
    ASSERT_TRUE(color.CreateControl(window, 300, RECT{300, 10, 360, 34}));
    ASSERT_TRUE(noColor.CreateControl(window, 303, RECT{370, 10, 430, 34}));
    color.SetColor(RGB(200, 40, 40));
    CDxCombo combo;
    ASSERT_TRUE(combo.CreateControl(window, 301, RECT{300, 50, 560, 250}, CBS_DROPDOWNLIST));
    combo.AddItem("Application", 1, LoadIcon(nullptr, IDI_APPLICATION));
    combo.AddItem("Warning", 2, LoadIcon(nullptr, IDI_WARNING));
    combo.Select(1);
    CDxEdit edit;
    ASSERT_TRUE(edit.CreateControl(window, 302, RECT{300, 90, 560, 120}));
    edit.SetColors(RGB(255, 255, 0), RGB(0, 0, 128));
    edit.SetFontSize(18, "Courier New");
    SetWindowTextA(edit.Hwnd(), "Coloured edit");

    ProcessTooltipSettings() = TooltipSettings{};
    CDxToolTip tip;
    ASSERT_TRUE(tip.AttachOwner(window));
    tip.AddTool(color.Hwnd(), "Adds picture(s) to the list");
    POINT p{20, 12};
    ClientToScreen(color.Hwnd(), &p);
    SetCursorPos(p.x, p.y);
    MSG move{};
    move.hwnd = color.Hwnd();
    move.message = WM_MOUSEMOVE;
    move.pt = p;
    tip.RelayEvent(move);
    EXPECT_TRUE(PumpUntil([&] { return tree.PendingIcons() == 0; }));
    const auto balloonShown = [] {
        HWND balloon = FindThreadWindow("DxToolTipBalloon");
        return balloon && IsWindowVisible(balloon);
    };
    ASSERT_TRUE(PumpUntil(balloonShown));
    PumpUntil([] { return false; }, 200); // let everything paint
    EXPECT_TRUE(SaveScreenBmp(std::string(QUENTA_BINARY_DIR) + "/tests/shell/controls/controls.bmp"));
}
