#pragma once
// Hooks between the application object and the main window.
class CQnCallbackProgress;

// Creates and shows the main frame of a toolbox run; false when it cannot be created.
bool CreateMainWindow(int showCommand);

// The main window's progress sink: a process-wide callback sink whose range, position and
// text the main frame forwards to its progress bar once it has bound its functions.
CQnCallbackProgress& MainWindowProgress();
