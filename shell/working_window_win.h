#pragma once
// The working window of a long run (a batch of files, for example): an animation, two
// text lines, the items bar, the current item's bar and Cancel. Its second bar and line are the
// progress sink the codecs report to. While it is up, every check of a bar empties the
// message queue: paints and the Cancel button's messages run, all other input is dropped.
#include <windows.h>

#include <memory>
#include <string>

#include "base/progress.h"
#include "framework/dialog.h"
#include "shell/working_display.h"

// Its template is IDD_WORKING (res/forms.rc).
class CWorkingWindow : public CDialog, public IWorkingDisplay {
public:
    CWorkingWindow();
    ~CWorkingWindow() override;

    // Creates the window, owned by `owner`, and shows it.
    bool Open(HWND owner);
    void Close();

    void SetLine1(const std::string& text) override;
    void SetLine2(const std::string& text) override;
    void SetFilesRange(int count);
    // Sets the files bar and runs the pending messages; false once the user cancelled.
    bool SetFilesDone(int done) override;
    // Empties the bar of the current file; false once the user cancelled.
    bool ResetFileBar() override;
    bool IsCancelled() const { return m_cancelled; }

    // The current file's sink (bar 2 and line 2).
    CQnProgress& FileProgress() override;

    // Dispatches paints and the Cancel button's messages, drops every other pending message.
    void PumpMessages();

protected:
    bool OnInitDialog() override;
    void OnCancel() override { m_cancelled = true; }
    void OnOK() override {}

private:
    class FileSink;
    std::unique_ptr<FileSink> m_fileProgress;
    bool m_cancelled = false;
};
