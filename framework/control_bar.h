#pragma once
// Bars docked to a side of a frame window (dialog bars) and the status bar with its panes.
#include <string>
#include <vector>

#include "framework/window.h"

enum class DockSide { Left, Top, Bottom };

// A child window docked to one side of the frame; its thickness is its width (left) or
// height (top, bottom). Hidden bars take no room.
class CControlBar : public CWindow {
public:
    bool CreateBar(HWND frame, UINT id, DockSide side, int thickness);
    DockSide Side() const { return m_side; }
    virtual int Thickness() const { return m_thickness; }
    void SetThickness(int thickness) { m_thickness = thickness; }

protected:
    WindowClassSpec ClassSpec() const override;

private:
    DockSide m_side = DockSide::Top;
    int m_thickness = 0;
};

// The common status bar control: pane 0 takes the room the others leave.
class CStatusBar : public CWindow {
public:
    bool CreateStatusBar(HWND frame, UINT id);
    // Pane ids in order; the first is the message pane (its id is 0).
    void SetPanes(const std::vector<UINT>& ids);
    void SetPaneText(UINT id, const std::string& text);
    std::string PaneText(UINT id) const;
    void SetPaneWidth(UINT id, int width);
    // Width of a text in the status bar's font, with the pane borders.
    int PaneWidthForText(const std::string& text) const;
    int Height() const;
    void Relayout();

private:
    int IndexOf(UINT id) const;
    std::vector<UINT> m_ids;
    std::vector<int> m_widths;
};
