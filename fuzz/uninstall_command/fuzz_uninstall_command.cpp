// Uninstall entries come from any program's registry values: the texts read from value bytes of
// any kind, and the arguments taken off a command after its program. Input: one byte of value
// kind, then the value bytes, a NUL, the program text, a NUL and the Windows folder. The
// arguments are always the whole command or a shorter part of it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "systools/uninstall/uninstall_registry.h"
#include "systools/uninstall/uninstall_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint32_t type = data[0] % 8;
    const std::vector<uint8_t> value(data + 1, data + size);
    std::string command;
    if (RegistryValueText(type, value, command) && command.size() > value.size())
        std::abort();
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\0');
    if (split == std::string::npos)
        return 0;
    const std::string after = rest.substr(split + 1);
    const size_t second = after.find('\0');
    const std::string program = after.substr(0, second);
    const std::string windows = second == std::string::npos ? "C:\\WINDOWS" : after.substr(second + 1);
    const std::string arguments = ArgumentsAfterProgram(command, program, windows);
    if (arguments != command && (arguments.size() >= command.size() || command.find(arguments) == std::string::npos))
        std::abort();
    return 0;
}
