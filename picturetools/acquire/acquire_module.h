#pragma once
// The scanner acquisition's entries in the program's module table (module 16): its view, and
// the TWAIN link that the main window owns.
#include <windows.h>

#include <memory>

class CQnFormView;
class CMainWindowPart;

std::unique_ptr<CQnFormView> CreateAcquireView();
std::unique_ptr<CMainWindowPart> CreateTwainLink(HWND mainWindow);
