#include "setup/install_plan.h"

#include <cctype>

#include "app/paths.h"
#include "base/text.h"
#include "res/resource.h"

namespace {
bool EqualsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string WithoutTrailingSeparators(std::string path)
{
    // "C:\" keeps its separator: without it the path would name the drive's current folder.
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/') &&
           !(path.size() == 3 && path[1] == ':'))
        path.pop_back();
    return path;
}
} // namespace

InstallPaths InstallPathsOf(const std::string& folder)
{
    InstallPaths paths;
    paths.folder = WithoutTrailingSeparators(folder);
    paths.program = JoinPath(paths.folder, "quenta.exe");
    paths.helpFolder = JoinPath(paths.folder, "help");
    paths.localHelpFolder = JoinPath(paths.helpFolder, "local");
    paths.newsletterFolder = JoinPath(paths.folder, "newsletter");
    return paths;
}

unsigned LocalHelpArchive(int language)
{
    return language == kLanguageFrench ? kArchiveFrenchHelp : kArchiveEnglishHelp;
}

std::string StartMenuMakerFolder(const std::string& startMenu) { return JoinPath(startMenu, "Ostrel"); }

std::string StartMenuGroup(const std::string& startMenu) { return JoinPath(StartMenuMakerFolder(startMenu), "Quenta"); }

std::vector<ShortcutPlan> StartMenuShortcuts(const InstallPaths& paths)
{
    const std::string programFolder = paths.folder + "\\";
    const std::string localHelp = paths.localHelpFolder + "\\";
    auto named = [](unsigned id, const std::string& fallback) {
        const std::string text = id ? LoadText(id) : std::string();
        return (text.empty() ? fallback : text) + ".lnk";
    };
    return {
        {0, "Quenta.lnk", programFolder, "quenta.exe", "", -1},
        {IDS_TIP_UNINSTALL_PROGRAM, named(IDS_TIP_UNINSTALL_PROGRAM, "Uninstall current program"), programFolder,
         "quenta.exe", "/UNINSTALL", 18},
        {IDS_SHORTCUT_REINSTALL, named(IDS_SHORTCUT_REINSTALL, "Re-install Quenta"), programFolder, "quenta.exe",
         "/INSTALL", 17},
        {IDS_HELP, named(IDS_HELP, "Help"), localHelp, "index.htm", "", -1},
    };
}

std::vector<RegistryEntry> InstallRegistryEntries(const InstallPaths& paths, int language)
{
    return {
        {RegRoot::LocalMachine, kUninstallKey, "DisplayName", "Ostrel Quenta"},
        {RegRoot::LocalMachine, kUninstallKey, "UninstallString", paths.program + " /UNINSTALL"},
        {RegRoot::CurrentUser, "Software\\Ostrel\\Software\\", "Quenta", paths.program},
        {RegRoot::CurrentUser, "Software\\Ostrel\\Quenta\\", "HelpFolder", paths.helpFolder},
        {RegRoot::CurrentUser, "Software\\Ostrel\\Quenta\\", "Language", std::to_string(language)},
    };
}

std::string InitialInstallFolder(const std::string& registeredProgram, bool registeredFolderExists)
{
    const std::string folder = FolderOf(registeredProgram);
    if (!registeredProgram.empty() && !folder.empty() && registeredFolderExists)
        return folder;
    return kDefaultInstallFolder;
}

std::string WithQuentaFolder(const std::string& chosen)
{
    const std::string folder = WithoutTrailingSeparators(chosen);
    if (folder.empty())
        return folder;
    if (EqualsNoCase(PathNamePart(folder), "Quenta"))
        return folder;
    return JoinPath(folder, "Quenta");
}

char DriveLetterOfFolder(const std::string& folder)
{
    if (folder.size() >= 2 && folder[1] == ':' && std::isalpha(static_cast<unsigned char>(folder[0])))
        return static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
    return '?';
}
