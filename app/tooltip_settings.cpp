#include "app/tooltip_settings.h"

#include <cctype>
#include <climits>
#include <optional>
#include <string>

#include "app/paths.h"
#include "app/registry_access.h"
#include "app/settings.h"

namespace {
constexpr RegRoot kRoot = RegRoot::CurrentUser;

std::string TooltipKey() { return WithoutTrailingSeparator(kToolTipKey); }

// A whole decimal number (blanks around it allowed); nothing for any other text.
std::optional<long long> ParseWholeNumber(const std::string& text)
{
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    const size_t digitsStart = at;
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        if (value > (LLONG_MAX - 9) / 10)
            return std::nullopt;
        value = value * 10 + (text[at] - '0');
    }
    if (at == digitsStart)
        return std::nullopt;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    if (at != text.size())
        return std::nullopt;
    return negative ? -value : value;
}

class ValueReader {
public:
    explicit ValueReader(CRegistryAccess& registry) : m_registry(registry) {}

    std::optional<long long> Number(const char* name)
    {
        // The marker cannot be a number, so it tells a missing value from a present one.
        const std::string text = m_registry.ReadString(kRoot, m_key, name, "?");
        return ParseWholeNumber(text);
    }
    int Int(const char* name, int fallback, long long low, long long high)
    {
        const auto value = Number(name);
        return value && *value >= low && *value <= high ? static_cast<int>(*value) : fallback;
    }
    bool Flag(const char* name, bool fallback)
    {
        const auto value = Number(name);
        return value ? *value != 0 : fallback;
    }
    uint32_t Colour(const char* name, uint32_t fallback)
    {
        const auto value = Number(name);
        return value && *value >= 0 && *value <= 0xFFFFFF ? static_cast<uint32_t>(*value) : fallback;
    }

private:
    CRegistryAccess& m_registry;
    const std::string m_key = TooltipKey();
};
} // namespace

TooltipSettings ReadTooltipSettings(CRegistryAccess& registry)
{
    const TooltipSettings defaults;
    TooltipSettings settings;
    ValueReader reader(registry);
    // Any number up to the limit is accepted; those below 1 mean "at once", which is one tick.
    if (const auto delay = reader.Number("ShowDelay"); delay && *delay <= TooltipSettings::kMaxShowDelay)
        settings.showDelay = *delay < 1 ? 1 : static_cast<int>(*delay);
    settings.enable = reader.Flag("Enable", defaults.enable);
    settings.customColor = reader.Flag("CustomColor", defaults.customColor);
    settings.backgroundColor = reader.Colour("BackgroundColor", defaults.backgroundColor);
    settings.foregroundColor = reader.Colour("ForegroundColor", defaults.foregroundColor);
    settings.shadowColor = reader.Colour("ShadowColor", defaults.shadowColor);
    settings.horizontalShadow =
        reader.Int("HorizontalShadow", defaults.horizontalShadow, 0, TooltipSettings::kMaxShadow);
    settings.verticalShadow = reader.Int("VerticalShadow", defaults.verticalShadow, 0, TooltipSettings::kMaxShadow);
    settings.shortTips = reader.Flag("Short", defaults.shortTips);
    return settings;
}

bool WriteTooltipSettings(CRegistryAccess& registry, const TooltipSettings& settings)
{
    const std::string key = TooltipKey();
    bool ok = true;
    auto write = [&](const char* name, long long value) {
        ok = registry.WriteString(kRoot, key, name, std::to_string(value)) && ok;
    };
    write("ShowDelay", settings.showDelay < 1 ? 1 : settings.showDelay);
    write("Enable", settings.enable ? 1 : 0);
    write("CustomColor", settings.customColor ? 1 : 0);
    write("BackgroundColor", settings.backgroundColor);
    write("ForegroundColor", settings.foregroundColor);
    write("ShadowColor", settings.shadowColor);
    write("HorizontalShadow", settings.horizontalShadow);
    write("VerticalShadow", settings.verticalShadow);
    write("Short", settings.shortTips ? 1 : 0);
    return ok;
}

TooltipSettings& ProcessTooltipSettings()
{
    static TooltipSettings settings;
    return settings;
}

void LoadTooltipSettings()
{
    CRegistryAccess registry;
    ProcessTooltipSettings() = ReadTooltipSettings(registry);
}

void SaveTooltipSettings()
{
    CRegistryAccess registry;
    WriteTooltipSettings(registry, ProcessTooltipSettings());
}
