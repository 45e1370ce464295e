#pragma once
// The module button bar (docked left) and its button list: one item per catalogue row with
// its picture and caption, hover and pressed looks, scroll arrows with a repeating timer
// when the items do not fit, drawn off-screen and copied in one step.
#include <string>
#include <vector>

#include "framework/control_bar.h"
#include "shell/gdi_helpers_win.h"

class CModuleButtonList : public CWindow {
public:
    struct Item {
        int moduleId;
        std::string caption;
        CAlphaBitmap picture;
    };

    bool CreateList(HWND parent, UINT id);
    // Sets the items and measures them; the click of an item sends `firstCommand` + its
    // module id to the frame.
    void SetItems(std::vector<Item> items, HWND commandTarget, UINT firstCommand);
    int PreferredWidth() const { return m_preferredWidth; }
    int ItemHeight() const { return m_itemHeight; }
    bool ArrowsShown() const;
    void SetCurrentModule(int moduleId);

protected:
    WindowClassSpec ClassSpec() const override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);

private:
    enum Arrow { NoArrow, ArrowUp, ArrowDown };
    RECT ArrowRect(Arrow arrow) const;
    RECT ItemRect(int index) const;
    int ItemAt(POINT point) const;
    Arrow ArrowAt(POINT point) const;
    int MaxScroll() const;
    void ScrollBy(int delta);
    void DrawItem(HDC dc, int index) const;

    std::vector<Item> m_items;
    HWND m_commandTarget = nullptr;
    UINT m_firstCommand = 0;
    int m_itemHeight = 0, m_textHeight = 0, m_preferredWidth = 80;
    int m_scroll = 0;
    int m_hot = -1;
    bool m_pressed = false;
    int m_current = -1;
    Arrow m_timerArrow = NoArrow;
    GdiObject<HFONT> m_font;
    HCURSOR m_hand = nullptr;
};

class CModuleBar : public CControlBar {
public:
    bool CreateModuleBar(HWND frame, UINT id);
    CModuleButtonList& List() { return m_list; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(WPARAM, LPARAM);

private:
    CModuleButtonList m_list;
};
