// Linux side of the process-wide services: files through POSIX; the shell and program
// start-up have no counterpart here and report failure.
#include "app/services.h"
#include "app/services_platform.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

void SetThreadLanguage(unsigned) {}

bool PostToWindow(void*, unsigned, uintptr_t, intptr_t) { return false; }

bool IsExistingFolder(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsReadableFile(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

std::string SystemTempPath()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string path = tmp && *tmp ? tmp : "/tmp";
    return path.back() == '/' ? path : path + '/';
}

void OpenWithShell(const std::string&) {}

bool RunProgram(bool, int, const std::string&, const std::string&, const std::string&) { return false; }
