#pragma once
// The setup wizard CSetupOptionsWiz (a property sheet in wizard mode, "Quenta Setup") with its
// page for the user's choices, CSetupPreferences (dialog 1048): the installation folder, the
// language, the free and the needed space. Finish installs.
#include <windows.h>

#include <memory>
#include <string>

class ResourceArchive;

class CSetupPreferences {
public:
    CSetupPreferences();
    ~CSetupPreferences();
    CSetupPreferences(const CSetupPreferences&) = delete;
    CSetupPreferences& operator=(const CSetupPreferences&) = delete;

    bool Installed() const { return m_installed; }
    static INT_PTR CALLBACK DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnInit(HWND page);
    void ShowFolder(const std::string& folder);
    void ShowFreeSpace();
    void OnBrowse();
    // False keeps the wizard open.
    bool OnFinish();

    HWND m_page = nullptr;
    bool m_installed = false;
    // The wizard's own copies of the archives whose sizes make the space needed.
    std::unique_ptr<ResourceArchive> m_helpFiles;
    std::unique_ptr<ResourceArchive> m_englishHelp;
};

class CSetupOptionsWiz {
public:
    // Runs the wizard over `owner`; true when Finish installed the product.
    bool DoModal(HWND owner);
};
