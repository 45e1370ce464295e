#pragma once
// Serves this thread's messages for about a tenth of a second, so that posted work, timers of
// a few milliseconds and painting are done before a test looks.
#include <windows.h>

inline void PumpMessagesAWhile()
{
    for (int round = 0; round < 5; ++round) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}
