// A stand-in uninstaller for the uninstaller's end-to-end test. Arguments: the key name of its
// uninstall entry and a log file. It writes the command line and the arguments it received to
// the log, deletes its entry, then lingers two seconds (so the test can see the toolbox wait)
// and leaves "<log>.done" as it ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc < 3)
        return 2;
    const std::string log = __argv[2];
    if (FILE* file = std::fopen(log.c_str(), "wb")) {
        std::fprintf(file, "%s\n", GetCommandLineA());
        for (int i = 1; i < __argc; ++i)
            std::fprintf(file, "%s\n", __argv[i]);
        std::fclose(file);
    }
    const std::string key = std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + __argv[1];
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    Sleep(2000);
    if (FILE* done = std::fopen((log + ".done").c_str(), "wb"))
        std::fclose(done);
    return 0;
}
