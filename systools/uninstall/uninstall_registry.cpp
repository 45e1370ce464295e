#include "systools/uninstall/uninstall_registry.h"

#include <algorithm>

#include "app/paths.h"

namespace {
// The registry allows 512 levels; a deeper tree is not one the registry made.
constexpr int kMaxTreeDepth = 512;

std::vector<uint8_t> TextBytes(const std::string& text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

bool DeleteTree(CRegistryKey& parent, const std::string& name, int depth)
{
    if (depth > kMaxTreeDepth)
        return false;
    {
        std::unique_ptr<CRegistryKey> key = parent.OpenSubKey(name, false);
        if (!key)
            return false;
        std::vector<std::string> children;
        std::string child;
        for (uint32_t index = 0; key->EnumSubKey(index, child); ++index)
            children.push_back(child);
        for (const std::string& each : children)
            if (!DeleteTree(*key, each, depth + 1))
                return false;
    } // closed before it goes
    return parent.DeleteSubKey(name);
}

// Writes one text value unless it already holds `text`; an expandable text keeps its kind.
bool WriteTextValue(CRegistryKey& key, const char* name, const std::string& text)
{
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    std::string stored;
    const bool exists = key.QueryValue(name, type, data);
    if (exists && RegistryValueText(type, data, stored) && stored == text)
        return true;
    const uint32_t newType = exists && type == kRegExpandString ? kRegExpandString : kRegString;
    return key.SetValue(name, newType, TextBytes(text));
}
} // namespace

std::string UninstallEntryKeyPath(const std::string& keyName)
{
    return WithoutTrailingSeparator(kUninstallKeyPath) + "\\" + keyName + "\\";
}

bool IsEntryKeyName(const std::string& keyName)
{
    return !keyName.empty() && keyName.size() <= kMaxEntryKeyName && keyName.find('\\') == std::string::npos;
}

bool RegistryValueText(uint32_t type, const std::vector<uint8_t>& data, std::string& text)
{
    if (type != kRegString && type != kRegExpandString)
        return false;
    const auto end = std::find(data.begin(), data.end(), uint8_t{0});
    text.assign(data.begin(), end);
    return true;
}

CUninstallRegistry::CUninstallRegistry() : m_openRoot([] { return OpenRegistryRoot(RegRoot::LocalMachine); }) {}

CUninstallRegistry::CUninstallRegistry(RootOpener openRoot) : m_openRoot(std::move(openRoot)) {}

std::unique_ptr<CRegistryKey> CUninstallRegistry::OpenUninstallKey(bool create) const
{
    std::unique_ptr<CRegistryKey> key = m_openRoot ? m_openRoot() : nullptr;
    for (const std::string& part : SplitKeyPath(kUninstallKeyPath)) {
        if (!key)
            return nullptr;
        key = key->OpenSubKey(part, create);
    }
    return key;
}

std::vector<std::string> CUninstallRegistry::SubKeyNames() const
{
    std::vector<std::string> names;
    if (std::unique_ptr<CRegistryKey> key = OpenUninstallKey(false)) {
        std::string name;
        for (uint32_t index = 0; key->EnumSubKey(index, name); ++index)
            names.push_back(name);
    }
    return names;
}

StoredEntryTexts CUninstallRegistry::ReadEntry(const std::string& keyName) const
{
    StoredEntryTexts texts;
    std::unique_ptr<CRegistryKey> uninstall = IsEntryKeyName(keyName) ? OpenUninstallKey(false) : nullptr;
    std::unique_ptr<CRegistryKey> entry = uninstall ? uninstall->OpenSubKey(keyName, false) : nullptr;
    if (!entry)
        return texts;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    if (entry->QueryValue(kDisplayNameValue, type, data))
        RegistryValueText(type, data, texts.displayName);
    if (entry->QueryValue(kUninstallStringValue, type, data))
        RegistryValueText(type, data, texts.command);
    return texts;
}

bool CUninstallRegistry::EntryExists(const std::string& keyName) const
{
    std::unique_ptr<CRegistryKey> uninstall = IsEntryKeyName(keyName) ? OpenUninstallKey(false) : nullptr;
    return uninstall && uninstall->OpenSubKey(keyName, false) != nullptr;
}

bool CUninstallRegistry::WriteEntry(const std::string& keyName, const std::string& displayName,
                                    const std::string& command) const
{
    if (!IsEntryKeyName(keyName) || displayName.empty() || command.empty())
        return false;
    std::unique_ptr<CRegistryKey> uninstall = OpenUninstallKey(true);
    std::unique_ptr<CRegistryKey> entry = uninstall ? uninstall->OpenSubKey(keyName, true) : nullptr;
    if (!entry)
        return false;
    const bool nameWritten = WriteTextValue(*entry, kDisplayNameValue, displayName);
    const bool commandWritten = WriteTextValue(*entry, kUninstallStringValue, command);
    return nameWritten && commandWritten && entry->Flush();
}

bool CUninstallRegistry::DeleteEntry(const std::string& keyName) const
{
    if (!IsEntryKeyName(keyName))
        return false;
    std::unique_ptr<CRegistryKey> uninstall = OpenUninstallKey(false);
    return uninstall && DeleteTree(*uninstall, keyName, 0) && uninstall->Flush();
}
