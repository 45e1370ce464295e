#pragma once
// The main window's busy display for the length of a scope: the progress bar replaces the
// status bar, the main window's progress sink reports to it, and whatever way the scope is
// left, the sink ends and the status bar comes back. Nested scopes leave the display to the
// outermost one.
#include <cstdint>
#include <string>

class CQnProgress;

class CBusyScope {
public:
    CBusyScope();
    ~CBusyScope();
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

    // The sink to hand to long operations.
    CQnProgress& Progress();
    void SetRange(int64_t count);
    // Shows `text` and moves to `position`; false once the user cancelled.
    bool Step(int64_t position, const std::string& text);

private:
    bool m_turnedOn = false;
};
