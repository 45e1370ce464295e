#include "app/message_loop_win.h"

namespace {
MessageFilter g_filter = nullptr;

int LoopUntilQuit()
{
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        if (g_filter && g_filter(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
} // namespace

MessageFilter SetQuentaMessageFilter(MessageFilter filter)
{
    MessageFilter previous = g_filter;
    g_filter = filter;
    return previous;
}

int RunQuentaMessageLoop()
{
    for (;;) {
        try {
            return LoopUntilQuit();
        } catch (...) {
            // A fault in one message must not end the program: keep serving messages.
        }
    }
}
