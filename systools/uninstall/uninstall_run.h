#pragma once
// How an entry's uninstall command is started. The program found in the command is started
// with the rest of the command as its arguments: a program receives its own path from the
// process command line once, and its arguments exactly once, as the command gives them.
#include <string>

struct UninstallLaunch {
    std::string program;   // empty: the command runs as it stands
    std::string arguments;
};

// The arguments of `command` once the leading text naming `program` is taken off (that text
// may be quoted, use "%SystemRoot%", which stands for `windowsFolder`, and differ in letter
// case). When `program` is empty, or the command does not start with it, the whole command.
std::string ArgumentsAfterProgram(const std::string& command, const std::string& program,
                                  const std::string& windowsFolder);

UninstallLaunch PlanUninstallLaunch(const std::string& command, const std::string& program,
                                    const std::string& windowsFolder);
