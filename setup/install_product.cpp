#include "setup/install_product.h"

#include "app/paths.h"
#include "base/text.h"
#include "res/resource.h"

namespace {
// Ends the progress dialog on every way out.
class ProgressScope {
public:
    ProgressScope(InstallMachine& machine, bool install) : m_machine(machine) { m_machine.BeginProgress(install); }
    ~ProgressScope() { m_machine.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    InstallMachine& m_machine;
};

bool ArchiveStep(InstallMachine& machine, unsigned archiveId, const std::string& folder, bool install)
{
    std::string error;
    const int status = machine.ExtractArchive(archiveId, folder, install, error);
    if (status == 1)
        return true;
    if (!error.empty())
        machine.Tell(error);
    return false;
}

void PlaceProgram(InstallMachine& machine, const InstallPaths& paths, bool install)
{
    if (install) {
        std::string error;
        if (!machine.CopyRunningProgram(paths.program, error) && !error.empty())
            machine.Tell(error);
        machine.CopySystemFile(kSystemFileCopied, paths.folder);
    } else {
        machine.DeleteFileAt(paths.program);
        machine.DeleteFileAt(JoinPath(paths.folder, kSystemFileCopied));
    }
}

void RebuildStartMenuGroup(InstallMachine& machine, const InstallPaths& paths, const std::string& startMenu,
                           bool install)
{
    // Without a recorded Start menu the group would be a relative path: leave the menu alone.
    const std::string group = StartMenuGroup(startMenu);
    if (!IsRemovableFolder(group, machine.WindowsFolder(), machine.SystemFolder()))
        return;
    machine.DeleteFolderTree(group);
    const std::vector<ShortcutPlan> shortcuts = StartMenuShortcuts(paths);
    if (install) {
        machine.CreateFolders(group);
        for (const ShortcutPlan& shortcut : shortcuts)
            machine.CreateShortcut(group, shortcut);
    } else {
        for (const ShortcutPlan& shortcut : shortcuts)
            machine.DeleteFileAt(JoinPath(group, shortcut.linkName));
    }
}

void RemoveInstallation(InstallMachine& machine, const InstallPaths& paths, const std::string& startMenu)
{
    const std::string windows = machine.WindowsFolder();
    const std::string system = machine.SystemFolder();
    if (!startMenu.empty())
        RemoveEmptyFolders(machine, StartMenuMakerFolder(startMenu), windows, system);
    if (IsRemovableFolder(paths.folder, windows, system))
        RemoveEmptyFolders(machine, paths.helpFolder, windows, system);
    // Folders below an installation folder that fails the rule (a drive, the Windows folder) are
    // not the installation's own.
    if (IsRemovableFolder(paths.folder, windows, system) && IsRemovableFolder(paths.newsletterFolder, windows, system))
        machine.DeleteFolderTree(paths.newsletterFolder);
    RemoveEmptyFolders(machine, paths.folder, windows, system);
    machine.DeleteRegistryKey(RegRoot::LocalMachine, kUninstallKey);
    machine.DeleteRegistryKey(RegRoot::CurrentUser, "Software\\Ostrel\\Quenta");
}
} // namespace

bool InstallProduct(InstallMachine& machine, bool install, const std::string& folder, int language)
{
    const InstallPaths paths = InstallPathsOf(folder);
    machine.SetLanguage(language);
    ProgressScope progress(machine, install);

    // A folder that cannot be made fails the archive step that needs it, with its message.
    if (install)
        for (const std::string& created : {paths.folder, paths.helpFolder, paths.newsletterFolder, paths.localHelpFolder})
            machine.CreateFolders(created);
    if (!ArchiveStep(machine, LocalHelpArchive(language), paths.localHelpFolder, install))
        return false;
    if (!ArchiveStep(machine, kArchiveHelpFiles, paths.helpFolder, install))
        return false;

    PlaceProgram(machine, paths, install);
    const std::string startMenu = machine.StartMenuFolder();
    RebuildStartMenuGroup(machine, paths, startMenu, install);

    if (install) {
        for (const RegistryEntry& entry : InstallRegistryEntries(paths, language))
            machine.WriteRegistry(entry);
        machine.StartProgram(paths.program, "/FIRSTTIME", paths.folder);
    } else {
        RemoveInstallation(machine, paths, startMenu);
    }
    return true;
}

void RunUninstallFlow(InstallMachine& machine, bool reportSuccess)
{
    const std::string program = machine.RegisteredProgram();
    const std::string folder = WithoutTrailingSeparator(FolderOf(program));
    const int language = machine.RecordedLanguage();
    machine.SetLanguage(language);
    if (program.empty() || folder.empty() || !machine.FileExists(program)) {
        machine.Tell(LoadText(IDS_UNINSTALL_NOT_FOUND));
        return;
    }
    if (!machine.Ask(FormatText(IDS_UNINSTALL_CONFIRM, folder)))
        return;
    if (!InstallProduct(machine, false, folder, language)) {
        machine.Tell(FormatText(IDS_UNINSTALL_FAILED, folder));
        return;
    }
    if (reportSuccess)
        machine.Tell(FormatText(IDS_UNINSTALL_DONE, program));
}
