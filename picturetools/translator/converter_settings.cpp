#include "picturetools/translator/converter_settings.h"

#include <cctype>
#include <cstdint>

#include "app/settings.h"

namespace {
const char kSection[] = "Converter";
}

int ClampQuality(int quality)
{
    if (quality < 0)
        return kDefaultQuality;
    return quality > 100 ? 100 : quality;
}

int QualityFromText(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    // Only the size class matters beyond 100, so stop accumulating there.
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        if (value <= 1000)
            value = value * 10 + (text[i] - '0');
    return ClampQuality(static_cast<int>(negative ? -value : value));
}

ConverterSettings ReadConverterSettings()
{
    const ConverterSettings defaults;
    CQnSettings settings;
    ConverterSettings read;
    read.type = settings.ReadInt(kSection, "Type", defaults.type);
    read.quality = ClampQuality(settings.ReadInt(kSection, "Quality", defaults.quality));
    read.outputDirectory = settings.ReadString(kSection, "OutputDirectory", defaults.outputDirectory);
    read.addFileDirectory = settings.ReadString(kSection, "AddFileDirectory", defaults.addFileDirectory);
    return read;
}

void WriteConverterRun(int type, const std::string& outputDirectory, int quality)
{
    CQnSettings settings;
    settings.WriteInt(kSection, "Type", type);
    settings.WriteString(kSection, "OutputDirectory", outputDirectory);
    settings.WriteInt(kSection, "Quality", quality);
}

void WriteAddFileDirectory(const std::string& folder)
{
    CQnSettings().WriteString(kSection, "AddFileDirectory", folder);
}
