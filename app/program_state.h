#pragma once
// Program-wide state measured or decided at start-up, for every module to read. The
// application object fills it; natively (tests, tools) it stays as set.
#include <cstdint>
#include <string>

struct ProgramState {
    std::string programPath;   // full path of the installed executable
    std::string programFolder; // its folder with a trailing "\", empty when the path has none
    int displayDepth = 24;     // bits per pixel of the display (15 for a 5-5-5 16-bit mode)
    uint32_t buttonShadow = 0x808080;    // COLOR_BTNSHADOW
    uint32_t buttonHighlight = 0xFFFFFF; // COLOR_BTNHIGHLIGHT
    std::string pictureOpenFilter;       // open-dialog filter of every picture format

    void SetProgramPath(const std::string& path);
};

ProgramState& Program();
