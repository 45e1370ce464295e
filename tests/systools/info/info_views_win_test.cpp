// The three information views in a plain window, in English and in French: their texts come
// from the string tables in the chosen language and fit their controls, with a screenshot of
// each view and of the font viewer and print choice dialogs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/settings.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/info/font_viewer_dlg_win.h"
#include "systools/info/fonts_view_win.h"
#include "systools/info/print_choice_dlg_win.h"
#include "systools/info/sysinfo_view_win.h"
#include "systools/info/wininfo_view_win.h"
#include "tests/e2e/support/screen_win.h"
#include "tests/shell/controls/test_window_win.h"

namespace {
std::string ShotPath(const std::string& name)
{
    return std::string(QUENTA_BINARY_DIR) + "/tests/systools/info/" + name + ".bmp";
}

std::string ItemText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ListText(HWND list, int row, int column)
{
    char text[512] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// The next modal dialog of this thread, once it shows: `act` gets it (and should end it).
std::function<void(HWND)> g_dialogAction;

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = GetForegroundWindow();
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (IsWindowVisible(window) && std::string(name) == "#32770") {
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    (void)dialog;
    if (!found || !g_dialogAction)
        return;
    KillTimer(nullptr, timer);
    RedrawWindow(found, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto action = std::move(g_dialogAction);
    g_dialogAction = nullptr;
    action(found);
}

class InfoViews : public testing::TestWithParam<unsigned> {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override
    {
        SetTextLanguage(GetParam());
        m_frame = CreateWindowExA(0, "STATIC", "information test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                  0, 900, 700, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
    }
    void TearDown() override
    {
        DestroyWindow(m_frame);
        SetTextLanguage(0x0409);
    }

    bool French() const { return GetParam() == 0x040C; }
    std::string Suffix() const { return French() ? "_fr" : "_en"; }

    // Creates, shows and fills a view; returns it.
    template <class View>
    std::unique_ptr<View> Show()
    {
        auto view = std::make_unique<View>();
        EXPECT_TRUE(view->CreateView(m_frame, 0xE900));
        MoveWindow(view->Hwnd(), 0, 0, 880, 660, TRUE);
        ShowWindow(view->Hwnd(), SW_SHOW);
        view->InitModule();
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        controls_test::PumpMessages();
        return view;
    }

    HWND m_frame = nullptr;
};

TEST_P(InfoViews, SystemInformation)
{
    auto view = Show<CSysInfo>();
    HWND list = view->Item(IDC_SYSINFO_LIST);
    EXPECT_EQ(ListText(list, 0, 0), French() ? "Architecture du processeur" : "Processor Architecture");
    // The name column takes a third of the list.
    RECT client;
    GetClientRect(list, &client);
    const int nameWidth = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    const int valueWidth = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_NEAR(valueWidth, 2 * nameWidth, 2);
    EXPECT_TRUE(SaveScreenBmp(ShotPath("sysinfo_view" + Suffix())));
}

TEST_P(InfoViews, WindowsInformationWithItsTabsAndPrintChoice)
{
    auto view = Show<CWinInfo>();
    HWND list = view->Item(IDC_WININFO_LIST);
    EXPECT_EQ(ListText(list, 0, 0), French() ? "Nom du produit" : "Product Name");
    EXPECT_EQ(ItemText(view->Item(IDC_WININFO_OWNER_LABEL)), French() ? "Propri\xE9taire :" : "Registered owner :");
    HWND tabs = view->Item(IDC_WININFO_TABS);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    const auto start = std::chrono::steady_clock::now();
    view->ShowTab(2); // the system programs
    const auto examined = std::chrono::steady_clock::now();
    view->ShowTab(0);
    view->ShowTab(2); // kept: shown again without examining
    const auto shownAgain = std::chrono::steady_clock::now();
    std::printf("System EXE: examined and shown in %.2f s, shown again in %.2f s\n",
                std::chrono::duration<double>(examined - start).count(),
                std::chrono::duration<double>(shownAgain - examined).count());
    EXPECT_GT(SendMessageA(view->Item(IDC_WININFO_FILES), LVM_GETITEMCOUNT, 0, 0), 0);
    RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveScreenBmp(ShotPath("wininfo_view" + Suffix())));

    std::string radio;
    g_dialogAction = [&](HWND dialog) {
        radio = ItemText(GetDlgItem(dialog, IDC_WININFO_PRINT_FILES));
        SaveScreenBmp(ShotPath("print_choice_view" + Suffix()));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    SetTimer(nullptr, 0, 100, ActOnDialog);
    EXPECT_FALSE(AskPrintChoice(m_frame).has_value()) << "Cancel chooses nothing";
    EXPECT_EQ(radio, French() ? "Liste des fichiers" : "Files List");
}

TEST_P(InfoViews, FontsAndTheFontViewer)
{
    auto view = Show<CSysFonts>();
    HWND list = view->Item(IDC_FONTS_LIST);
    ASSERT_GT(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_TRUE(SaveScreenBmp(ShotPath("fonts_view" + Suffix())));
    std::string title, label;
    g_dialogAction = [&](HWND dialog) {
        title = ItemText(dialog);
        label = ItemText(GetDlgItem(dialog, IDC_FONT_VIEWER_SIZE_LABEL));
        SaveScreenBmp(ShotPath("font_viewer_view" + Suffix()));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    CQnSettings().DeleteSection("FontViewer"); // the default size
    SetTimer(nullptr, 0, 100, ActOnDialog);
    ShowFontViewer(m_frame, {"Tahoma", DEFAULT_CHARSET});
    EXPECT_EQ(title, French() ? "Quenta - Visionneuse de polices" : "Quenta - Font Viewer");
    EXPECT_EQ(label, French() ? "Taille :" : "Size :");
}

INSTANTIATE_TEST_SUITE_P(Languages, InfoViews, testing::Values(0x0409u, 0x040Cu),
                         [](const testing::TestParamInfo<unsigned>& info) {
                             return std::string(info.param == 0x040C ? "French" : "English");
                         });
} // namespace
