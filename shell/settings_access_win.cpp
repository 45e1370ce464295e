// Windows build: the per-user registry below "Software\Ostrel\Quenta\".
#include "shell/settings_access.h"

#include <windows.h>

namespace {
std::string KeyPath(const std::string& section)
{
    std::string path = "Software\\Ostrel\\Quenta";
    std::string rest = section;
    while (!rest.empty() && (rest.front() == '\\'))
        rest.erase(rest.begin());
    while (!rest.empty() && (rest.back() == '\\' || rest.back() == '/'))
        rest.pop_back();
    if (!rest.empty())
        path += "\\" + rest;
    return path;
}
} // namespace

std::string ReadSettingText(const std::string& section, const std::string& name, const std::string& defaultValue)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return defaultValue;
    char buffer[1025] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    const LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    buffer[size < sizeof buffer ? size : sizeof buffer - 1] = '\0';
    return buffer;
}

void WriteSettingText(const std::string& section, const std::string& name, const std::string& text)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}
