#pragma once
// The system's uninstall registry: one subkey per program below HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\", with the texts "DisplayName" and
// "UninstallString". Reads take any length and both text kinds; writes touch only the two
// values of one named subkey, and a deletion only that subkey's tree.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/registry_key.h"

inline constexpr const char kUninstallKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char kDisplayNameValue[] = "DisplayName";
inline constexpr const char kUninstallStringValue[] = "UninstallString";
// The longest key name the registry accepts.
inline constexpr size_t kMaxEntryKeyName = 255;

// The full path of an entry's key ("%s\%s\").
std::string UninstallEntryKeyPath(const std::string& keyName);

// Whether a key name addresses exactly one direct subkey of the uninstall key: not empty, no
// "\", no longer than the registry allows. Every write and deletion checks it, so an empty or
// nested name can never reach the uninstall key itself or a key beside the entry.
bool IsEntryKeyName(const std::string& keyName);

// The two texts of an entry as stored. A value that is missing or not text reads as empty.
struct StoredEntryTexts {
    std::string displayName;
    std::string command;
};

class CUninstallRegistry {
public:
    using RootOpener = std::function<std::unique_ptr<CRegistryKey>()>;

    // Opens HKEY_LOCAL_MACHINE (tests give a root of their own).
    CUninstallRegistry();
    explicit CUninstallRegistry(RootOpener openRoot);

    // Names of the uninstall key's subkeys in enumeration order (none when the key is missing).
    std::vector<std::string> SubKeyNames() const;
    StoredEntryTexts ReadEntry(const std::string& keyName) const;
    bool EntryExists(const std::string& keyName) const;

    // Writes "DisplayName" and "UninstallString" under the entry's key, creating it when needed.
    // A value that already holds the same text is left alone (so changing the name rewrites
    // the name only), and a command stored as an expandable text stays one. Nothing is written
    // unless both texts are non-empty and the key name is usable. True when both values hold
    // the texts afterwards.
    bool WriteEntry(const std::string& keyName, const std::string& displayName, const std::string& command) const;

    // Deletes the entry's key with all its subkeys; nothing else. False when the key name is
    // not usable, the key is missing or the registry refuses.
    bool DeleteEntry(const std::string& keyName) const;

private:
    std::unique_ptr<CRegistryKey> OpenUninstallKey(bool create) const;
    RootOpener m_openRoot;
};

// The text of a registry value of the text kinds (up to its first zero); nullopt-like false
// for other kinds.
bool RegistryValueText(uint32_t type, const std::vector<uint8_t>& data, std::string& text);
