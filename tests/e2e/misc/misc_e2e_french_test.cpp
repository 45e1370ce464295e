// The Misc module in French (the test runs with a French locale, which the toolbox it starts
// takes on): its texts, and a screenshot kept in the build folder.
#include <string>

#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"

namespace {
constexpr int kMiscModule = 6;

class MiscFrenchTest : public QuentaSuite {};

TEST_F(MiscFrenchTest, FormShowsTheFrenchTexts)
{
    HWND apply = OpenModuleForm(kMiscModule, IDC_MISC_APPLY, "Button");
    ASSERT_NE(apply, nullptr) << "the Misc form did not show";
    HWND view = CurrentView();
    EXPECT_EQ(TextOf(FindDescendantById(view, IDC_MISC_ANIMATION)), "Animation de Windows");
    EXPECT_EQ(TextOf(FindDescendantById(view, IDC_MISC_RECYCLE_GROUP)), "Corbeille");
    EXPECT_EQ(TextOf(apply), "&Appliquer");
    EXPECT_TRUE(SaveScreenBmp(std::string(QUENTA_BINARY_DIR) + "/tests/e2e/misc/misc_fr.bmp"));
}
} // namespace
