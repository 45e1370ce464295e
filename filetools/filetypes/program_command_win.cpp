#include "filetools/filetypes/program_command_win.h"

#include <windows.h>

#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/program_command.h"

namespace {
bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

std::string ProgramFromCommandLine(const std::string& command)
{
    return ProgramFromCommandLine(command, WindowsFolder(), IsExistingFile);
}

std::string CommandWithoutDde(const std::string& command) { return CommandWithoutDde(command, WindowsFolder()); }
