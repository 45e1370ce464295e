// Drives the real toolbox window from outside: switches to every module, checks the window
// title rules and keeps a screenshot per module in the build folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"

namespace {
const std::string kBase = "Ostrel Quenta v1.6";

struct Module {
    int id;
    const char* title;
};
const Module kModules[] = {
    {0, ""}, {18, "Quenta Online News"}, {13, "Quenta Explorer"}, {1, "System Pictures"}, {3, "Wallpaper"},
    {14, "Pictures Translator"}, {15, "Screen Capture"}, {16, "Acquire"}, {4, "Windows Colors"}, {5, "Tools"},
    {8, "Quenta Finder"}, {2, "Windows"}, {10, "Fonts"}, {17, "Applications shortcuts"}, {9, "Uninstall"},
    {12, "Data Types"}, {11, "Disks Information"}, {7, "System Information"}, {6, "Miscellaneous"},
};

std::string ExpectedTitle(const Module& module)
{
    return module.title[0] ? kBase + " - " + module.title : kBase;
}

// The module's title, followed by the extra part a module may add (the explorer's "[folder]").
bool ShowsModuleTitle(const std::string& caption, const Module& module)
{
    const std::string expected = ExpectedTitle(module);
    return caption == expected || (module.title[0] && caption.rfind(expected + " - [", 0) == 0 && caption.back() == ']');
}

// The module bar's button list, drawn down the left of the main window.
HWND ModuleButtonList(HWND frame)
{
    return FindDescendantByClass(frame, "QuentaModuleButtonList");
}

class MainWindowTest : public QuentaSuite {};
} // namespace

TEST_F(MainWindowTest, EveryModuleSwitchesAndTitlesFollowTheRules)
{
    EXPECT_EQ(CaptionOf(Frame()), kBase); // placeholder view before the first choice
    for (const Module& module : kModules) {
        SendMessageA(Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + module.id, 0);
        EXPECT_TRUE(WaitFor([&] { return ShowsModuleTitle(CaptionOf(Frame()), module); }))
            << "module " << module.id << " shows \"" << CaptionOf(Frame()) << "\"";
        e2e::Settle(Frame());
        const std::string shot =
            std::string(QUENTA_BINARY_DIR) + "/tests/e2e/shell/module_" + std::to_string(module.id) + ".bmp";
        EXPECT_TRUE(SaveScreenBmp(shot));
    }
    // Help > About shows module 0: the bare product title.
    SendMessageA(Frame(), WM_COMMAND, ID_APP_ABOUT_QUENTA, 0);
    EXPECT_TRUE(WaitFor([&] { return CaptionOf(Frame()) == kBase; }));
}

TEST_F(MainWindowTest, SwitchingReplacesTheViewOnlyForAnotherModule)
{
    SwitchTo(e2e::kBlankModule);
    SendMessageA(Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + 18, 0);
    ASSERT_TRUE(WaitFor([&] { return CaptionOf(Frame()) == kBase + " - Quenta Online News"; }));
    // Pressing the button of the module already shown changes nothing.
    HWND viewBefore = GetDlgItem(Frame(), 0xE900);
    ASSERT_NE(viewBefore, nullptr);
    SendMessageA(Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + 18, 0);
    EXPECT_EQ(GetDlgItem(Frame(), 0xE900), viewBefore);
    SendMessageA(Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + 13, 0);
    EXPECT_NE(GetDlgItem(Frame(), 0xE900), viewBefore);
    EXPECT_FALSE(IsWindow(viewBefore)); // the old view is gone
}

// The screenshot proves the module bar is drawn: its buttons' pictures stand one below the
// other, each a band of coloured rows on the bar's grey, as many as fit the bar.
TEST_F(MainWindowTest, ModuleBarDrawsAPictureForEveryButtonThatFits)
{
    SwitchTo(e2e::kBlankModule);
    HWND list = ModuleButtonList(Frame());
    ASSERT_NE(list, nullptr) << "the main window has no module bar";
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    e2e::Settle(Frame());
    const ScreenCapture screen;
    EXPECT_TRUE(screen.SaveBmp(std::string(QUENTA_BINARY_DIR) + "/tests/e2e/shell/module_bar.bmp"));
    RECT bar{};
    GetWindowRect(list, &bar);
    InflateRect(&bar, -3, -3); // inside the bar's 3D frame
    ASSERT_GT(bar.bottom - bar.top, 200) << "the module bar is too short to show its buttons";

    const auto pictures = ChromaticBands(screen, bar, 16);
    EXPECT_GE(pictures.size(), 6u) << "button pictures drawn in the module bar";
    for (size_t i = 1; i < pictures.size(); ++i) // evenly spaced, one per button
        EXPECT_NEAR(pictures[i].first - pictures[i - 1].first, pictures[1].first - pictures[0].first, 2) << i;
    // Between the pictures the bar's own colour shows, not one colour everywhere.
    const COLORREF background = screen.At(bar.left + 1, bar.bottom - 2);
    EXPECT_FALSE(IsChromatic(background)) << ColourText(background);
}
