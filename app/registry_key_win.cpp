// Windows build: the registry interface over the system registry. Every key is opened with
// full access (KEY_ALL_ACCESS), also for reads; missing keys are created without a class,
// non-volatile.
#include "app/registry_key.h"

#include <windows.h>

namespace {
class Win32Key : public CRegistryKey {
public:
    Win32Key(HKEY key, bool owned) : m_key(key), m_owned(owned) {}
    ~Win32Key() override
    {
        if (m_owned)
            RegCloseKey(m_key);
    }

    std::unique_ptr<CRegistryKey> OpenSubKey(const std::string& name, bool create) override
    {
        HKEY sub = nullptr;
        LONG status;
        if (create) {
            DWORD disposition = 0;
            status = RegCreateKeyExA(m_key, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &sub, &disposition);
        } else {
            status = RegOpenKeyExA(m_key, name.c_str(), 0, KEY_ALL_ACCESS, &sub);
        }
        return status == ERROR_SUCCESS ? std::make_unique<Win32Key>(sub, true) : nullptr;
    }

    bool QueryValue(const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override
    {
        // The value may change between asking its size and reading it: retry on growth.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD valueType = 0, size = 0;
            if (RegQueryValueExA(m_key, name.c_str(), nullptr, &valueType, nullptr, &size) != ERROR_SUCCESS)
                return false;
            data.resize(size);
            LONG status = RegQueryValueExA(m_key, name.c_str(), nullptr, &valueType,
                                           size ? data.data() : nullptr, &size);
            if (status == ERROR_MORE_DATA)
                continue;
            if (status != ERROR_SUCCESS)
                return false;
            data.resize(size);
            type = valueType;
            return true;
        }
        return false;
    }

    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override
    {
        return RegSetValueExA(m_key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) ==
               ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override
    {
        return RegDeleteValueA(m_key, name.c_str()) == ERROR_SUCCESS;
    }

    bool DeleteSubKey(const std::string& name) override
    {
        return RegDeleteKeyA(m_key, name.c_str()) == ERROR_SUCCESS;
    }

    bool EnumValue(uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data) override
    {
        DWORD maxName = 0, maxData = 0;
        if (RegQueryInfoKeyA(m_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                             &maxData, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        std::vector<char> nameBuffer(maxName + 2);
        data.resize(maxData + 1);
        DWORD nameLength = static_cast<DWORD>(nameBuffer.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD valueType = 0;
        if (RegEnumValueA(m_key, index, nameBuffer.data(), &nameLength, nullptr, &valueType, data.data(),
                          &dataSize) != ERROR_SUCCESS)
            return false;
        name.assign(nameBuffer.data(), nameLength);
        data.resize(dataSize);
        type = valueType;
        return true;
    }

    bool EnumSubKey(uint32_t index, std::string& name) override
    {
        char buffer[MAX_PATH + 1];
        DWORD length = sizeof buffer;
        if (RegEnumKeyExA(m_key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        name.assign(buffer, length);
        return true;
    }

private:
    HKEY m_key;
    bool m_owned;
};

HKEY RootHandle(RegRoot root)
{
    switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
    case RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return nullptr;
}
} // namespace

std::unique_ptr<CRegistryKey> OpenRegistryRoot(RegRoot root)
{
    HKEY handle = RootHandle(root);
    return handle ? std::make_unique<Win32Key>(handle, false) : nullptr;
}
