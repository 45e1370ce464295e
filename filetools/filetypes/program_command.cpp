#include "filetools/filetypes/program_command.h"

#include "filetools/filetypes/icon_location.h"

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c; }

// Position of `lowerWord` in `text` from `from` on, ignoring ASCII case; npos when absent.
size_t FindIgnoringCase(const std::string& text, const std::string& lowerWord, size_t from)
{
    if (lowerWord.empty() || text.size() < lowerWord.size())
        return std::string::npos;
    for (size_t at = from; at + lowerWord.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < lowerWord.size() && LowerAscii(text[at + i]) == lowerWord[i])
            ++i;
        if (i == lowerWord.size())
            return at;
    }
    return std::string::npos;
}
} // namespace

std::string ProgramFromCommandLine(const std::string& command, const std::string& windowsFolder,
                                   const FileExistsCheck& fileExists)
{
    std::string text = ExpandSystemRoot(command, windowsFolder);
    if (!text.empty() && text.front() == '"')
        text.erase(0, 1);
    for (char& c : text)
        if (c == '"')
            c = ' ';
    if (!text.empty() && fileExists && fileExists(text))
        return text;
    for (size_t at = FindIgnoringCase(text, ".exe", 0); at != std::string::npos;
         at = FindIgnoringCase(text, ".exe", at + 1)) {
        const size_t end = at + 4;
        if (end < text.size() && text[end] == ' ')
            return text.substr(0, end);
    }
    return {};
}

std::string CommandWithoutDde(const std::string& command, const std::string& windowsFolder)
{
    std::string text = ExpandSystemRoot(command, windowsFolder);
    for (size_t at = FindIgnoringCase(text, "/dde", 0); at != std::string::npos;
         at = FindIgnoringCase(text, "/dde", at))
        text.erase(at, 4);
    return text;
}
