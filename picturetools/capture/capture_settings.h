#pragma once
// The screen capture's settings (section "ScreenCapture" of the settings store), read when the
// view opens. Only the folder of the last save is ever written back.
#include <string>

#include "picturetools/capture/capture_rules.h"

inline constexpr unsigned kDefaultHotKeyCode = 44; // Print Screen

struct CaptureSettings {
    int hotKeyIndex = 0; // position in HotKeyChoices()
    bool alt = false, shift = false, control = false;
    bool multipleCaptures = false;
    CaptureKind kind = CaptureKind::FullScreen;
    std::string saveDirectory;
};

CaptureSettings ReadCaptureSettings();
void WriteCaptureSaveDirectory(const std::string& folder);
