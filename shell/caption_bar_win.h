#pragma once
// The caption bar on top of the main window: the module's picture and title, and the help,
// print, preview and save zones on the right.
#include <string>

#include "framework/control_bar.h"
#include "shell/gdi_helpers_win.h"

class CCaptionBar : public CControlBar {
public:
    enum Zone { Help, Print, Preview, Save, ZoneCount, None = -1 };

    bool CreateCaptionBar(HWND frame, UINT id);
    void SetModule(const std::string& title, UINT pictureId);
    // Print and Preview go together; Save on its own. Repaints only on change.
    void SetZoneStates(bool printEnabled, bool saveEnabled);
    bool IsZoneEnabled(Zone zone) const;
    RECT ZoneRect(Zone zone) const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);

private:
    Zone ZoneAt(POINT point) const;
    std::string m_title;
    CAlphaBitmap m_picture;
    CAlphaBitmap m_zones[ZoneCount];
    bool m_printEnabled = false, m_saveEnabled = false;
    Zone m_hot = None;
    GdiObject<HFONT> m_titleFont, m_zoneFont;
    HCURSOR m_helpCursor = nullptr, m_handCursor = nullptr;
};
