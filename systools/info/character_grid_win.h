#pragma once
// The font viewer's text area: a control of the dialog taken over to draw the character grid
// in one font, with a vertical scroll bar when the grid is taller than the area. Its window
// text holds the characters it shows.
#include "framework/window.h"
#include "systools/info/character_grid.h"

class CCharacterGridView : public CWindow {
public:
    // Takes over the dialog's control.
    bool Attach(HWND control);
    // Draws the grid in `font` (owned by the caller, kept alive while shown) from the top.
    void SetGridFont(HFONT font);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Measure();
    void Paint();
    void ScrollTo(int position);
    int ViewHeight() const;

    HFONT m_font = nullptr;
    CharacterGrid m_grid;
    int m_scroll = 0;
};
