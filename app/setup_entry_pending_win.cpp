// Stand-in for the product's setup until it exists: says so and ends the run.
#include "app/setup_entry.h"

#include <windows.h>

#include "base/text.h"
#include "res/resource.h"

namespace {
void SayNotAvailable(const char* what)
{
    std::string title = LoadText(IDS_APP_TITLE);
    MessageBoxA(nullptr, what, title.empty() ? "Quenta" : title.c_str(), MB_OK | MB_ICONINFORMATION);
}
} // namespace

void RunInstall() { SayNotAvailable("Setup is not available in this build."); }

void RunUninstall(int) { SayNotAvailable("Uninstall is not available in this build."); }
