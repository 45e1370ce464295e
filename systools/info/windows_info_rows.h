#pragma once
// The rows of the Windows information list and the rules behind them: which key describes the
// installed Windows (NT family or 95/98/Me), which of its values each row shows, how the display
// depth is reported, and the folders with their icons. The values and figures come from the
// system; the rows are built here.
#include <map>
#include <string>
#include <vector>

#include "systools/info/info_rows.h"

// Under HKEY_LOCAL_MACHINE: the NT family's key or the 95/98/Me key.
const char* WindowsVersionKey(bool nt);

struct WindowsFacts {
    bool nt = false;
    std::map<std::string, std::string> values; // text values of WindowsVersionKey(nt) that exist
    int displayBits = 0;                       // as reported (ReportedDisplayBits)
    int screenWidth = 0, screenHeight = 0;
    int frequency = 0;                         // Hz, NT only
    std::string windowsFolder, systemFolder, temporaryFolder;
};

// The value names of the version key that the rows and the two edit boxes read.
std::vector<std::string> WindowsValueNames(bool nt);

InfoRows WindowsInfoRows(const WindowsFacts& facts);

// The registered owner and organisation of the edit boxes (empty when absent).
std::string RegisteredOwner(const WindowsFacts& facts);
std::string RegisteredOrganization(const WindowsFacts& facts);

// A 16-bit display that keeps 5 bits for green (5-5-5) is reported as 15 bits: a white pixel
// written to a 16-bit bitmap of the display reads back as 0xFFFF only with 6 bits for green.
// Other depths are reported as they are.
int ReportedDisplayBits(int bitsPerPixel, unsigned whitePixelOf16BitBitmap);
