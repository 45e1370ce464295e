#pragma once
// The system-parameters call of Windows behind CSystemParameters.
#include "systools/misc/system_parameters.h"

class CWin32SystemParameters : public CSystemParameters {
public:
    bool GetFlag(SystemFlag flag, bool& value) override;
    bool SetFlag(SystemFlag flag, bool value) override;
    bool GetIconSpacing(bool vertical, int& pixels) override;
    bool SetIconSpacing(bool vertical, int pixels) override;
    // WM_DISPLAYCHANGE to every top-level window with the depth and size of the display's
    // first settings mode.
    void BroadcastDisplayChange() override;
};
