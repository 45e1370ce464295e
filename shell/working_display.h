#pragma once
// What a long run shows in its working window: two text lines, the items bar and the current
// item's progress. Portable, so that a run's logic is tested without a window.
#include <string>

class CQnProgress;

class IWorkingDisplay {
public:
    virtual ~IWorkingDisplay() = default;
    virtual void SetLine1(const std::string& text) = 0;
    virtual void SetLine2(const std::string& text) = 0;
    // Sets the items bar and runs the pending messages; false once the user cancelled.
    virtual bool SetFilesDone(int done) = 0;
    // Empties the current item's bar; false once the user cancelled.
    virtual bool ResetFileBar() = 0;
    // The current item's sink (bar 2 and line 2).
    virtual CQnProgress& FileProgress() = 0;
};
