#include "picturetools/capture/capture_settings.h"

#include "app/settings.h"

namespace {
const char kSection[] = "ScreenCapture";
}

CaptureSettings ReadCaptureSettings()
{
    CQnSettings settings;
    CaptureSettings read;
    // A negative stored code is no key of the list either.
    const int code = settings.ReadInt(kSection, "VKeyCode", static_cast<int>(kDefaultHotKeyCode));
    read.hotKeyIndex = code < 0 ? 0 : HotKeyIndexOfCode(static_cast<unsigned>(code));
    read.alt = settings.ReadBool(kSection, "bAlt", false);
    read.shift = settings.ReadBool(kSection, "bShift", false);
    read.control = settings.ReadBool(kSection, "bCtrl", false);
    read.multipleCaptures = settings.ReadBool(kSection, "bMultipleCapture", false);
    read.kind = CaptureKindFromSetting(settings.ReadInt(kSection, "Type", 0));
    read.saveDirectory = settings.ReadString(kSection, "SaveDirectory", "");
    return read;
}

void WriteCaptureSaveDirectory(const std::string& folder)
{
    CQnSettings().WriteString(kSection, "SaveDirectory", folder);
}
