#include "app/startup.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool SameIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == '\0';
}
} // namespace

std::string CommandLineArguments(const std::string& processCommandLine)
{
    size_t i = 0;
    const std::string& s = processCommandLine;
    if (!s.empty() && s[0] == '"') {
        size_t close = s.find('"', 1);
        i = close == std::string::npos ? s.size() : close + 1;
    }
    while (i < s.size() && s[i] != ' ' && s[i] != '\t')
        ++i;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return s.substr(i);
}

CommandSwitch ParseCommandSwitch(const std::string& arguments)
{
    size_t begin = 0, end = arguments.size();
    while (begin < end && IsBlank(arguments[begin]))
        ++begin;
    while (end > begin && IsBlank(arguments[end - 1]))
        --end;
    const std::string word = arguments.substr(begin, end - begin);
    if (SameIgnoringCase(word, "/INSTALL"))
        return CommandSwitch::Install;
    if (SameIgnoringCase(word, "/UNINSTALL"))
        return CommandSwitch::Uninstall;
    if (SameIgnoringCase(word, "/DEBUG"))
        return CommandSwitch::Debug;
    if (SameIgnoringCase(word, "/FIRSTTIME"))
        return CommandSwitch::FirstTime;
    return CommandSwitch::None;
}

StartDecision DecideStart(CommandSwitch commandSwitch, const std::string& runningExecutable,
                          const std::string& installRecord, bool installRecordReadable)
{
    switch (commandSwitch) {
    case CommandSwitch::Install: return {RunKind::Install, runningExecutable};
    case CommandSwitch::Uninstall: return {RunKind::Uninstall, runningExecutable};
    case CommandSwitch::Debug: return {RunKind::Toolbox, runningExecutable};
    case CommandSwitch::None:
    case CommandSwitch::FirstTime: break;
    }
    if (installRecordReadable && !installRecord.empty())
        return {RunKind::Toolbox, installRecord};
    return {RunKind::Install, runningExecutable};
}

int DisplayDepthFromProbe(int bitsPerPixel, uint16_t whitePixelWord)
{
    if (bitsPerPixel != 16)
        return bitsPerPixel;
    return whitePixelWord == 0xFFFF ? 16 : 15;
}
