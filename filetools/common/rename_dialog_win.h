#pragma once
// The rename dialog of the file actions: one edit box with the file's name.
#include <string>

#include "framework/dialog.h"

class CRenameDialog : public CDialog {
public:
    explicit CRenameDialog(std::string name);
    const std::string& Name() const { return m_name; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_name;
};
