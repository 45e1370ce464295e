#include "filetools/properties/version_info.h"

#include <cstdio>

std::string VersionStringPath(uint16_t language, uint16_t codePage, const std::string& name)
{
    char prefix[40];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04X%04X\\", static_cast<unsigned>(language),
                  static_cast<unsigned>(codePage));
    return prefix + name;
}

std::string ChooseVersionString(const VersionResource* resource, const std::string& first, const std::string& second)
{
    if (!resource)
        return {};
    struct Attempt {
        uint16_t language, codePage;
        const std::string* name;
    };
    constexpr uint16_t kUsEnglish = 0x0409, kWestern = 0x04E4;
    uint16_t language = 0, codePage = 0;
    const bool translated = resource->Translation(language, codePage);
    const Attempt attempts[] = {
        {language, codePage, &first}, {language, codePage, &second},
        {kUsEnglish, kWestern, &first}, {kUsEnglish, kWestern, &second},
    };
    for (size_t i = translated ? 0 : 2; i < 4; ++i) {
        std::string value;
        if (resource->QueryString(VersionStringPath(attempts[i].language, attempts[i].codePage, *attempts[i].name), value)
            && !value.empty())
            return value;
    }
    return {};
}

std::string GetVersionString(const std::string& path, const std::string& first, const std::string& second)
{
    const std::unique_ptr<VersionResource> resource = ReadVersionResource(path);
    return ChooseVersionString(resource.get(), first, second);
}
