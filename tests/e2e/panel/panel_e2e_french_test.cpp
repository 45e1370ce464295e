// Module 18 in French (the test runs with a French locale, which the toolbox it starts takes
// on): the French welcome page is shown and drawn; a screenshot is kept in the build folder.
#include <string>

#include "res/resource.h"
#include "tests/e2e/panel/panel_screen_win.h"

namespace {
using namespace panel_e2e;

class PanelFrenchTest : public QuentaSuite {};

TEST_F(PanelFrenchTest, ShowsTheFrenchWelcomePage)
{
    SwitchTo(e2e::kBlankModule);
    SwitchTo(kPanelModule);
    HWND view = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        view = CurrentView();
        return view && ViewText(view) == "Bienvenue dans Quenta";
    })) << "the panel shows \"" << (view ? ViewText(view) : std::string()) << "\"";
    ASSERT_NE(view, nullptr);
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    e2e::Settle(Frame());
    const ScreenCapture screen;
    EXPECT_TRUE(screen.SaveBmp(std::string(QUENTA_BINARY_DIR) + "/tests/e2e/panel/panel_fr.bmp"));
    EXPECT_GT(CountColour(screen, ScreenRectOf(view), kHeadingColour), 200);
    EXPECT_GT(CountColour(screen, ScreenRectOf(view), kLinkColour), 200);
}
} // namespace
