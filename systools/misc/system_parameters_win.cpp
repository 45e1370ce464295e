#include "systools/misc/system_parameters_win.h"

#include <windows.h>

namespace {
const SystemFlagCall* CallOf(SystemFlag flag)
{
    for (const SystemFlagCall& call : kSystemFlagCalls)
        if (call.flag == flag)
            return &call;
    return nullptr;
}
} // namespace

bool CWin32SystemParameters::GetFlag(SystemFlag flag, bool& value)
{
    const SystemFlagCall* call = CallOf(flag);
    if (!call)
        return false;
    if (flag == SystemFlag::Animation) {
        ANIMATIONINFO info{sizeof info, 0};
        if (!SystemParametersInfoA(call->getAction, sizeof info, &info, 0))
            return false;
        value = info.iMinAnimate != 0;
        return true;
    }
    BOOL on = FALSE;
    if (!SystemParametersInfoA(call->getAction, 0, &on, 0))
        return false;
    value = on != FALSE;
    return true;
}

bool CWin32SystemParameters::SetFlag(SystemFlag flag, bool value)
{
    const SystemFlagCall* call = CallOf(flag);
    if (!call)
        return false;
    if (flag == SystemFlag::Animation) {
        ANIMATIONINFO info{sizeof info, value ? 1 : 0};
        return SystemParametersInfoA(call->setAction, sizeof info, &info, SPIF_UPDATEINIFILE) != FALSE;
    }
    return SystemParametersInfoA(call->setAction, value ? TRUE : FALSE, nullptr, SPIF_UPDATEINIFILE) != FALSE;
}

bool CWin32SystemParameters::GetIconSpacing(bool vertical, int& pixels)
{
    int value = 0;
    if (!SystemParametersInfoA(vertical ? kIconVerticalSpacingAction : kIconHorizontalSpacingAction, 0, &value, 0))
        return false;
    pixels = value;
    return true;
}

bool CWin32SystemParameters::SetIconSpacing(bool vertical, int pixels)
{
    return SystemParametersInfoA(vertical ? kIconVerticalSpacingAction : kIconHorizontalSpacingAction,
                                 static_cast<UINT>(pixels), nullptr, SPIF_UPDATEINIFILE) != FALSE;
}

void CWin32SystemParameters::BroadcastDisplayChange()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, 0, &mode))
        return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, mode.dmBitsPerPel,
                        MAKELPARAM(mode.dmPelsWidth, mode.dmPelsHeight), SMTO_ABORTIFHUNG, 2000, &ignored);
}
