#pragma once
// The program's message loop. An exception that escapes one message is dropped and the loop
// goes on, so the program ends only through the normal quit path.
#include <windows.h>

// Sees each message before it is translated and dispatched (accelerators, dialog keys);
// returns true when it has handled the message.
using MessageFilter = bool (*)(MSG& message);
MessageFilter SetQuentaMessageFilter(MessageFilter filter);

// Runs until WM_QUIT and returns its exit code.
int RunQuentaMessageLoop();
