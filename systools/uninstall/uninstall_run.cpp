#include "systools/uninstall/uninstall_run.h"

#include <cctype>

#include "shell/report_model.h"

namespace {
constexpr char kSystemRoot[] = "%systemroot%";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimmedBlanks(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// A prefix of a command written the way the program finder reads it: "%SystemRoot%" as the
// Windows folder, a leading quote dropped, every other quote a blank, outer blanks trimmed.
std::string AsProgramText(const std::string& prefix, const std::string& windowsFolder)
{
    std::string text;
    for (size_t at = 0; at < prefix.size();) {
        if (ToUpperAnsi(prefix.substr(at, sizeof kSystemRoot - 1)) == ToUpperAnsi(kSystemRoot)) {
            text += windowsFolder;
            at += sizeof kSystemRoot - 1;
        } else {
            text += prefix[at++];
        }
    }
    text = TrimmedBlanks(text);
    if (!text.empty() && text.front() == '"')
        text.erase(0, 1);
    for (char& c : text)
        if (c == '"')
            c = ' ';
    return TrimmedBlanks(text);
}
} // namespace

std::string ArgumentsAfterProgram(const std::string& command, const std::string& program,
                                  const std::string& windowsFolder)
{
    const std::string wanted = TrimmedBlanks(program);
    if (wanted.empty())
        return command;
    // The program's text ends where a blank starts, where a closing quote stands or at the end.
    for (size_t end = 1; end <= command.size(); ++end) {
        const bool boundary = end == command.size() || IsBlank(command[end]) || command[end - 1] == '"';
        if (!boundary)
            continue;
        if (CompareNoCase(AsProgramText(command.substr(0, end), windowsFolder), wanted) == 0)
            return TrimmedBlanks(command.substr(end));
    }
    return command;
}

UninstallLaunch PlanUninstallLaunch(const std::string& command, const std::string& program,
                                    const std::string& windowsFolder)
{
    return {program, ArgumentsAfterProgram(command, program, windowsFolder)};
}
