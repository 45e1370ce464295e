// Prints the session's system colours as a new process reads them: one line per index 0 to
// 30, "index rrggbb" (COLORREF in hexadecimal). The colours test reads them through it, so
// that no colour cached by its own process stands in for the system's.
#include <windows.h>

#include <cstdio>

int main()
{
    for (int index = 0; index <= COLOR_MENUBAR; ++index)
        std::printf("%d %06lx\n", index, static_cast<unsigned long>(GetSysColor(index)));
    std::fflush(stdout);
    return 0;
}
