#include "shell/viewer/viewer_pages.h"

#include <cstring>

#include "picture/picture.h"
#include "res/resource.h"

std::vector<ViewerTab> ViewerTabsFor(bool hasAlpha)
{
    std::vector<ViewerTab> tabs;
    if (hasAlpha)
        tabs.push_back({ViewerPage::RgbAlpha, IDS_CHANNEL_RGBA});
    tabs.push_back({ViewerPage::Rgb, IDS_CHANNEL_RGB});
    tabs.push_back({ViewerPage::Red, IDS_CHANNEL_RED});
    tabs.push_back({ViewerPage::Green, IDS_CHANNEL_GREEN});
    tabs.push_back({ViewerPage::Blue, IDS_CHANNEL_BLUE});
    if (hasAlpha)
        tabs.push_back({ViewerPage::Alpha, IDS_CHANNEL_ALPHA});
    tabs.push_back({ViewerPage::Info, IDS_TAB_INFO});
    return tabs;
}

namespace {
// Pixels are stored blue, green, red.
int KeptChannel(ViewerPage page)
{
    switch (page) {
    case ViewerPage::Blue: return 0;
    case ViewerPage::Green: return 1;
    default: return 2;
    }
}

void ComposeOverCheckerboard(CPicture& picture, const CPicture& source)
{
    const size_t width = static_cast<size_t>(source.Width());
    for (int y = 0; y < picture.Height(); ++y) {
        uint8_t* p = picture.Row(y);
        const uint8_t* alpha = source.Alpha() + y * width;
        for (size_t x = 0; x < width; ++x, p += 3) {
            const int a = alpha[x];
            const int back = CheckerShade(static_cast<int>(x), y) * (255 - a);
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>((p[c] * a + back + 127) / 255);
        }
    }
}

void KeepOneChannel(CPicture& picture, int kept)
{
    for (int y = 0; y < picture.Height(); ++y) {
        uint8_t* p = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x, p += 3)
            for (int c = 0; c < 3; ++c)
                if (c != kept)
                    p[c] = 0;
    }
}

void AlphaAsGrey(CPicture& picture, const CPicture& source)
{
    const size_t width = static_cast<size_t>(source.Width());
    for (int y = 0; y < picture.Height(); ++y) {
        uint8_t* p = picture.Row(y);
        const uint8_t* alpha = source.HasAlpha() ? source.Alpha() + y * width : nullptr;
        for (size_t x = 0; x < width; ++x, p += 3)
            p[0] = p[1] = p[2] = alpha ? alpha[x] : 255;
    }
}
} // namespace

std::unique_ptr<CPicture> MakePagePicture(const CPicture& source, ViewerPage page)
{
    if (page == ViewerPage::Info || source.IsEmpty())
        return nullptr;
    auto picture = std::make_unique<CPicture>();
    if (!picture->CopyFrom(source))
        return nullptr;
    picture->DeleteAlpha();
    picture->SetBitsPerPixel(24);
    switch (page) {
    case ViewerPage::RgbAlpha:
        if (source.HasAlpha())
            ComposeOverCheckerboard(*picture, source);
        break;
    case ViewerPage::Red:
    case ViewerPage::Green:
    case ViewerPage::Blue:
        KeepOneChannel(*picture, KeptChannel(page));
        break;
    case ViewerPage::Alpha:
        AlphaAsGrey(*picture, source);
        break;
    default:
        break;
    }
    return picture;
}
