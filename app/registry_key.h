#pragma once
// The small registry interface under CRegistryAccess. The Windows build opens the real
// registry (registry_key_win.cpp); the Linux build opens a portable store with the same
// roots, layout and value kinds (registry_key_native.cpp, registry_store.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Value kinds, numbered as the registry numbers them.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegString = 1;       // REG_SZ: text with its terminating zero
constexpr uint32_t kRegExpandString = 2; // REG_EXPAND_SZ
constexpr uint32_t kRegBinary = 3;       // REG_BINARY
constexpr uint32_t kRegDword = 4;        // REG_DWORD (little-endian)
constexpr uint32_t kRegMultiString = 7;  // REG_MULTI_SZ

// One open key. Names of keys and values compare without regard to letter case.
class CRegistryKey {
public:
    virtual ~CRegistryKey() = default;

    // Opens (or, with create, creates) the direct subkey `name` with full access; null on failure.
    virtual std::unique_ptr<CRegistryKey> OpenSubKey(const std::string& name, bool create) = 0;
    virtual bool QueryValue(const std::string& name, uint32_t& type, std::vector<uint8_t>& data) = 0;
    virtual bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
    // Deletes the direct subkey `name`, which must have no subkeys of its own.
    virtual bool DeleteSubKey(const std::string& name) = 0;
    // The value or subkey at `index` in enumeration order; false past the last one.
    virtual bool EnumValue(uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data) = 0;
    virtual bool EnumSubKey(uint32_t index, std::string& name) = 0;
    // Makes the changes made through this key and the keys opened from it durable.
    virtual bool Flush() { return true; }
};

// The root key `root`; null when the platform cannot open it.
std::unique_ptr<CRegistryKey> OpenRegistryRoot(RegRoot root);
