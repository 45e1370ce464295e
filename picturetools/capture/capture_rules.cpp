#include "picturetools/capture/capture_rules.h"

#include <algorithm>
#include <iterator>

#include "res/resource.h"

namespace {
const HotKeyChoice kChoices[] = {
    {0x2C, IDS_CAPTURE_KEY_PRINT_SCREEN}, {0x01, IDS_CAPTURE_KEY_LEFT_BUTTON}, {0x02, IDS_CAPTURE_KEY_RIGHT_BUTTON},
    {0x70, IDS_CAPTURE_KEY_FUNCTION, 1},  {0x71, IDS_CAPTURE_KEY_FUNCTION, 2}, {0x72, IDS_CAPTURE_KEY_FUNCTION, 3},
    {0x73, IDS_CAPTURE_KEY_FUNCTION, 4},  {0x74, IDS_CAPTURE_KEY_FUNCTION, 5}, {0x75, IDS_CAPTURE_KEY_FUNCTION, 6},
    {0x76, IDS_CAPTURE_KEY_FUNCTION, 7},  {0x77, IDS_CAPTURE_KEY_FUNCTION, 8}, {0x78, IDS_CAPTURE_KEY_FUNCTION, 9},
    {0x79, IDS_CAPTURE_KEY_FUNCTION, 10}, {0x7A, IDS_CAPTURE_KEY_FUNCTION, 11}, {0x7B, IDS_CAPTURE_KEY_FUNCTION, 12},
    {0x09, IDS_CAPTURE_KEY_TAB},          {0x0D, IDS_CAPTURE_KEY_ENTER},       {0x1B, IDS_CAPTURE_KEY_ESCAPE},
    {0x20, IDS_CAPTURE_KEY_SPACE},
};
} // namespace

std::span<const HotKeyChoice> HotKeyChoices() { return kChoices; }

int HotKeyIndexOfCode(unsigned virtualKey)
{
    const auto found = std::find_if(std::begin(kChoices), std::end(kChoices),
                                    [virtualKey](const HotKeyChoice& choice) { return choice.virtualKey == virtualKey; });
    return found == std::end(kChoices) ? 0 : static_cast<int>(found - std::begin(kChoices));
}

unsigned HotKeyModifiers(bool alt, bool control, bool shift)
{
    return (alt ? kHotKeyAlt : 0u) | (control ? kHotKeyControl : 0u) | (shift ? kHotKeyShift : 0u);
}

CaptureKind CaptureKindFromSetting(int type)
{
    switch (type) {
    case 1: return CaptureKind::Window;
    case 2: return CaptureKind::Client;
    default: return CaptureKind::FullScreen;
    }
}

std::optional<ScreenRect> CropToScreen(const ScreenRect& window, int screenWidth, int screenHeight)
{
    // In 64 bits: a rectangle near the ends of the int range must not wrap.
    const long long left = std::max<long long>(window.left, 0);
    const long long top = std::max<long long>(window.top, 0);
    const long long right = std::min<long long>(window.right, screenWidth);
    const long long bottom = std::min<long long>(window.bottom, screenHeight);
    if (left >= right || top >= bottom)
        return std::nullopt;
    return ScreenRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}
