// Native build: settings live in memory for the length of the process.
#include "shell/settings_access.h"

#include <map>
#include <utility>

namespace {
std::string KeyOf(const std::string& section, const std::string& name)
{
    std::string key = section;
    while (!key.empty() && (key.back() == '\\' || key.back() == '/'))
        key.pop_back();
    return key + '\x01' + name;
}

std::map<std::string, std::string>& Store()
{
    static std::map<std::string, std::string> store;
    return store;
}
} // namespace

std::string ReadSettingText(const std::string& section, const std::string& name, const std::string& defaultValue)
{
    auto it = Store().find(KeyOf(section, name));
    return it == Store().end() ? defaultValue : it->second;
}

void WriteSettingText(const std::string& section, const std::string& name, const std::string& text)
{
    Store()[KeyOf(section, name)] = text;
}
