#pragma once
// The link files of the shortcuts module on the disk: links written through the shell link
// object, copied, renamed and deleted with the file system.
#include "systools/shortcuts/shortcut_changes.h"

class CShortcutFiles : public IShortcutFiles {
public:
    bool Exists(const std::string& path) override;
    bool CreateLink(const std::string& linkPath, const ShortcutCommand& command) override;
    bool CopyLink(const std::string& from, const std::string& to) override;
    bool RenameLink(const std::string& from, const std::string& to) override;
    bool DeleteLink(const std::string& path) override;
};
