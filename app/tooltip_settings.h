#pragma once
// Balloon tooltip settings, shared by every program of the maker: HKEY_CURRENT_USER
// "Software\Ostrel\Dexlo\ToolTip\", integers kept as decimal text. They are read once when
// the application object is built and written back when it is destroyed.
#include <cstdint>

class CRegistryAccess;

struct TooltipSettings {
    int showDelay = 1;                  // "ShowDelay": ticks of the tooltip timer, at least 1
    bool enable = true;                 // "Enable"
    bool customColor = false;           // "CustomColor": balloon colours below, not the system's
    uint32_t backgroundColor = 0xC4FFFF; // "BackgroundColor" (COLORREF)
    uint32_t foregroundColor = 0x000000; // "ForegroundColor"
    uint32_t shadowColor = 0x000000;     // "ShadowColor"
    int horizontalShadow = 4;           // "HorizontalShadow": pixels to the right
    int verticalShadow = 4;             // "VerticalShadow": pixels downwards
    bool shortTips = false;             // "Short": the balloon shows only the first line of a tip

    bool operator==(const TooltipSettings&) const = default;

    static constexpr int kMaxShowDelay = 60000;
    static constexpr int kMaxShadow = 32;
};

// Reads the settings; a missing, non-numeric or out-of-range value gives its default, and a
// show delay below 1 becomes 1.
TooltipSettings ReadTooltipSettings(CRegistryAccess& registry);
bool WriteTooltipSettings(CRegistryAccess& registry, const TooltipSettings& settings);

// The process-wide settings (defaults until loaded).
TooltipSettings& ProcessTooltipSettings();
void LoadTooltipSettings();
void SaveTooltipSettings();
