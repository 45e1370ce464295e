#pragma once
// What a module adds to the main window beyond its view (the scanner link): made when the
// main window is created, shown every message of the thread before the window's own handling,
// and destroyed with the window. The program's module table names the parts; the shell none.
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

class CMainWindowPart {
public:
    virtual ~CMainWindowPart() = default;
    // True when the message was the part's: it is then neither translated nor dispatched.
    virtual bool PreTranslateMessage(const MSG& msg) = 0;
};

using MainWindowPartFactory = std::unique_ptr<CMainWindowPart> (*)(HWND mainWindow);

// The factories of the program's parts; called once before the main window is created.
void SetMainWindowPartFactories(std::span<const MainWindowPartFactory> factories);

// The parts of one main window, fed through the framework's message filter.
class CMainWindowParts {
public:
    CMainWindowParts() = default;
    ~CMainWindowParts() { Destroy(); }
    CMainWindowParts(const CMainWindowParts&) = delete;
    CMainWindowParts& operator=(const CMainWindowParts&) = delete;

    void Create(HWND mainWindow);
    // The last made goes first.
    void Destroy();

private:
    std::vector<std::unique_ptr<CMainWindowPart>> m_parts;
    int m_filter = 0;
};
