#pragma once
// The product's settings store: values addressed by section and name below
// HKEY_CURRENT_USER "Software\Ostrel\Quenta\". Numbers, flags and colours are kept as decimal
// text. Nothing is cached: create one on the stack where a setting is needed.
#include <string>

#include "app/registry_access.h"

// Maker-wide keys beside the product key (HKEY_CURRENT_USER).
inline constexpr const char* kProductKey = "Software\\Ostrel\\Quenta\\";
inline constexpr const char* kInstallRecordKey = "Software\\Ostrel\\Software\\";
inline constexpr const char* kToolTipKey = "Software\\Ostrel\\Dexlo\\ToolTip\\";
inline constexpr const char* kWindowRegistryKey = "software\\ostrel\\atom\\";

class CQnSettings : public CRegistryAccess {
public:
    // Full key path of a section: the product key joined with it, one trailing separator
    // dropped ("" addresses the product key itself).
    static std::string SectionPath(const std::string& section);

    using CRegistryAccess::DeleteKey;
    using CRegistryAccess::DeleteValue;
    using CRegistryAccess::EnumOtherValues;
    using CRegistryAccess::EnumStringValues;
    using CRegistryAccess::EnumSubKeys;
    using CRegistryAccess::ReadDword;
    using CRegistryAccess::ReadInt;
    using CRegistryAccess::ReadString;
    using CRegistryAccess::WriteDword;
    using CRegistryAccess::WriteInt;
    using CRegistryAccess::WriteString;

    char* ReadString(const std::string& section, const std::string& name, char (&buffer)[kTextBuffer],
                     const char* defaultText);
    std::string ReadString(const std::string& section, const std::string& name,
                           const std::string& defaultText = {});
    uint32_t ReadDword(const std::string& section, const std::string& name, uint32_t defaultValue);
    int ReadInt(const std::string& section, const std::string& name, int defaultValue);
    bool ReadBool(const std::string& section, const std::string& name, bool defaultValue)
    {
        return ReadInt(section, name, defaultValue ? 1 : 0) != 0;
    }

    bool WriteString(const std::string& section, const std::string& name, const std::string& text);
    bool WriteInt(const std::string& section, const std::string& name, int value);
    bool WriteBool(const std::string& section, const std::string& name, bool value)
    {
        return WriteInt(section, name, value ? 1 : 0);
    }
    bool WriteDword(const std::string& section, const std::string& name, uint32_t value);

    bool DeleteValue(const std::string& section, const std::string& name);
    // Deletes the section's key with its subtree.
    bool DeleteSection(const std::string& section);

    const std::vector<StringValue>& EnumStringValues(const std::string& section);
    const std::vector<std::string>& EnumOtherValues(const std::string& section);
    const std::vector<std::string>& EnumSubKeys(const std::string& section);
};
