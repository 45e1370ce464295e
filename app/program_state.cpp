#include "app/program_state.h"

#include "app/paths.h"

void ProgramState::SetProgramPath(const std::string& path)
{
    programPath = path;
    programFolder = FolderOf(path);
}

ProgramState& Program()
{
    static ProgramState state;
    return state;
}
