#pragma once
// The program a command line starts, against the real Windows folder and file system.
#include <string>

std::string ProgramFromCommandLine(const std::string& command);
std::string CommandWithoutDde(const std::string& command);
