// The module kit's window pieces in test windows under Wine.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/support/screen_win.h"
#include "../controls/test_window_win.h"
#include "base/text.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/apply_tracker_win.h"
#include "shell/capture_tabs_win.h"
#include "shell/context_menu_win.h"
#include "shell/controls/parent_hook_win.h"
#include "shell/deferred_icon_resolver_win.h"
#include "shell/image_tab_strip_win.h"
#include "shell/system_image_list_win.h"

using namespace controls_test;

namespace {
constexpr COLORREF kMagenta = RGB(255, 0, 255), kGreen = RGB(0, 255, 0);
constexpr UINT kTabsId = 1032, kOtherTabsId = 1033;

// The colour image `image` of a list draws at (x, y) over a blue background.
COLORREF DrawnPixel(HIMAGELIST images, int image, int x, int y)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, blue);
    DeleteObject(blue);
    ImageList_Draw(images, image, dc, 0, 0, ILD_NORMAL);
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixel;
}

std::unique_ptr<CPicture> Plain(int width, int height, COLORREF colour)
{
    auto picture = std::make_unique<CPicture>();
    picture->Create(width, height);
    const uint8_t bgr[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->SetPixel(x, y, bgr);
    return picture;
}

// Whether a colour appears on the screen inside a window's rectangle `area` (its client
// coordinates). The area is copied once: pixel reads from the screen are slow under Wine.
bool ScreenShows(HWND window, RECT area, COLORREF colour)
{
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    bool found = false;
    for (int i = 0; i < width * height && !found; ++i)
        found = (pixels[i] & 0xFFFFFF) == wanted;
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteObject(copy);
    return found;
}

// The user picks tab `tab`: the control changes and tells its parent.
void ChooseTab(HWND tabs, int tab)
{
    TabCtrl_SetCurSel(tabs, tab);
    NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

class Kit : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCommonControls();
        SetTextLanguage(0x0409);
        window = CreateTestWindow("Kit test", 40, 40, 640, 420);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        PumpMessages();
        SetTextLanguage(0x0409);
    }
    HWND window = nullptr;
};
} // namespace

