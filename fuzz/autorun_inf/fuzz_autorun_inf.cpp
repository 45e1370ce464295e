// A drive's "autorun.inf": any bytes are either refused as not text or read into lines; a new
// icon written over them gives a file that reads back with exactly that icon, and writing the
// same icon again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "systools/disks/autorun_inf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = ParseAutorunFile(bytes);
    if (!parsed)
        return 0;
    const std::string value = "Icons\\disk.ico,0";
    const std::string written = ComposeAutorunFile(&*parsed, value);
    if (written.size() > kMaxAutorunFileSize)
        return 0;
    const auto again = ParseAutorunFile(written);
    if (!again || again->icon != value)
        std::abort();
    if (ComposeAutorunFile(&*again, value) != written)
        std::abort();
    return 0;
}
