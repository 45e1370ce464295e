#pragma once
// Builds a dialog template in memory (DLGTEMPLATE with items), for dialogs whose layout is
// computed by code rather than read from the resources.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CDialogTemplate {
public:
    CDialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, const std::string& title,
                    WORD pointSize = 8, const std::string& face = "MS Shell Dlg");
    // Predefined classes by atom: 0x0080 button, 0x0081 edit, 0x0082 static.
    void AddControl(WORD classAtom, const std::string& text, WORD id, DWORD style, short x, short y, short cx,
                    short cy, DWORD exStyle = 0);
    void AddControl(const std::string& className, const std::string& text, WORD id, DWORD style, short x, short y,
                    short cx, short cy, DWORD exStyle = 0);
    const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

    enum : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

private:
    void AlignTo(size_t boundary);
    void AddWord(WORD value);
    void AddText(const std::string& text);
    void AddItemHeader(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id);
    std::vector<uint8_t> m_bytes;
};
