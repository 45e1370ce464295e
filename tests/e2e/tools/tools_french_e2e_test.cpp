// The tool launcher of the real toolbox in French (the test runs under the French locale,
// QUENTA_WINE_LOCALE, set by CTest): the tab texts, and screenshots kept in the build folder.
#include "tests/e2e/tools/tools_e2e_suite_win.h"

using namespace tools_e2e;

namespace {
class ToolsFrenchE2eTest : public ToolsSuiteBase {
protected:
    static void SetUpTestSuite() { Prepare(); }
    static void TearDownTestSuite() { Finish(); }
};
} // namespace

TEST_F(ToolsFrenchE2eTest, ShowsTheTabsInFrench)
{
    OpenTools();
    char text[64] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    RemoteBuffer remote(Quenta().Process(), sizeof item + sizeof text);
    item.pszText = reinterpret_cast<char*>(remote.Address() + sizeof item);
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(remote.Write(&item, sizeof item));
    ASSERT_TRUE(SendMessageA(m_tabs, TCM_GETITEMA, kAllTab, remote.Address()));
    remote.Read(&item, sizeof item);
    ReadProcessMemory(Quenta().Process(), reinterpret_cast<void*>(remote.Address() + sizeof item), text, sizeof text,
                      nullptr);
    text[sizeof text - 1] = '\0';
    EXPECT_STREQ(text, "Tous les outils");
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_custom_fr")));
    ShowTab(kMakerTab);
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_maker_fr")));
}
