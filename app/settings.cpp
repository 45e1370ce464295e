#include "app/settings.h"

#include "app/paths.h"

namespace {
constexpr RegRoot kRoot = RegRoot::CurrentUser;
}

std::string CQnSettings::SectionPath(const std::string& section)
{
    return WithoutTrailingSeparator(JoinPath(kProductKey, section));
}

char* CQnSettings::ReadString(const std::string& section, const std::string& name,
                              char (&buffer)[kTextBuffer], const char* defaultText)
{
    return ReadString(kRoot, SectionPath(section), name, buffer, defaultText);
}

std::string CQnSettings::ReadString(const std::string& section, const std::string& name,
                                    const std::string& defaultText)
{
    return ReadString(kRoot, SectionPath(section), name, defaultText);
}

uint32_t CQnSettings::ReadDword(const std::string& section, const std::string& name, uint32_t defaultValue)
{
    return ReadDword(kRoot, SectionPath(section), name, defaultValue);
}

int CQnSettings::ReadInt(const std::string& section, const std::string& name, int defaultValue)
{
    return ReadInt(kRoot, SectionPath(section), name, defaultValue);
}

bool CQnSettings::WriteString(const std::string& section, const std::string& name, const std::string& text)
{
    return WriteString(kRoot, SectionPath(section), name, text);
}

bool CQnSettings::WriteInt(const std::string& section, const std::string& name, int value)
{
    return WriteInt(kRoot, SectionPath(section), name, value);
}

bool CQnSettings::WriteDword(const std::string& section, const std::string& name, uint32_t value)
{
    return WriteDword(kRoot, SectionPath(section), name, value);
}

bool CQnSettings::DeleteValue(const std::string& section, const std::string& name)
{
    return DeleteValue(kRoot, SectionPath(section), name);
}

bool CQnSettings::DeleteSection(const std::string& section)
{
    // The product key itself is only removed by the uninstaller, through CRegistryAccess.
    if (WithoutTrailingSeparator(section).empty())
        return false;
    return DeleteKey(kRoot, SectionPath(section));
}

const std::vector<CRegistryAccess::StringValue>& CQnSettings::EnumStringValues(const std::string& section)
{
    return EnumStringValues(kRoot, SectionPath(section));
}

const std::vector<std::string>& CQnSettings::EnumOtherValues(const std::string& section)
{
    return EnumOtherValues(kRoot, SectionPath(section));
}

const std::vector<std::string>& CQnSettings::EnumSubKeys(const std::string& section)
{
    return EnumSubKeys(kRoot, SectionPath(section));
}
