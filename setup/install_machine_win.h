#pragma once
// The machine that install and uninstall change, as Windows gives it: folders and files, the
// package archives among the program's resources, the Start menu, the registry, the progress
// dialog and the program's message box.
#include <windows.h>

#include <memory>

#include "setup/install_product.h"
#include "setup/install_progress_win.h"

class ResourceArchive;

class CWindowsInstallMachine : public InstallMachine {
public:
    // `owner`: the window the progress dialog and messages stand over (may be null).
    explicit CWindowsInstallMachine(HWND owner) : m_owner(owner) {}

    void SetLanguage(int language) override;
    void BeginProgress(bool install) override;
    void EndProgress() override;
    bool CreateFolders(const std::string& folder) override;
    int ExtractArchive(unsigned archiveId, const std::string& folder, bool extracting, std::string& error) override;
    bool CopyRunningProgram(const std::string& target, std::string& error) override;
    void CopySystemFile(const std::string& name, const std::string& folder) override;
    void DeleteFileAt(const std::string& path) override;
    std::string StartMenuFolder() override;
    void DeleteFolderTree(const std::string& folder) override;
    bool CreateShortcut(const std::string& linkFolder, const ShortcutPlan& shortcut) override;
    void WriteRegistry(const RegistryEntry& entry) override;
    void DeleteRegistryKey(RegRoot root, const std::string& key) override;
    void StartProgram(const std::string& program, const std::string& arguments, const std::string& folder) override;
    std::string WindowsFolder() override;
    std::string SystemFolder() override;
    void Tell(const std::string& text) override;
    bool Ask(const std::string& text) override;
    std::string RegisteredProgram() override;
    bool FileExists(const std::string& path) override;
    int RecordedLanguage() override;
    std::vector<std::string> SubfolderNames(const std::string& folder) override;
    bool RemoveFolderIfEmpty(const std::string& folder) override;

private:
    HWND m_owner;
    CSetupProgressDialog m_progress;
};

// The package archive `id`, loaded from the program's resources on first use and kept for the
// whole process (an archive whose resource is missing is empty).
ResourceArchive& PackageArchive(unsigned id);

// The full path of the running program file.
std::string RunningProgramPath();
