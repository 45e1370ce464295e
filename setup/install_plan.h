#pragma once
// What an installation consists of: its paths below the installation folder, the package
// archives, the Start menu group with its shortcuts and the registry entries it owns. Also the
// wizard's small rules (the initial folder, the "\Quenta" ending, the space texts).
#include <cstdint>
#include <string>
#include <vector>

#include "app/registry_key.h"
#include "res/resource.h"

// Resource ids of the package archives (type "ZIP", delta-coded).
inline constexpr unsigned kArchiveFrenchHelp = IDR_ZIP_HELP_FR;
inline constexpr unsigned kArchiveEnglishHelp = IDR_ZIP_HELP_EN;
inline constexpr unsigned kArchiveHelpFiles = IDR_ZIP_HELP_FILES;
inline constexpr unsigned kArchivePanel = IDR_ZIP_PANEL;

inline constexpr int kLanguageEnglish = 1;
inline constexpr int kLanguageFrench = 2;

inline constexpr const char* kDefaultInstallFolder = "C:\\Program Files\\Ostrel\\Quenta\\";
inline constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel Quenta\\";
inline constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
inline constexpr const char* kSystemFileCopied = "olepro32.dll";

struct InstallPaths {
    std::string folder;            // F, without a trailing separator
    std::string program;           // F\quenta.exe
    std::string helpFolder;        // F\help
    std::string localHelpFolder;   // F\help\local
    std::string newsletterFolder;  // F\newsletter
};
InstallPaths InstallPathsOf(const std::string& folder);

// The archive of the local help pages for a language (French for 2, English otherwise).
unsigned LocalHelpArchive(int language);

// The Start menu group below the "Start Menu" folder S: S\Ostrel\Quenta; its parent S\Ostrel.
std::string StartMenuGroup(const std::string& startMenu);
std::string StartMenuMakerFolder(const std::string& startMenu);

struct ShortcutPlan {
    unsigned nameId = 0;      // string id of the link name; 0: the product name "Quenta"
    std::string linkName;     // the name with ".lnk"
    std::string targetFolder; // with its trailing separator
    std::string targetName;
    std::string arguments;
    int iconIndex = -1;       // -1: the target's default icon
};
// The four shortcuts of the group, named in the current language.
std::vector<ShortcutPlan> StartMenuShortcuts(const InstallPaths& paths);

struct RegistryEntry {
    RegRoot root;
    std::string key;
    std::string value;
    std::string text;
};
// Everything an install writes, in the order it writes it.
std::vector<RegistryEntry> InstallRegistryEntries(const InstallPaths& paths, int language);

// The folder the wizard proposes: the registered program's folder when it exists, else the
// default folder.
std::string InitialInstallFolder(const std::string& registeredProgram, bool registeredFolderExists);

// A folder chosen in the picker, with "\Quenta" appended unless its last component already is
// "Quenta" (in any letter case).
std::string WithQuentaFolder(const std::string& chosen);

// The drive letter of a folder ("C:\..." gives 'C'); '?' when the path names no drive.
char DriveLetterOfFolder(const std::string& folder);
