// The program's module table as the shell receives it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/module_table.h"
#include "shell/module_catalogue.h"

TEST(ProgramModules, NineteenModulesOnceInButtonOrderWithTheirHelpPages)
{
    const auto rows = ProgramModules();
    ASSERT_EQ(rows.size(), 19u);
    std::set<int> ids;
    for (const ModuleRow& row : rows) {
        ids.insert(row.moduleId);
        EXPECT_EQ(std::string(row.helpPage).rfind("local\\", 0), 0u) << row.moduleId;
        EXPECT_NE(row.titleId, 0u);
        EXPECT_NE(row.pictureId, 0u);
    }
    EXPECT_EQ(ids.size(), 19u);
    EXPECT_EQ(*ids.begin(), 0);
    EXPECT_EQ(*ids.rbegin(), 18);
    // The first buttons: start panel, online news, explorer; the translator is the sixth.
    EXPECT_EQ(rows[0].moduleId, 0);
    EXPECT_EQ(rows[1].moduleId, 18);
    EXPECT_EQ(rows[2].moduleId, 13);
    EXPECT_EQ(rows[5].moduleId, 14);
    EXPECT_EQ(std::string(rows[5].helpPage), "local\\pictranslator.htm");
    EXPECT_TRUE(rows[0].factory) << "the start panel";
    EXPECT_TRUE(rows[2].factory) << "the explorer";
    EXPECT_TRUE(rows[5].factory) << "the pictures translator";
    EXPECT_EQ(rows[10].moduleId, 8);
    EXPECT_TRUE(rows[10].factory) << "the finder";

    InstallProgramModules();
    EXPECT_EQ(CatalogueRowOf(13), 2);
    EXPECT_EQ(std::string(CatalogueRow(6).helpPage), "local\\misc.htm");
    EXPECT_FALSE(IsListedModule(42));
}
