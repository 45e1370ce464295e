#pragma once
// The tool lists over Windows: files, folder listings, the launcher's small-icon list (kept for
// the whole run, like the lists whose entries point into it) and the Windows folder.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "systools/tools/tool_lists.h"

// The process-wide tool lists and their shared 16 x 16 image list (never destroyed).
ToolLists& SharedToolLists();
HIMAGELIST SharedToolImages();

// The Windows folder without trailing separator.
std::string WindowsFolderPath();

class CToolPlatformWin : public ToolPlatform {
public:
    using StatusCallback = std::function<void(const std::string& text)>;
    explicit CToolPlatformWin(StatusCallback status) : m_status(std::move(status)) {}

    bool FileExists(const std::string& path) override;
    int AddIcon(const std::string& path) override;
    bool ListFolderNames(const std::string& folder, std::vector<FolderName>& names) override;
    void ShowRetrieving(const std::string& path, int position, int count) override;

private:
    StatusCallback m_status;
};
