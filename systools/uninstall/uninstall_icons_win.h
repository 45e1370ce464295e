#pragma once
// The uninstaller's 16 x 16 image list, made anew for every fill: each stored entry appends the
// small icon of its command's program, or shell32's icon 2 when that program is not there.
#include <windows.h>

#include <commctrl.h>

#include "systools/uninstall/uninstall_entries.h"

class CUninstallIcons : public IUninstallIcons {
public:
    CUninstallIcons() = default;
    ~CUninstallIcons() override;
    CUninstallIcons(const CUninstallIcons&) = delete;
    CUninstallIcons& operator=(const CUninstallIcons&) = delete;

    // Destroys the list and makes an empty one (initial size 16, growth 16).
    void Recreate();
    HIMAGELIST Handle() const { return m_list; }
    int AppendIconOf(const std::string& command) override;

private:
    HIMAGELIST m_list = nullptr;
};
