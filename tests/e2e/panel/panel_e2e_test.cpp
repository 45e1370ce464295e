// Module 18 in quenta.exe: the welcome page of the panel archive is drawn (headings, links and
// the banner picture on screen), a module link switches the main window to that module, and a
// page link opens another panel page.
#include <string>

#include "res/resource.h"
#include "tests/e2e/panel/panel_screen_win.h"

namespace {
using namespace panel_e2e;

class PanelTest : public QuentaSuite {
protected:
    HWND OpenPanel()
    {
        SwitchTo(e2e::kBlankModule);
        SwitchTo(kPanelModule);
        HWND view = nullptr;
        WaitFor([&] {
            view = CurrentView();
            return view && ViewText(view) == "Welcome to Quenta";
        });
        if (view) {
            RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            e2e::Settle(Frame());
        }
        return view;
    }
};

TEST_F(PanelTest, WelcomePageIsDrawnWithItsPictureHeadingsAndLinks)
{
    HWND view = OpenPanel();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(ViewText(view), "Welcome to Quenta") << "module 18 shows no welcome page";
    const ScreenCapture screen;
    EXPECT_TRUE(screen.SaveBmp(std::string(QUENTA_BINARY_DIR) + "/tests/e2e/panel/panel_en.bmp"));
    const RECT area = ScreenRectOf(view);
    EXPECT_GT(CountColour(screen, area, kHeadingColour), 200) << "no heading text drawn";
    EXPECT_GT(CountColour(screen, area, kLinkColour), 200) << "no link drawn";
    // The banner: a band of coloured rows near the top of the page.
    const RECT top = {area.left, area.top, area.right, area.top + 140};
    EXPECT_FALSE(ChromaticBands(screen, top, 40).empty()) << "the welcome picture is not drawn";
}

TEST_F(PanelTest, ModuleLinkSwitchesToThatModule)
{
    HWND view = OpenPanel();
    ASSERT_NE(view, nullptr);
    const std::optional<POINT> explorer = LinkPixel(view, false); // the first link: Quenta Explorer
    ASSERT_TRUE(explorer) << "no link on screen";
    ClickAt(view, *explorer);
    EXPECT_TRUE(WaitFor([&] { return CaptionOf(Frame()).find(" - Quenta Explorer") != std::string::npos; }))
        << "the main window shows \"" << CaptionOf(Frame()) << "\"";
}

TEST_F(PanelTest, PageLinkOpensAnotherPanelPage)
{
    HWND view = OpenPanel();
    ASSERT_NE(view, nullptr);
    SendMessageA(view, WM_VSCROLL, SB_BOTTOM, 0);
    e2e::Settle(Frame());
    const std::optional<POINT> tips = LinkPixel(view, true); // the last link: the tips page
    ASSERT_TRUE(tips) << "no link on screen";
    ClickAt(view, *tips);
    EXPECT_TRUE(WaitFor([&] { return ViewText(view) == "Quenta Tips"; })) << "the panel shows \"" << ViewText(view) << "\"";
    EXPECT_TRUE(IsWindow(view)); // a page link stays in the panel
    e2e::Settle(Frame());
    EXPECT_TRUE(SaveScreenBmp(std::string(QUENTA_BINARY_DIR) + "/tests/e2e/panel/panel_tips_en.bmp"));
}
} // namespace
