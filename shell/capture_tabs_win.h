#pragma once
// The capture list of a capturing module shown as tabs: one tab with the picture's 16 x 16
// thumbnail per picture, the placeholder image while there is none, and the tab of the
// current picture selected. Choosing a tab makes its picture current.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "shell/capture_list.h"
#include "shell/image_tab_strip_win.h"

class CPicture;

class CCaptureTabs {
public:
    // Called whenever the current picture changes (added, deleted, tab chosen): the view
    // shows it and enables its buttons by whether there is one.
    using CurrentCallback = std::function<void()>;

    // Creates the tab control, or takes one from a dialog template, with the placeholder image.
    bool Create(HWND parent, UINT id, const RECT& rect);
    bool Attach(HWND tabControl);
    void SetCurrentCallback(CurrentCallback callback) { m_onCurrent = std::move(callback); }

    // Appends a picture as a new tab titled `label` and makes it current; false (and nothing
    // added) for an empty picture or one whose thumbnail cannot be shown.
    bool Add(std::unique_ptr<CPicture> picture, const std::string& label);
    // Frees the current picture with its tab and thumbnail (see CCaptureList::DeleteCurrent).
    bool DeleteCurrent();

    const CCaptureList& List() const { return m_list; }
    const CPicture* Current() const { return m_list.Current(); }
    CImageTabStrip& Strip() { return m_strip; }

private:
    bool Prepare();
    void OnTabChosen(int tab);
    void CurrentChanged();

    CCaptureList m_list;
    CImageTabStrip m_strip;
    CurrentCallback m_onCurrent;
};

// A device-dependent bitmap of a picture's pixels (null when the picture is empty); the
// caller deletes it.
HBITMAP BitmapOfPicture(const CPicture& picture);
