// What the uninstall run starts: the program the command names, and the rest of the command as
// its arguments, so that nothing reaches the program twice.
#include <gtest/gtest.h>

#include "systools/uninstall/uninstall_run.h"

namespace {
const std::string kWindows = "C:\\WINDOWS";

TEST(UninstallRun, TheProgramTextIsTakenOffTheArguments)
{
    EXPECT_EQ(ArgumentsAfterProgram("C:\\Tools\\unins.exe /S", "C:\\Tools\\unins.exe", kWindows), "/S");
    EXPECT_EQ(ArgumentsAfterProgram("C:\\Program Files\\App\\un.exe /x \"a b\"", "C:\\Program Files\\App\\un.exe",
                                    kWindows),
              "/x \"a b\"");
    EXPECT_EQ(ArgumentsAfterProgram("\"C:\\Program Files\\App\\un.exe\" /log \"C:\\l og.txt\"",
                                    "C:\\Program Files\\App\\un.exe", kWindows),
              "/log \"C:\\l og.txt\"");
    EXPECT_EQ(ArgumentsAfterProgram("\"C:\\a\\u.exe\"/quiet", "C:\\a\\u.exe", kWindows), "/quiet");
    EXPECT_EQ(ArgumentsAfterProgram("c:\\TOOLS\\UNINS.EXE  -y ", "C:\\Tools\\unins.exe", kWindows), "-y");
    EXPECT_EQ(ArgumentsAfterProgram("%SystemRoot%\\IsUninst.exe -f\"C:\\x.isu\"", "C:\\WINDOWS\\IsUninst.exe",
                                    kWindows),
              "-f\"C:\\x.isu\"");
}

TEST(UninstallRun, ACommandThatIsOnlyAProgramHasNoArguments)
{
    EXPECT_EQ(ArgumentsAfterProgram("C:\\Program Files\\App\\remove.exe", "C:\\Program Files\\App\\remove.exe",
                                    kWindows),
              "");
    EXPECT_EQ(ArgumentsAfterProgram("\"C:\\App\\remove.exe\"", "C:\\App\\remove.exe", kWindows), "");
}

TEST(UninstallRun, WithoutAProgramTheCommandRunsAsItStands)
{
    EXPECT_EQ(ArgumentsAfterProgram("MsiExec.exe /X{1234}", "", kWindows), "MsiExec.exe /X{1234}");
    EXPECT_EQ(ArgumentsAfterProgram("rundll32 setupapi,InstallHinfSection", "C:\\other.exe", kWindows),
              "rundll32 setupapi,InstallHinfSection");
    EXPECT_EQ(ArgumentsAfterProgram("", "", kWindows), "");
    // A program that only begins like the command's first word is not that word.
    EXPECT_EQ(ArgumentsAfterProgram("C:\\app.exe2 /u", "C:\\app.exe", kWindows), "C:\\app.exe2 /u");
}

TEST(UninstallRun, ThePlanCarriesTheProgramAndTheRest)
{
    const UninstallLaunch launch = PlanUninstallLaunch("C:\\u.exe /S", "C:\\u.exe", kWindows);
    EXPECT_EQ(launch.program, "C:\\u.exe");
    EXPECT_EQ(launch.arguments, "/S");
}
} // namespace
