#pragma once
// The system pictures' settings (section "SysPicture" of the settings store): how a loaded
// picture is brought to the logo's form, and the scrolling bar of the start-up picture. The
// rules that turn stored or typed values into usable ones live here, apart from the registry.
#include <cstdint>
#include <string>

inline constexpr int kLogoWidth = 320;
inline constexpr int kLogoHeight = 400;

enum class ResizeMode { Normal = 0, Stretch = 1, BestFit = 2, Mosaic = 3 };
enum class DitheringMode { ErrorDiffusion = 0, None = 1, GreyScale = 2 };
// Not stored; the list starts at the first entry.
enum class BarOrientation { LeftToRight = 0, RightToLeft = 1, TopToBottom = 2, BottomToTop = 3 };

// The bar rectangle in picture pixels: columns left..right-1, rows top..bottom-1.
struct BarRect {
    int left = 0, top = 368, right = kLogoWidth, bottom = kLogoHeight;
    bool operator==(const BarRect&) const = default;
};

inline constexpr int kDefaultBarColours = 96;
inline constexpr int kMinBarColours = 2;   // the spin range of "Gradient size"
inline constexpr int kMaxBarColours = 254;

struct SysPictureSettings {
    ResizeMode resizeMode = ResizeMode::Stretch;
    DitheringMode dithering = DitheringMode::ErrorDiffusion;
    int barColours = kDefaultBarColours;
    bool barEnabled = true;
    BarRect bar;
    uint32_t firstColour = 0xFFC400;  // COLORREF: red in the low byte
    uint32_t secondColour = 0xFFFFFF;
    uint32_t backgroundColour = 0;
};

// An unknown stored resize mode counts as Stretch, an unknown dithering mode as error diffusion.
ResizeMode ResizeModeFromStored(int value);
DitheringMode DitheringFromStored(int value);
// A stored bar colour count outside 0..255 becomes 96.
int BarColoursFromStored(int value);
// The count typed into "Gradient size": outside 0..256 it becomes 96. A count below 2 or above
// 254 would leave no band to draw (0 divides the bar by nothing) or no colour for the picture,
// so it is brought into the spin range.
int BarColoursFromEdit(int value);
// Reversed sides are swapped; every side is then kept inside the 320 x 400 picture.
BarRect NormaliseBarRect(BarRect rect);

SysPictureSettings ReadSysPictureSettings();
// What Apply stores: the modes, the bar and the three colours.
void WriteSysPictureSettings(const SysPictureSettings& settings);
std::string ReadLoadPictureDirectory();
void WriteLoadPictureDirectory(const std::string& folder);