TEST_F(Kit, TabStripShowsBitmapPicturesWithoutTheirKeyColour)
{
    CImageTabStrip explorer, tools;
    ASSERT_TRUE(explorer.Create(window, kTabsId, RECT{10, 10, 410, 200}));
    EXPECT_EQ(explorer.AddTab(IDS_TAB_FILES, IDB_EXPLORER_TAB_FILES, kMagenta), 0);
    EXPECT_EQ(explorer.AddTab(IDS_TAB_PICTURES, IDB_EXPLORER_TAB_PICTURES, kMagenta), 1);
    EXPECT_EQ(explorer.AddTab(IDS_TAB_REPORT, IDB_EXPLORER_TAB_REPORT, kMagenta), 2);
    EXPECT_EQ(explorer.AddTab(IDS_TAB_INFO, IDB_EXPLORER_TAB_INFO, kGreen), 3);
    ASSERT_EQ(explorer.Count(), 4);
    EXPECT_EQ(explorer.ImageCount(), 4);
    EXPECT_EQ(explorer.TabText(0), "Files");
    EXPECT_EQ(explorer.TabText(3), LoadText(IDS_TAB_INFO));
    for (int tab = 0; tab < 4; ++tab)
        EXPECT_EQ(explorer.TabImage(tab), tab);
    // The key colour shows the background; the other pixels stay as drawn.
    EXPECT_EQ(DrawnPixel(explorer.Images(), 1, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(DrawnPixel(explorer.Images(), 1, 8, 8), RGB(197, 176, 240));
    EXPECT_EQ(DrawnPixel(explorer.Images(), 3, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(DrawnPixel(explorer.Images(), 3, 8, 8), RGB(252, 253, 254));
    EXPECT_EQ(explorer.AddBitmapResource(IDS_TAB_FILES, kMagenta), -1); // no such bitmap

    // The user's choice reaches the owner; the parent still sees the notification.
    std::vector<int> chosen;
    explorer.SetSelectionCallback([&](int tab) { chosen.push_back(tab); });
    ChooseTab(explorer.Hwnd(), 2);
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(explorer.Selection(), 2);
    EXPECT_TRUE(explorer.Select(1));
    EXPECT_FALSE(explorer.Select(4));
    EXPECT_EQ(chosen.size(), 1u); // choosing in code is no user choice
    const RECT page = explorer.PageRect();
    EXPECT_GT(page.top, 10);
    EXPECT_LT(page.bottom, 200);

    // The tools' tabs, keyed by green, in French.
    SetTextLanguage(0x040C);
    ASSERT_TRUE(tools.Create(window, kOtherTabsId, RECT{10, 210, 630, 400}));
    tools.AddTab(IDS_TOOLS_ALL, IDB_TOOLS_TAB_ALL, kGreen);
    tools.AddTab(IDS_TOOLS_MAKER, IDB_TOOLS_TAB_MAKER, kGreen);
    tools.AddTab(IDS_TOOLS_CUSTOM, IDB_TOOLS_TAB_CUSTOM, kGreen);
    tools.AddTab(IDS_TOOLS_SYSTEM, IDB_TOOLS_TAB_SYSTEM, kGreen);
    EXPECT_EQ(tools.TabText(0), LoadText(IDS_TOOLS_ALL));
    EXPECT_EQ(DrawnPixel(tools.Images(), 1, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(DrawnPixel(tools.Images(), 1, 8, 8), RGB(229, 92, 68));
    tools.Select(2);

    // On screen: the pictures are drawn in their tabs, and no key colour is left anywhere.
    PumpUntil([] { return false; }, 300);
    RECT picturesTab{}, makerTab{};
    TabCtrl_GetItemRect(explorer.Hwnd(), 1, &picturesTab);
    MapWindowPoints(explorer.Hwnd(), window, reinterpret_cast<POINT*>(&picturesTab), 2);
    TabCtrl_GetItemRect(tools.Hwnd(), 1, &makerTab);
    MapWindowPoints(tools.Hwnd(), window, reinterpret_cast<POINT*>(&makerTab), 2);
    EXPECT_TRUE(ScreenShows(window, picturesTab, RGB(197, 176, 240)));
    EXPECT_TRUE(ScreenShows(window, makerTab, RGB(229, 92, 68)));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_FALSE(ScreenShows(window, client, kMagenta));
    EXPECT_FALSE(ScreenShows(window, client, kGreen));
    EXPECT_TRUE(SaveScreenBmp(std::string(QUENTA_BINARY_DIR) + "/tests/shell/kit/tab_strips.bmp"));
}

TEST_F(Kit, CaptureTabsFollowTheCaptureList)
{
    CCaptureTabs captures;
    ASSERT_TRUE(captures.Create(window, kTabsId, RECT{10, 10, 410, 200}));
    int changes = 0;
    captures.SetCurrentCallback([&] { ++changes; });
    CImageTabStrip& strip = captures.Strip();
    EXPECT_EQ(strip.Count(), 0);
    ASSERT_EQ(strip.ImageCount(), 1); // the placeholder
    EXPECT_EQ(DrawnPixel(strip.Images(), 0, 8, 8), RGB(192, 192, 192));

    ASSERT_TRUE(captures.Add(Plain(320, 200, RGB(200, 0, 0)), "1"));
    EXPECT_EQ(strip.ImageCount(), 1); // the placeholder made way
    EXPECT_EQ(DrawnPixel(strip.Images(), 0, 8, 8), RGB(200, 0, 0));
    ASSERT_TRUE(captures.Add(Plain(10, 10, RGB(0, 200, 0)), "2"));
    ASSERT_TRUE(captures.Add(Plain(30, 20, RGB(0, 0, 200)), "3"));
    EXPECT_FALSE(captures.Add(std::make_unique<CPicture>(), "empty"));
    EXPECT_EQ(strip.Count(), 3);
    EXPECT_EQ(strip.ImageCount(), 3);
    EXPECT_EQ(strip.Selection(), 2);
    EXPECT_EQ(captures.List().CurrentIndex(), 2u);
    EXPECT_EQ(changes, 3);
    // Each tab draws its picture's thumbnail.
    PumpUntil([] { return false; }, 200);
    const COLORREF colours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    for (int tab = 0; tab < 3; ++tab) {
        RECT area{};
        TabCtrl_GetItemRect(strip.Hwnd(), tab, &area);
        MapWindowPoints(strip.Hwnd(), window, reinterpret_cast<POINT*>(&area), 2);
        EXPECT_TRUE(ScreenShows(window, area, colours[tab])) << tab;
    }
    EXPECT_TRUE(SaveScreenBmp(std::string(QUENTA_BINARY_DIR) + "/tests/shell/kit/capture_tabs.bmp"));

    // A chosen tab makes its picture current.
    ChooseTab(strip.Hwnd(), 0);
    EXPECT_EQ(captures.List().CurrentIndex(), 0u);
    EXPECT_EQ(captures.Current()->Width(), 320);
    EXPECT_EQ(changes, 4);

    // Deleting the first: the index stays 0, now on the former second picture; the tabs keep
    // showing their own thumbnails.
    ASSERT_TRUE(captures.DeleteCurrent());
    EXPECT_EQ(strip.Count(), 2);
    EXPECT_EQ(strip.ImageCount(), 2);
    EXPECT_EQ(strip.Selection(), 0);
    EXPECT_EQ(strip.TabText(0), "2");
    EXPECT_EQ(DrawnPixel(strip.Images(), strip.TabImage(0), 8, 8), RGB(0, 200, 0));
    EXPECT_EQ(DrawnPixel(strip.Images(), strip.TabImage(1), 8, 8), RGB(0, 0, 200));

    // Deleting the last one moves back; the very last brings the placeholder back.
    ChooseTab(strip.Hwnd(), 1);
    ASSERT_TRUE(captures.DeleteCurrent());
    EXPECT_EQ(captures.List().CurrentIndex(), 0u);
    EXPECT_EQ(strip.Selection(), 0);
    ASSERT_TRUE(captures.DeleteCurrent());
    EXPECT_EQ(strip.Count(), 0);
    EXPECT_EQ(strip.ImageCount(), 1);
    EXPECT_EQ(DrawnPixel(strip.Images(), 0, 8, 8), RGB(192, 192, 192));
    EXPECT_EQ(captures.Current(), nullptr);
    EXPECT_FALSE(captures.DeleteCurrent());
}

namespace {
constexpr UINT kEditId = 101, kCheckId = 102, kComboId = 103, kUpDownId = 104, kApplyId = 105, kOtherEditId = 106;

HWND Child(HWND parent, const char* cls, DWORD style, UINT id, int y)
{
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, y, 150, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void Notify(HWND control, UINT code)
{
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}
} // namespace

TEST_F(Kit, ApplyTrackerEnablesApplyOnUserChangesAndDisablesItOnceApplied)
{
    HWND edit = Child(window, WC_EDITA, WS_BORDER, kEditId, 10);
    HWND check = Child(window, WC_BUTTONA, BS_AUTOCHECKBOX, kCheckId, 40);
    HWND combo = Child(window, WC_COMBOBOXA, CBS_DROPDOWNLIST, kComboId, 70);
    HWND upDown = Child(window, UPDOWN_CLASSA, 0, kUpDownId, 100);
    HWND apply = Child(window, WC_BUTTONA, BS_PUSHBUTTON, kApplyId, 130);
    HWND other = Child(window, WC_EDITA, WS_BORDER, kOtherEditId, 160);
    int applied = 0;
    bool succeed = true;
    CApplyTracker tracker;
    ASSERT_TRUE(tracker.Attach(window, kApplyId, [&] {
        ++applied;
        return succeed;
    }));
    tracker.Watch({kEditId, kCheckId, kComboId, kUpDownId});
    EXPECT_FALSE(IsWindowEnabled(apply));

    // The view filling its controls is no change; the user typing is.
    {
        CApplyTracker::Quiet quiet(tracker);
        SetWindowTextA(edit, "filled by the view");
    }
    EXPECT_FALSE(IsWindowEnabled(apply));
    SetWindowTextA(other, "not watched");
    EXPECT_FALSE(IsWindowEnabled(apply));
    SetWindowTextA(edit, "typed");
    EXPECT_TRUE(IsWindowEnabled(apply));
    EXPECT_TRUE(tracker.HasChanges());

    // Apply runs the action and disables itself; a failed apply leaves it enabled.
    SendMessageA(apply, BM_CLICK, 0, 0);
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(IsWindowEnabled(apply));
    SendMessageA(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(apply));
    succeed = false;
    SendMessageA(apply, BM_CLICK, 0, 0);
    EXPECT_EQ(applied, 2);
    EXPECT_TRUE(IsWindowEnabled(apply));

    // Combo boxes and up-down controls count too; Reset forgets the changes.
    tracker.Reset();
    EXPECT_FALSE(IsWindowEnabled(apply));
    Notify(combo, CBN_SELCHANGE);
    EXPECT_TRUE(IsWindowEnabled(apply));
    tracker.Reset();
    NMUPDOWN delta{};
    delta.hdr = {upDown, kUpDownId, static_cast<UINT>(UDN_DELTAPOS)};
    delta.iDelta = 1;
    SendMessageA(window, WM_NOTIFY, kUpDownId, reinterpret_cast<LPARAM>(&delta));
    EXPECT_TRUE(IsWindowEnabled(apply));
    tracker.Reset();
    Notify(combo, CBN_DROPDOWN); // opening the list changes nothing
    EXPECT_FALSE(IsWindowEnabled(apply));
    tracker.MarkChanged();
    EXPECT_TRUE(IsWindowEnabled(apply));
    succeed = true;
    EXPECT_TRUE(tracker.Apply());
    EXPECT_FALSE(IsWindowEnabled(apply));
}

TEST_F(Kit, SystemSmallImagesAreSharedAndOutliveTheListsShowingThem)
{
    HIMAGELIST images = SystemSmallImageList();
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(SystemSmallImageList(), images);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_NE(SystemLargeImageList(), images);

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_GE(SystemSmallIconIndex(windows), 0);
    EXPECT_GE(GenericSmallIconIndex(true), 0);
    EXPECT_GE(GenericSmallIconIndex(false), 0);
    EXPECT_EQ(SystemSmallIconIndex(""), -1);

    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 300, 200, window,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    AttachSystemSmallImages(list);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), images);
    EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);
    const int count = ImageList_GetImageCount(images);
    DestroyWindow(list);
    EXPECT_EQ(ImageList_GetImageCount(images), count); // still there
    EXPECT_GT(count, 0);
}

namespace {
// Serves messages one at a time for a while, counting the ticks of one timer.
int PumpCountingTicks(UINT_PTR timerId, int milliseconds)
{
    int ticks = 0;
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_TIMER && msg.wParam == timerId)
            ++ticks;
        DispatchMessageA(&msg);
    }
    return ticks;
}
} // namespace

TEST_F(Kit, DeferredResolverTakesOneItemPerTickAndStopsWithItsOwner)
{
    std::vector<int> resolved;
    CDeferredIconResolver<int> resolver([&](const int& item) {
        resolved.push_back(item);
        return item != 2; // item 2 was deleted meanwhile: the next one goes in the same tick
    });
    resolver.SetOwner(window);
    for (int item = 1; item <= 5; ++item)
        resolver.Add(item);
    EXPECT_TRUE(resolved.empty()); // nothing before the first tick
    EXPECT_TRUE(resolver.IsRunning());
    const int ticks = PumpCountingTicks(reinterpret_cast<UINT_PTR>(&resolver), 400);
    EXPECT_EQ(resolved, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(resolver.IsRunning());

    // Stop drops what waits.
    resolved.clear();
    resolver.Add(7);
    resolver.Add(8);
    resolver.Stop();
    EXPECT_EQ(resolver.Pending(), 0u);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(resolved.empty());

    // The owner's end ends the ticks; a new owner takes over what waits.
    HWND owner = CreateTestWindow("Owner", 0, 0, 50, 50);
    resolver.SetOwner(owner);
    resolver.Add(9);
    DestroyWindow(owner);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(resolved.empty());
    EXPECT_EQ(resolver.Pending(), 1u);
    resolver.SetOwner(window);
    resolver.Add(10);
    EXPECT_TRUE(PumpUntil([&] { return resolver.Pending() == 0; }));
    EXPECT_EQ(resolved, (std::vector<int>{9, 10}));

    // A resolver that goes while items wait leaves no tick behind.
    int late = 0;
    auto gone = std::make_unique<CDeferredIconResolver<int>>([&](const int&) { return ++late > 0; });
    gone->SetOwner(window);
    gone->Add(1);
    gone.reset();
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(late, 0);
}

namespace {
std::vector<UINT> g_commands;
std::vector<WPARAM> g_keys;

LRESULT CALLBACK CommandRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_commands.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateCommandWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CommandRecorder;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KitCommandWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "Commands", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

// Types the waiting keys into the open menu, once it is there.
void CALLBACK TypeIntoMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!FindThreadWindow("#32768"))
        return;
    KillTimer(nullptr, timer);
    for (WPARAM key : g_keys) {
        PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, key, 0);
        PostThreadMessageA(GetCurrentThreadId(), WM_KEYUP, key, 0xC0000000);
    }
}

UINT ShowWithKeys(HWND owner, std::vector<WPARAM> keys, const ContextMenuPreparer& prepare = {})
{
    g_keys = std::move(keys);
    SetTimer(nullptr, 0, 50, TypeIntoMenu);
    return ShowContextMenu(owner, IDR_PICTURE_VIEWER_MENU, POINT{150, 150}, prepare);
}
} // namespace

