#pragma once
// The picture viewer: one modeless window shared by every module, showing a picture with its
// colour channels and an information sheet. It stays open beside the main window until
// closed; closing destroys the window and the next ShowPicture creates it again.
#include <windows.h>

#include <memory>
#include <string>

class CPicture;

// Shows `picture` in the viewer, creating the window on first use. With `takeOwnership` the
// viewer keeps the picture and deletes it (also when showing fails); otherwise it shows a copy.
// `filePath` names the file the picture was read from (for the file lines of the information
// sheet); when empty, the picture's description is used if it names an existing file.
// False when the picture is empty or the window cannot be created.
bool ShowPicture(CPicture* picture, bool takeOwnership, const std::string& filePath = {});
bool ShowPicture(std::unique_ptr<CPicture> picture, const std::string& filePath = {});

// Closes the viewer window when it is open.
void ClosePictureViewer();
// The viewer window, or null while it is closed.
HWND PictureViewerWindow();
