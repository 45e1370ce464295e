#include <gtest/gtest.h>

#include "app/startup.h"

TEST(CommandSwitch, WholeLineInAnyCaseIsTheSwitch)
{
    EXPECT_EQ(ParseCommandSwitch("/INSTALL"), CommandSwitch::Install);
    EXPECT_EQ(ParseCommandSwitch("/install"), CommandSwitch::Install);
    EXPECT_EQ(ParseCommandSwitch("/InStAlL"), CommandSwitch::Install);
    EXPECT_EQ(ParseCommandSwitch("/uninstall"), CommandSwitch::Uninstall);
    EXPECT_EQ(ParseCommandSwitch("/Debug"), CommandSwitch::Debug);
    EXPECT_EQ(ParseCommandSwitch("/firsttime"), CommandSwitch::FirstTime);
    EXPECT_EQ(ParseCommandSwitch("  /INSTALL \t"), CommandSwitch::Install);
}

TEST(CommandSwitch, AnythingElseIsNoSwitch)
{
    for (const char* text : {"", "/INSTALL now", "/INSTALLX", "/INSTAL", "INSTALL", "/INSTALL /DEBUG",
                             "-install", "/UNINSTALL 1", "x /DEBUG", "/DEBUG2"})
        EXPECT_EQ(ParseCommandSwitch(text), CommandSwitch::None) << text;
}

TEST(CommandSwitch, ArgumentsFollowTheProgramName)
{
    EXPECT_EQ(CommandLineArguments("quenta.exe /INSTALL"), "/INSTALL");
    EXPECT_EQ(CommandLineArguments("\"C:\\Program Files\\Quenta\\quenta.exe\"   /debug"), "/debug");
    EXPECT_EQ(CommandLineArguments("\"C:\\a b\\q.exe\""), "");
    EXPECT_EQ(CommandLineArguments("q.exe"), "");
    EXPECT_EQ(CommandLineArguments("C:\\q.exe /INSTALL more"), "/INSTALL more");
    EXPECT_EQ(CommandLineArguments("\"unterminated /INSTALL"), "");
}

TEST(StartDecision, RunKindAndProgramPath)
{
    const std::string running = "C:\\Temp\\quenta.exe", record = "C:\\Program Files\\Quenta\\quenta.exe";

    // Installed: the record is the program.
    StartDecision d = DecideStart(CommandSwitch::None, running, record, true);
    EXPECT_EQ(d.kind, RunKind::Toolbox);
    EXPECT_EQ(d.programPath, record);
    EXPECT_EQ(DecideStart(CommandSwitch::FirstTime, running, record, true).kind, RunKind::Toolbox);

    // No usable record: the program installs itself from where it runs.
    for (bool readable : {false, true}) {
        d = DecideStart(CommandSwitch::None, running, readable ? "" : record, readable);
        EXPECT_EQ(d.kind, RunKind::Install);
        EXPECT_EQ(d.programPath, running);
    }

    // "/DEBUG" never installs, whatever the record says.
    d = DecideStart(CommandSwitch::Debug, running, "", false);
    EXPECT_EQ(d.kind, RunKind::Toolbox);
    EXPECT_EQ(d.programPath, running);
    EXPECT_EQ(DecideStart(CommandSwitch::Debug, running, record, true).programPath, running);

    EXPECT_EQ(DecideStart(CommandSwitch::Install, running, record, true).kind, RunKind::Install);
    d = DecideStart(CommandSwitch::Uninstall, running, record, true);
    EXPECT_EQ(d.kind, RunKind::Uninstall);
    EXPECT_EQ(d.programPath, running);
}

TEST(DisplayDepth, SixteenBitsTellsFiveSixFiveFromFiveFiveFive)
{
    EXPECT_EQ(DisplayDepthFromProbe(16, 0xFFFF), 16);
    EXPECT_EQ(DisplayDepthFromProbe(16, 0x7FFF), 15);
    EXPECT_EQ(DisplayDepthFromProbe(32, 0), 32);
    EXPECT_EQ(DisplayDepthFromProbe(8, 0xFFFF), 8);
}
