#pragma once
// CDxEdit: an edit control painted in chosen text and background colours, with a chosen font.
#include <windows.h>

#include <optional>
#include <string>

#include "framework/window.h"
#include "shell/controls/parent_hook_win.h"

class CDxEdit : public CWindow {
public:
    ~CDxEdit() override;

    bool CreateControl(HWND parent, UINT id, const RECT& rect, DWORD style = ES_AUTOHSCROLL | WS_BORDER,
                       DWORD exStyle = WS_EX_CLIENTEDGE);
    // Takes over an existing edit control (for example one of a dialog template).
    bool AttachControl(HWND edit);

    void SetColors(COLORREF text, COLORREF background);
    // The font of the given height in pixels; an empty face keeps the face of the current font.
    void SetFontSize(int height, const std::string& face = {});

private:
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam);

    CParentHook m_parentHook;
    COLORREF m_text = 0, m_background = 0;
    HBRUSH m_brush = nullptr;
    HFONT m_font = nullptr;
    bool m_created = false; // made by CreateControl, so it goes with this object
};
