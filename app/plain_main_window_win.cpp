// A plain main frame titled with the product name, until the real main window exists.
#include "app/main_window.h"

#include <windows.h>

#include "app/text.h"

namespace {
constexpr const char* kFrameClass = "QuentaPlainFrame";
constexpr unsigned kAppTitle = 128;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    } catch (...) {
        return 0; // nothing crosses the window procedure
    }
}
} // namespace

bool CreateMainWindow(int showCommand)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrameProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(instance, MAKEINTRESOURCE(128));
    if (!windowClass.hIcon)
        windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kFrameClass;
    if (!RegisterClassA(&windowClass))
        return false;
    std::string title = LoadText(kAppTitle);
    HWND frame = CreateWindowExA(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 800, 600, nullptr, nullptr, instance, nullptr);
    if (!frame)
        return false;
    ShowWindow(frame, showCommand);
    UpdateWindow(frame);
    return true;
}
