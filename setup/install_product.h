#pragma once
// The install and uninstall procedures over the machine they change. InstallProduct installs
// into or removes from a folder; RunUninstallFlow is the "/UNINSTALL" run around it. The
// program gives the Win32 machine; tests give a recording one.
#include <string>

#include "setup/folder_removal.h"
#include "setup/install_plan.h"

class InstallMachine : public FolderRemover {
public:
    // Sets the language of texts and resources (1 English, 2 French).
    virtual void SetLanguage(int language) = 0;
    // Shows and hides the progress dialog (titled for an install or an uninstall).
    virtual void BeginProgress(bool install) = 0;
    virtual void EndProgress() = 0;
    virtual bool CreateFolders(const std::string& folder) = 0;
    // Extracts (or, when not extracting, deletes) the files of a package archive below a
    // folder, keeping the archive's folders. An archive status (1 = done); `error` gets the
    // archive's message on failure.
    virtual int ExtractArchive(unsigned archiveId, const std::string& folder, bool extracting, std::string& error) = 0;
    // Copies the running program file to `target`; false with a message text on failure.
    virtual bool CopyRunningProgram(const std::string& target, std::string& error) = 0;
    // Copies a file of the system folder into a folder (failures are ignored).
    virtual void CopySystemFile(const std::string& name, const std::string& folder) = 0;
    // Resets the attributes and deletes the file; a missing file is ignored.
    virtual void DeleteFileAt(const std::string& path) = 0;
    // The user's "Start Menu" folder; empty when it is not recorded.
    virtual std::string StartMenuFolder() = 0;
    // Deletes the folder with all its files and subfolders (DeleteFolderTree).
    virtual void DeleteFolderTree(const std::string& folder) = 0;
    virtual bool CreateShortcut(const std::string& linkFolder, const ShortcutPlan& shortcut) = 0;
    virtual void WriteRegistry(const RegistryEntry& entry) = 0;
    virtual void DeleteRegistryKey(RegRoot root, const std::string& key) = 0;
    // Starts the installed program without waiting.
    virtual void StartProgram(const std::string& program, const std::string& arguments, const std::string& folder) = 0;
    virtual std::string WindowsFolder() = 0;
    virtual std::string SystemFolder() = 0;
    // The program's message box.
    virtual void Tell(const std::string& text) = 0;
    virtual bool Ask(const std::string& text) = 0;
    // Uninstall's view of the installation: the registered program path ("" when none), whether
    // a file exists, the recorded language (default 1).
    virtual std::string RegisteredProgram() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual int RecordedLanguage() = 0;
};

// Installs into (install true) or removes the installation from `folder`; true on success.
// Archive failures end it before any registry change, with the archive's message shown.
bool InstallProduct(InstallMachine& machine, bool install, const std::string& folder, int language);

// The uninstall run: finds the installed program, asks, removes it and tells the outcome.
void RunUninstallFlow(InstallMachine& machine, bool reportSuccess);
