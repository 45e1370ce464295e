#pragma once
// The desktop settings the system keeps behind its system-parameters call, as a small
// interface: the Win32 build talks to the system (system_parameters_win.h), tests to a fake.
#include <array>

enum class SystemFlag { IconTitleWrap, MenuDropLeft, FastTaskSwitch, DragFullWindows, Beep, Animation };

struct SystemFlagCall {
    SystemFlag flag;
    unsigned getAction; // the call's action numbers
    unsigned setAction;
};

// Get and set actions of each flag. The animation flag travels in an 8-byte record (its size,
// then the minimise-animation flag); the others as a BOOL.
inline constexpr std::array<SystemFlagCall, 6> kSystemFlagCalls{{
    {SystemFlag::IconTitleWrap, 25, 26},
    {SystemFlag::MenuDropLeft, 27, 28},
    {SystemFlag::FastTaskSwitch, 35, 36},
    {SystemFlag::DragFullWindows, 38, 37},
    {SystemFlag::Beep, 1, 2},
    {SystemFlag::Animation, 72, 73},
}};
// Horizontal and vertical icon spacing (set with the pixels, read with a place for them).
inline constexpr unsigned kIconHorizontalSpacingAction = 13;
inline constexpr unsigned kIconVerticalSpacingAction = 24;

class CSystemParameters {
public:
    virtual ~CSystemParameters() = default;
    // False when the system cannot tell; `value` is then left alone.
    virtual bool GetFlag(SystemFlag flag, bool& value) = 0;
    // Every set also updates the user profile.
    virtual bool SetFlag(SystemFlag flag, bool value) = 0;
    virtual bool GetIconSpacing(bool vertical, int& pixels) = 0;
    virtual bool SetIconSpacing(bool vertical, int pixels) = 0;
    // Tells every top-level window that the display settings changed.
    virtual void BroadcastDisplayChange() = 0;
};
