// The program a stored command line starts.
#include <gtest/gtest.h>

#include <set>

#include "filetools/filetypes/program_command.h"

namespace {
FileExistsCheck FilesAre(std::set<std::string> files)
{
    return [files](const std::string& path) { return files.count(path) != 0; };
}

TEST(ProgramFromCommandLine, QuotedProgramWithArgumentsEndsAtTheFirstExeFollowedByABlank)
{
    const auto none = FilesAre({});
    EXPECT_EQ(ProgramFromCommandLine("\"C:\\Program Files\\My Tool\\unins000.exe\" /u", "C:\\WINDOWS", none),
              "C:\\Program Files\\My Tool\\unins000.exe");
    EXPECT_EQ(ProgramFromCommandLine("MsiExec.EXE /X{1234}", "C:\\WINDOWS", none), "MsiExec.EXE");
    // A quoted program alone: the closing quote became the blank that ends it.
    EXPECT_EQ(ProgramFromCommandLine("\"C:\\a.exe\"", "C:\\WINDOWS", none), "C:\\a.exe");
    // ".exe" inside a folder name is passed over when no blank follows it.
    EXPECT_EQ(ProgramFromCommandLine("C:\\x.exedir\\y.exe -z", "W", none), "C:\\x.exedir\\y.exe");
}

TEST(ProgramFromCommandLine, AWholeTextThatIsAFileWinsAndNothingFoundIsEmpty)
{
    const auto files = FilesAre({"C:\\WINDOWS\\notepad.exe", "C:\\tools\\run me.bat"});
    EXPECT_EQ(ProgramFromCommandLine("%SystemRoot%\\notepad.exe", "C:\\WINDOWS", files), "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(ProgramFromCommandLine("%systemroot%\\notepad.exe", "C:\\WINDOWS", files), "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(ProgramFromCommandLine("C:\\tools\\run me.bat", "W", files), "C:\\tools\\run me.bat");
    EXPECT_EQ(ProgramFromCommandLine("C:\\gone.exe", "W", files), ""); // no blank after ".exe"
    EXPECT_EQ(ProgramFromCommandLine("rundll32 shell32.dll,Control_RunDLL", "W", files), "");
    EXPECT_EQ(ProgramFromCommandLine("", "W", files), "");
    EXPECT_EQ(ProgramFromCommandLine("\"", "W", files), "");
    EXPECT_EQ(ProgramFromCommandLine("x.exe a", "W", nullptr), "x.exe");
}

TEST(CommandWithoutDde, RemovesEveryDdeSwitchAndExpandsTheSystemRoot)
{
    EXPECT_EQ(CommandWithoutDde("%SystemRoot%\\explorer.exe /DDE /e,%1", "C:\\WINDOWS"),
              "C:\\WINDOWS\\explorer.exe  /e,%1");
    EXPECT_EQ(CommandWithoutDde("a.exe /dde /Dde", "W"), "a.exe  ");
    EXPECT_EQ(CommandWithoutDde("a.exe /d", "W"), "a.exe /d");
}
} // namespace
