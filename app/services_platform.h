#pragma once
// The few platform calls behind the portable services (services_win.cpp / services_native.cpp).
#include <cstdint>

// Sets the thread locale to a language id (SORT_DEFAULT); nothing natively.
void SetThreadLanguage(unsigned langId);
// Posts a message to the window when it is one; false otherwise.
bool PostToWindow(void* window, unsigned message, uintptr_t wParam, intptr_t lParam);
