#pragma once
// Grabbing the screen into a picture: the whole primary screen, or the part of it under the
// foreground window or its client area (limited to the screen).
#include <windows.h>

#include <memory>

#include "picturetools/capture/capture_rules.h"

class CPicture;

// The screen's HORZRES x VERTRES pixels as a 24-bit picture; null when the grab fails.
std::unique_ptr<CPicture> GrabFullScreen();
// A full-screen grab cropped to `area` (screen coordinates, right/bottom exclusive); null when
// no pixel of it is on the screen or the grab fails.
std::unique_ptr<CPicture> GrabScreenArea(const RECT& area);
// The window's rectangle, or its client rectangle in screen coordinates; false when `window`
// is no window.
bool CaptureAreaOfWindow(HWND window, bool clientOnly, RECT& area);
// A capture of the given kind (the foreground window for Window and Client).
std::unique_ptr<CPicture> Capture(CaptureKind kind);
