#include "picturetools/translator/picture_chooser_win.h"

#include <commdlg.h>

#include <algorithm>

#include "app/text.h"
#include "picture/codec_registry.h"
#include "res/resource.h"

namespace {
// Explorer-style result: one full path, or the folder followed by each name, NUL separated.
std::vector<std::string> SplitResult(const std::vector<char>& buffer)
{
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < buffer.size() && buffer[i]) {
        const size_t end = std::find(buffer.begin() + i, buffer.end(), '\0') - buffer.begin();
        parts.emplace_back(buffer.data() + i, end - i);
        i = end + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::string folder = parts.front();
    if (folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> paths;
    for (size_t n = 1; n < parts.size(); ++n)
        paths.push_back(folder + parts[n]);
    return paths;
}
} // namespace

std::vector<std::string> ChoosePicturesToAdd(HWND owner, const std::string& initialFolder)
{
    std::string filter = GetOpenFilterString();
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    const std::string title = LoadText(IDS_LOAD_PICTURE_TITLE);
    std::vector<char> buffer(64 * 1024, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 2);
    ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = "BMP";
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn))
        return {};
    return SplitResult(buffer);
}
