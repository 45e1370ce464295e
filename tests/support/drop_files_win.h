#pragma once
// The block the shell hands a window with WM_DROPFILES: DROPFILES, then each path ended by a NUL
// and one more NUL. The receiver frees it (DragFinish).
#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

inline HGLOBAL MakeDropFiles(const std::vector<std::string>& paths, POINT at = {})
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths)
        size += p.size() + 1;
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    char* out = reinterpret_cast<char*>(header + 1);
    for (const std::string& p : paths) {
        std::memcpy(out, p.c_str(), p.size() + 1);
        out += p.size() + 1;
    }
    GlobalUnlock(drop);
    return drop;
}
