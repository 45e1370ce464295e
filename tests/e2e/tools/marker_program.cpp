// A program for the launcher to start: it writes the folder it was started in into
// "started.txt" beside itself, then ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string marker = self;
    marker = marker.substr(0, marker.rfind('\\') + 1) + "started.txt";
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, folder, lstrlenA(folder), &written, nullptr);
    CloseHandle(file);
    return 0;
}
