#pragma once
// The screen capture's rules that need no window: the hot key choices with their texts, the
// modifier bits of the chosen check boxes, the capture kinds, and the part of the screen a
// window capture keeps.
#include <cstdint>
#include <optional>
#include <span>

// The modifier bits of a system-wide hot key (the values of MOD_ALT, MOD_CONTROL, MOD_SHIFT).
inline constexpr unsigned kHotKeyAlt = 0x0001;
inline constexpr unsigned kHotKeyControl = 0x0002;
inline constexpr unsigned kHotKeyShift = 0x0004;

// The identifier the hot key is registered with; the hot-key message carries it as wParam.
inline constexpr int kCaptureHotKeyId = -1;

struct HotKeyChoice {
    unsigned virtualKey;
    unsigned textId;        // the key's name in the string table
    int functionNumber = 0; // F1..F12: the number put into the text, else 0
};

// The choices of the "Hot Key :" list, in list order.
std::span<const HotKeyChoice> HotKeyChoices();
// The list position of a virtual-key code; a code not in the list gives the first entry.
int HotKeyIndexOfCode(unsigned virtualKey);

// The modifier bits for the checked boxes.
unsigned HotKeyModifiers(bool alt, bool control, bool shift);

enum class CaptureKind { FullScreen = 0, Window = 1, Client = 2 };
// The stored "Type": 1 and 2 as the kinds, anything else the full screen.
CaptureKind CaptureKindFromSetting(int type);

// A rectangle in screen pixels: left and top included, right and bottom excluded (as a
// window's rectangle is given).
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// The pixels of a full-screen capture (width x height) that a window capture keeps: from
// (left, top) to (right - 1, bottom - 1) inclusive, limited to the screen, so a window partly
// off the screen keeps only its visible part. The result is again right/bottom exclusive;
// nothing when no pixel of the rectangle lies on the screen.
std::optional<ScreenRect> CropToScreen(const ScreenRect& window, int screenWidth, int screenHeight);
