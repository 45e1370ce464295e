// The quick viewer's program from the class registry.
#include <gtest/gtest.h>

#include "app/registry_access.h"
#include "filetools/filetypes/quick_view.h"
#include "tests/support/private_registry.h"

namespace {
class QuickViewer : public PrivateRegistryTest {
protected:
    void TearDown() override { reg.DeleteKey(RegRoot::ClassesRoot, "QuickView"); }
    CRegistryAccess reg;
};
} // namespace

TEST_F(QuickViewer, ProgramComesFromTheOpenCommandWithTheWindowsFolder)
{
    reg.DeleteKey(RegRoot::ClassesRoot, "QuickView");
    EXPECT_EQ(QuickViewProgram(reg, "C:\\WIN"), "") << "no viewer registered";
    reg.WriteString(RegRoot::ClassesRoot, "QuickView\\shell\\open\\command", "",
                    "%SYSTEMROOT%\\system\\viewers\\quikview.exe");
    EXPECT_EQ(QuickViewProgram(reg, "C:\\WIN"), "C:\\WIN\\system\\viewers\\quikview.exe");
}
