#pragma once
// Balloon tooltips: one manager per owning window. Tools are child windows or rectangles of the
// owner; the owner relays every message it pre-translates so that mouse movement is tracked.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class CDxToolTip {
public:
    // Receives the current tool's text when the tool changes, and an empty text when the tip hides.
    using StatusCallback = std::function<void(const std::string& text)>;

    CDxToolTip();
    ~CDxToolTip();
    CDxToolTip(const CDxToolTip&) = delete;
    CDxToolTip& operator=(const CDxToolTip&) = delete;

    // Creates the hidden balloon window and starts the tracking timer.
    bool AttachOwner(HWND owner, StatusCallback status = {});
    // A child window of the owner; an empty text takes the window's own text. `index` is the
    // tool's place in the list, where the first tool holding the cursor wins (-1: at the end).
    void AddTool(HWND tool, const std::string& text = {}, int index = -1);
    // A rectangle in the owner's client coordinates.
    void AddTool(const RECT& rect, const std::string& text, int index = -1);
    // Called for every message the owner pre-translates; never consumes it.
    void RelayEvent(const MSG& message);
    // Relays every message the framework pre-translates (framework/frame.h message observers),
    // modal loops included once the framework's message hook is installed, until Detach.
    void RelayFrameworkMessages();
    void Detach();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
