#include <gtest/gtest.h>

#include "app/registry_access.h"
#include "app/services.h"

TEST(TempName, TimeThenCounter)
{
    EXPECT_EQ(FormatTempName("C:\\Temp\\", 1700000000, 3), "C:\\Temp\\Ostrel Quenta\\17000000003");
    EXPECT_EQ(FormatTempName("C:\\Temp", 5, 12), "C:\\Temp\\Ostrel Quenta\\512");
}

TEST(TempName, NamesInOneSecondDifferByTheCounter)
{
    SetTemporaryDirectory("");
    std::string a = MakeTempName(), b = MakeTempName(), c = MakeTempName();
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_NE(a.find("Ostrel Quenta"), std::string::npos);
    EXPECT_EQ(a.rfind(SystemTempPath(), 0), 0u) << "an unset temporary directory falls back to the system's";
}

TEST(LeadingNumber, DigitsUpToTheFirstOtherCharacter)
{
    EXPECT_EQ(ParseLeadingInt("12abc"), 12);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt("  -42"), -42);
    EXPECT_EQ(ParseLeadingInt("\t+7x"), 7);
    EXPECT_EQ(ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(ParseLeadingInt("16761856"), 0xFFC400);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(WindowHandleText, HexadecimalAsWrittenByPercentP)
{
    EXPECT_EQ(ParseWindowHandleText("0"), 0u);
    EXPECT_EQ(ParseWindowHandleText("000000000001A2B4"), 0x1A2B4u);
    EXPECT_EQ(ParseWindowHandleText("0x1a2b4"), 0x1A2B4u);
    EXPECT_EQ(ParseWindowHandleText("junk"), 0u);
    EXPECT_EQ(ParseWindowHandleText(std::string(2 * sizeof(uintptr_t) + 1, 'F')), 0u) << "too wide for a handle";
}

TEST(RunCommandLine, DosProgramsGoThroughTheCommandInterpreter)
{
    EXPECT_EQ(BuildRunCommandLine(false, "C:\\PROGRA~1\\X.EXE", "/a b"), "C:\\PROGRA~1\\X.EXE /a b");
    EXPECT_EQ(BuildRunCommandLine(true, "C:\\DOS\\EDIT.COM", "x.txt"), "command.com /c C:\\DOS\\EDIT.COM x.txt");
    // Without a short name the path is quoted, so its blanks do not split it.
    EXPECT_EQ(BuildRunCommandLine(false, "C:\\Program Files\\x.exe", ""), "\"C:\\Program Files\\x.exe\" ");
    // Without a program the command runs as it stands.
    EXPECT_EQ(BuildRunCommandLine(false, "", "MsiExec.exe /X{1}"), "MsiExec.exe /X{1}");
}

TEST(Language, ChoiceToLanguageId)
{
    EXPECT_EQ(LanguageIdOfChoice(1), 0x0409u);
    EXPECT_EQ(LanguageIdOfChoice(2), 0x040Cu);
    EXPECT_EQ(LanguageIdOfChoice(0), 0u);
    EXPECT_EQ(LanguageIdOfChoice(3), 0u);
}
