#include <gtest/gtest.h>

#include "setup/folder_removal.h"
#include "setup/install_plan.h"

TEST(InstallPlan, PathsLieBelowTheFolderWithoutADoubledSeparator)
{
    for (const char* folder : {"C:\\Apps\\Quenta", "C:\\Apps\\Quenta\\"}) {
        const InstallPaths paths = InstallPathsOf(folder);
        EXPECT_EQ(paths.folder, "C:\\Apps\\Quenta");
        EXPECT_EQ(paths.program, "C:\\Apps\\Quenta\\quenta.exe");
        EXPECT_EQ(paths.helpFolder, "C:\\Apps\\Quenta\\help");
        EXPECT_EQ(paths.localHelpFolder, "C:\\Apps\\Quenta\\help\\local");
        EXPECT_EQ(paths.newsletterFolder, "C:\\Apps\\Quenta\\newsletter");
    }
}

TEST(InstallPlan, ChosenFolderEndsInQuenta)
{
    EXPECT_EQ(WithQuentaFolder("D:\\Tools"), "D:\\Tools\\Quenta");
    EXPECT_EQ(WithQuentaFolder("D:\\Tools\\"), "D:\\Tools\\Quenta");
    EXPECT_EQ(WithQuentaFolder("D:\\Tools\\quenta"), "D:\\Tools\\quenta");
    EXPECT_EQ(WithQuentaFolder("D:\\"), "D:\\Quenta");
    EXPECT_EQ(WithQuentaFolder("D:\\QuentaOld"), "D:\\QuentaOld\\Quenta");
}

TEST(InstallPlan, InitialFolderIsTheRegisteredOneOnlyWhenItExists)
{
    EXPECT_EQ(InitialInstallFolder("E:\\Q\\quenta.exe", true), "E:\\Q\\");
    EXPECT_EQ(InitialInstallFolder("E:\\Q\\quenta.exe", false), "C:\\Program Files\\Ostrel\\Quenta\\");
    EXPECT_EQ(InitialInstallFolder("", true), "C:\\Program Files\\Ostrel\\Quenta\\");
    EXPECT_EQ(DriveLetterOfFolder("e:\\x"), 'E');
    EXPECT_EQ(DriveLetterOfFolder("\\\\server\\share"), '?');
}

TEST(InstallPlan, LanguageChoosesTheLocalHelpArchive)
{
    EXPECT_EQ(LocalHelpArchive(kLanguageEnglish), kArchiveEnglishHelp);
    EXPECT_EQ(LocalHelpArchive(kLanguageFrench), kArchiveFrenchHelp);
}

TEST(InstallPlan, FourShortcutsAndTheRegistryEntries)
{
    const InstallPaths paths = InstallPathsOf("C:\\Q");
    const std::vector<ShortcutPlan> shortcuts = StartMenuShortcuts(paths);
    ASSERT_EQ(shortcuts.size(), 4u);
    EXPECT_EQ(shortcuts[0].linkName, "Quenta.lnk");
    EXPECT_EQ(shortcuts[1].arguments, "/UNINSTALL");
    EXPECT_EQ(shortcuts[1].iconIndex, 18);
    EXPECT_EQ(shortcuts[2].arguments, "/INSTALL");
    EXPECT_EQ(shortcuts[2].iconIndex, 17);
    EXPECT_EQ(shortcuts[3].targetFolder + shortcuts[3].targetName, "C:\\Q\\help\\local\\index.htm");
    for (const ShortcutPlan& shortcut : shortcuts)
        EXPECT_EQ(shortcut.linkName.substr(shortcut.linkName.size() - 4), ".lnk");
    EXPECT_EQ(StartMenuGroup("C:\\Menu"), "C:\\Menu\\Ostrel\\Quenta");

    const std::vector<RegistryEntry> entries = InstallRegistryEntries(paths, kLanguageFrench);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[1].text, "C:\\Q\\quenta.exe /UNINSTALL");
    EXPECT_EQ(entries[2].value, "Quenta");
    EXPECT_EQ(entries[2].text, "C:\\Q\\quenta.exe");
    EXPECT_EQ(entries[3].text, "C:\\Q\\help");
    EXPECT_EQ(entries[4].text, "2");
}

TEST(FolderRule, OnlyAbsoluteFoldersThatAreNeitherRootsNorTheSystemsOwn)
{
    const std::string windows = "C:\\Windows", system = "C:\\Windows\\System32";
    EXPECT_TRUE(IsRemovableFolder("C:\\Program Files\\Ostrel\\Quenta", windows, system));
    EXPECT_TRUE(IsRemovableFolder("\\\\server\\share\\Quenta", windows, system));
    for (const char* refused : {"", "Quenta", "help\\local", "C:", "C:\\", "D:\\", "\\\\server\\share", "C:Quenta",
                                "C:\\windows", "C:\\WINDOWS\\system32\\", "C:\\Q\\..\\Windows"})
        EXPECT_FALSE(IsRemovableFolder(refused, windows, system)) << refused;
    // A folder above the system's own would take them along.
    EXPECT_FALSE(IsRemovableFolder("E:\\OS", "E:\\OS\\Windows", "E:\\OS\\Windows\\System32"));
    EXPECT_TRUE(IsRemovableFolder("C:\\WindowsApps", windows, system));
}