TEST_F(Kit, ContextMenuSendsTheChosenCommandToTheView)
{
    HWND owner = CreateCommandWindow();
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    g_commands.clear();
    std::string firstItem;
    const auto readFirst = [&](HMENU menu) {
        char text[128] = {};
        GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
        firstItem = text;
    };
    EXPECT_EQ(ShowWithKeys(owner, {VK_DOWN, VK_RETURN}, readFirst), static_cast<UINT>(ID_VIEWER_SAVE_BMP));
    EXPECT_EQ(g_commands, std::vector<UINT>{ID_VIEWER_SAVE_BMP});
    EXPECT_EQ(firstItem, "Save in &BMP...");

    // Dismissed: no command.
    EXPECT_EQ(ShowWithKeys(owner, {VK_ESCAPE}), 0u);
    EXPECT_EQ(g_commands.size(), 1u);

    // In the language of the texts.
    SetTextLanguage(0x040C);
    ShowWithKeys(owner, {VK_ESCAPE}, readFirst);
    EXPECT_EQ(firstItem, "Enregistrer en &BMP...");
    EXPECT_EQ(ShowContextMenu(owner, IDS_TAB_FILES, POINT{0, 0}), 0u); // no such menu
    DestroyWindow(owner);
}

TEST_F(Kit, KeyboardContextMenuOpensUnderTheSelectedListItem)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 300, 300, window,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int row = 0; row < 5; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>("row");
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&state));

    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    const POINT keyboard = ContextMenuPoint(list, -1);
    EXPECT_GE(keyboard.x, row.left);
    EXPECT_LE(keyboard.x, row.right);
    EXPECT_EQ(keyboard.y, row.bottom);

    // The mouse gives its own point, also left of or above the primary screen.
    const POINT mouse = ContextMenuPoint(list, MAKELPARAM(static_cast<WORD>(-20), 40));
    EXPECT_EQ(mouse.x, -20);
    EXPECT_EQ(mouse.y, 40);

    // Nothing selected: the list's top left.
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    const POINT none = ContextMenuPoint(list, -1);
    EXPECT_EQ(none.x, origin.x);
    EXPECT_EQ(none.y, origin.y);
}
