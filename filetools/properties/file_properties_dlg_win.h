#pragma once
// The file properties dialog (template 170): one file in detail, with its read-only, hidden
// and archive attributes to change.
#include <windows.h>

#include <string>

#include "filetools/properties/file_facts.h"
#include "framework/dialog.h"

class CFilePropertiesDlg : public CDialog {
public:
    explicit CFilePropertiesDlg(std::string path);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;

private:
    // Fills every field from the file as it is now; Apply is disabled.
    void Refresh();
    void Apply();
    bool Checked(int id) const;
    void SetText(int id, const std::string& text);

    std::string m_path;
    FileFacts m_facts;
};

// Shows the modal properties dialog of `path` over `parent` (null: the active window).
void ShowFileProperties(const std::string& path, HWND parent = nullptr);
