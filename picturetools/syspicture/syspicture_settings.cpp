#include "picturetools/syspicture/syspicture_settings.h"

#include <algorithm>
#include <utility>

#include "app/settings.h"

namespace {
const char kSection[] = "SysPicture";
}

ResizeMode ResizeModeFromStored(int value)
{
    return value >= 0 && value <= 3 ? static_cast<ResizeMode>(value) : ResizeMode::Stretch;
}

DitheringMode DitheringFromStored(int value)
{
    return value >= 0 && value <= 2 ? static_cast<DitheringMode>(value) : DitheringMode::ErrorDiffusion;
}

int BarColoursFromStored(int value) { return value >= 0 && value <= 255 ? value : kDefaultBarColours; }

int BarColoursFromEdit(int value)
{
    if (value < 0 || value > 256)
        return kDefaultBarColours;
    return std::clamp(value, kMinBarColours, kMaxBarColours);
}

BarRect NormaliseBarRect(BarRect rect)
{
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
    rect.left = std::clamp(rect.left, 0, kLogoWidth);
    rect.right = std::clamp(rect.right, 0, kLogoWidth);
    rect.top = std::clamp(rect.top, 0, kLogoHeight);
    rect.bottom = std::clamp(rect.bottom, 0, kLogoHeight);
    return rect;
}

SysPictureSettings ReadSysPictureSettings()
{
    const SysPictureSettings defaults;
    CQnSettings store;
    SysPictureSettings read;
    read.resizeMode = ResizeModeFromStored(store.ReadInt(kSection, "ResizeMode", static_cast<int>(defaults.resizeMode)));
    read.dithering = DitheringFromStored(store.ReadInt(kSection, "DitheringMode", static_cast<int>(defaults.dithering)));
    read.barColours = BarColoursFromStored(store.ReadInt(kSection, "ScrollBarNColors", defaults.barColours));
    read.barEnabled = store.ReadBool(kSection, "EnableScrollBar", defaults.barEnabled);
    read.bar.left = store.ReadInt(kSection, "Left", defaults.bar.left);
    read.bar.top = store.ReadInt(kSection, "Top", defaults.bar.top);
    read.bar.right = store.ReadInt(kSection, "Right", defaults.bar.right);
    read.bar.bottom = store.ReadInt(kSection, "Bottom", defaults.bar.bottom);
    read.firstColour = static_cast<uint32_t>(store.ReadInt(kSection, "FirstColor", static_cast<int>(defaults.firstColour)));
    read.secondColour = static_cast<uint32_t>(store.ReadInt(kSection, "SecondColor", static_cast<int>(defaults.secondColour)));
    read.backgroundColour =
        static_cast<uint32_t>(store.ReadInt(kSection, "BackgroundColor", static_cast<int>(defaults.backgroundColour)));
    return read;
}

void WriteSysPictureSettings(const SysPictureSettings& settings)
{
    CQnSettings store;
    store.WriteInt(kSection, "ResizeMode", static_cast<int>(settings.resizeMode));
    store.WriteInt(kSection, "DitheringMode", static_cast<int>(settings.dithering));
    store.WriteInt(kSection, "ScrollBarNColors", settings.barColours);
    store.WriteBool(kSection, "EnableScrollBar", settings.barEnabled);
    store.WriteInt(kSection, "Left", settings.bar.left);
    store.WriteInt(kSection, "Top", settings.bar.top);
    store.WriteInt(kSection, "Right", settings.bar.right);
    store.WriteInt(kSection, "Bottom", settings.bar.bottom);
    store.WriteInt(kSection, "FirstColor", static_cast<int>(settings.firstColour));
    store.WriteInt(kSection, "SecondColor", static_cast<int>(settings.secondColour));
    store.WriteInt(kSection, "BackgroundColor", static_cast<int>(settings.backgroundColour));
}

std::string ReadLoadPictureDirectory() { return CQnSettings().ReadString(kSection, "LoadPictureDirectory"); }

void WriteLoadPictureDirectory(const std::string& folder)
{
    CQnSettings().WriteString(kSection, "LoadPictureDirectory", folder);
}
