#pragma once
// A module view's status text in the main window's message pane. The view keeps its own
// text, so that it comes back after a tooltip's text has stood in the pane.
#include <string>

class CModuleStatus {
public:
    void Show(const std::string& text);
    // "%d object(s)" or "%d selected object(s) on %d".
    void ShowObjectCount(int rows, int selected);
    // A tooltip's text while it shows; an empty tip puts the module's text back.
    void ShowTip(const std::string& tip) const;
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
