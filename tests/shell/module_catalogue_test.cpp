#include "shell/module_catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/list_print_settings.h"
#include "app/registry_access.h"
#include "app/settings.h"
#include "tests/support/private_registry.h"

TEST(ModuleCatalogue, RowsComeFromTheInstalledTable)
{
    SetModuleTable({});
    EXPECT_EQ(std::string(CatalogueRow(5).helpPage), "local\\index.htm") << "no table yet";
    EXPECT_FALSE(IsListedModule(0));

    static const ModuleRow rows[] = {
        {0, 62448, 358, "local\\index.htm"},
        {13, 62449, 327, "local\\qnexplorer.htm"},
        {6, 62465, 332, "local\\misc.htm"},
    };
    SetModuleTable(rows);
    EXPECT_EQ(CatalogueRowOf(13), 1);
    EXPECT_EQ(CatalogueRowOf(42), 0);
    EXPECT_EQ(std::string(CatalogueRow(6).helpPage), "local\\misc.htm");
    EXPECT_EQ(CatalogueRow(42).moduleId, 0) << "an unknown module uses row 0";
    EXPECT_TRUE(IsListedModule(6));
    EXPECT_FALSE(IsListedModule(42));
    SetModuleTable({});
}

TEST(ModuleCatalogue, TitleCaptionAndProgressTextRules)
{
    EXPECT_EQ(ComposeWindowTitle("Quenta v1", "", nullptr), "Quenta v1");
    EXPECT_EQ(ComposeWindowTitle("Quenta v1", "Fonts", nullptr), "Quenta v1 - Fonts");
    const std::string extra = "C:\\";
    EXPECT_EQ(ComposeWindowTitle("Quenta v1", "Explorer", &extra), "Quenta v1 - Explorer - [C:\\]");
    EXPECT_EQ(ButtonCaption("Quenta\nExplorer"), "Explorer");
    EXPECT_EQ(ButtonCaption("Fonts"), "Fonts");
    EXPECT_EQ(ProgressDisplayText("Please wait..."), "Please wait");
    EXPECT_EQ(ProgressDisplayText("Done."), "Done.");
}

class ListPrintSettingsStore : public PrivateRegistryTest {
protected:
    void SetUp() override { CQnSettings().DeleteSection(kListPrintingSection); }
    void TearDown() override { CQnSettings().DeleteSection(kListPrintingSection); }
};

TEST_F(ListPrintSettingsStore, DefaultsAndStoredValues)
{
    ListPrintSettings defaults = LoadListPrintSettings();
    EXPECT_EQ(defaults.footerCenter, "Page : &&[Page] / &&[Pages]");
    EXPECT_EQ(defaults.rowBackground1, 0xF0FFFFu);
    EXPECT_EQ(defaults.tabHeaderFont.weight, 700);
    EXPECT_EQ(defaults.headerFont.height, 12);

    CQnSettings().WriteString("Options\\ListPrinting", "Margin_Left", "12abc");
    CQnSettings().WriteString(kListPrintingSection, "TextFont_lfFaceName", "Courier New");
    const ListPrintSettings stored = LoadListPrintSettings();
    EXPECT_EQ(stored.marginLeft, 12);
    EXPECT_EQ(stored.textFont.face, "Courier New");
    EXPECT_EQ(ParseLeadingInt("  -42x"), -42);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("99999999999"), 2147483647);
}
