#include "picturetools/syspicture/logo_composition.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "base/progress.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"
#include "picturetools/core/scaling.h"

namespace {
constexpr unsigned kPaletteEntries = 256;

bool MakeCanvas(CPicture& canvas, uint32_t background)
{
    if (!canvas.Create(kLogoWidth, kLogoHeight))
        return false;
    uint8_t bgr[3];
    ColourToBgr(background, bgr);
    for (int y = 0; y < kLogoHeight; ++y)
        for (uint8_t* p = canvas.Row(y); p < canvas.Row(y) + 3 * kLogoWidth; p += 3)
            std::memcpy(p, bgr, 3);
    return true;
}

// Copies `picture` onto `canvas` with its top left corner at (left, top), clipped to the canvas.
void Paste(CPicture& canvas, const CPicture& picture, int left, int top)
{
    const int x0 = std::max(0, left), x1 = std::min(canvas.Width(), left + picture.Width());
    if (x0 >= x1)
        return;
    for (int y = std::max(0, top); y < std::min(canvas.Height(), top + picture.Height()); ++y)
        std::memcpy(canvas.Row(y) + 3 * x0, picture.Row(y - top) + 3 * (x0 - left), static_cast<size_t>(x1 - x0) * 3);
}

void Tile(CPicture& canvas, const CPicture& picture)
{
    for (int top = 0; top < canvas.Height(); top += picture.Height())
        for (int left = 0; left < canvas.Width(); left += picture.Width())
            Paste(canvas, picture, left, top);
}

void FillRect(CPicture& picture, const BarRect& rect, uint32_t colour)
{
    uint8_t bgr[3];
    ColourToBgr(colour, bgr);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            std::memcpy(picture.Row(y) + 3 * x, bgr, 3);
}

uint32_t Key(const uint8_t* bgr) { return static_cast<uint32_t>(bgr[0]) << 16 | bgr[1] << 8 | bgr[2]; }

// Linear blend of the entries strictly between `s` and `e`, in single precision.
void Blend(std::vector<uint8_t>& palette, int s, int e)
{
    for (int v = 1; s + v < e; ++v)
        for (int c = 0; c < 3; ++c) {
            const float from = palette[3 * s + c], to = palette[3 * e + c];
            const float value = from + static_cast<float>(v) * (to - from) / static_cast<float>(e - s);
            palette[3 * (s + v) + c] = static_cast<uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
        }
}

std::vector<uint8_t> WriteBmp8(CPicture& picture, CQnProgress* progress)
{
    CGraphicsStream stream;
    if (!stream.CreateMemory(kLogoPixelOffset + static_cast<size_t>(kLogoWidth) * kLogoHeight) ||
        BmpCodec().WriteStream(stream, &picture, 8, false, progress) != 1)
        return {};
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size());
}
} // namespace

void ColourToBgr(uint32_t colour, uint8_t bgr[3])
{
    bgr[0] = static_cast<uint8_t>(colour >> 16);
    bgr[1] = static_cast<uint8_t>(colour >> 8);
    bgr[2] = static_cast<uint8_t>(colour);
}

bool FitToLogo(CPicture& picture, ResizeMode mode, uint32_t background, CQnProgress* progress)
{
    if (picture.IsEmpty())
        return false;
    picture.SetBitsPerPixel(24);
    if (mode == ResizeMode::Stretch)
        return ScaleSmooth(picture, kLogoWidth, kLogoHeight, progress);
    CPicture canvas;
    if (!MakeCanvas(canvas, background))
        return false;
    canvas.CopyAttributes(picture);
    canvas.SetBitsPerPixel(24);
    switch (mode) {
    case ResizeMode::Normal:
        Paste(canvas, picture, kLogoWidth / 2 - picture.Width() / 2, kLogoHeight / 2 - picture.Height() / 2);
        break;
    case ResizeMode::BestFit: {
        const float factor = std::min(static_cast<float>(kLogoWidth) / static_cast<float>(picture.Width()),
                                      static_cast<float>(kLogoHeight) / static_cast<float>(picture.Height()));
        // A sliver of a picture still keeps one pixel.
        const int width = std::max(1, static_cast<int>(static_cast<float>(picture.Width()) * factor));
        const int height = std::max(1, static_cast<int>(static_cast<float>(picture.Height()) * factor));
        if (!ScaleSmooth(picture, width, height, progress))
            return false;
        Paste(canvas, picture, kLogoWidth / 2 - width / 2, kLogoHeight / 2 - height / 2);
        break;
    }
    case ResizeMode::Mosaic: Tile(canvas, picture); break;
    case ResizeMode::Stretch: break;
    }
    picture.Swap(canvas);
    return true;
}

void MakeGreyScale(CPicture& picture)
{
    for (int y = 0; y < picture.Height(); ++y)
        for (uint8_t* p = picture.Row(y); p < picture.Row(y) + 3 * picture.Width(); p += 3)
            p[0] = p[1] = p[2] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
    picture.SetPaletteSize(kPaletteEntries);
    for (unsigned i = 0; i < kPaletteEntries; ++i) {
        const uint8_t grey[3] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)};
        picture.SetPaletteEntry(i, grey);
    }
}

void FillBarPalette(std::vector<uint8_t>& palette, int count, const uint8_t a[3], const uint8_t b[3])
{
    palette.resize(kPaletteEntries * 3, 0);
    const int first = static_cast<int>(kPaletteEntries) - count, middle = first + count / 2, last = 255;
    std::memcpy(&palette[3 * first], a, 3);
    std::memcpy(&palette[3 * middle], b, 3);
    std::memcpy(&palette[3 * last], a, 3);
    Blend(palette, first, middle);
    Blend(palette, middle, last);
}

void DrawBarBands(LogoImage& image, const BarRect& rect, int count, BarOrientation orientation)
{
    if (count <= 0)
        return;
    const bool columns = orientation == BarOrientation::LeftToRight || orientation == BarOrientation::RightToLeft;
    const int from = columns ? rect.left : rect.top, to = columns ? rect.right : rect.bottom;
    const float span = static_cast<float>(to - from);
    auto paint = [&](int start, int end, uint8_t index) {
        start = std::max(start, 0);
        end = std::min(end, columns ? image.width : image.height);
        for (int along = start; along < end; ++along)
            for (int across = columns ? rect.top : rect.left; across < (columns ? rect.bottom : rect.right); ++across) {
                const int x = columns ? along : across, y = columns ? across : along;
                if (x >= 0 && x < image.width && y >= 0 && y < image.height)
                    image.indices[static_cast<size_t>(y) * image.width + x] = index;
            }
    };
    int lastStart = from;
    for (int j = 1; j <= count; ++j) {
        const int start = from + static_cast<int>(static_cast<float>(j - 1) * span / static_cast<float>(count));
        const int end = from + static_cast<int>(static_cast<float>(j) * span / static_cast<float>(count));
        paint(start, end, static_cast<uint8_t>(255 - (j - 1)));
        lastStart = start;
    }
    paint(lastStart, to, static_cast<uint8_t>(256 - count)); // absorbs the rounding
}

std::vector<uint8_t> IndexPixels(const CPicture& picture, const std::vector<uint8_t>& palette)
{
    std::unordered_map<uint32_t, uint8_t> firstIndex;
    for (unsigned i = 0; i < palette.size() / 3 && i < kPaletteEntries; ++i)
        firstIndex.emplace(Key(&palette[3 * i]), static_cast<uint8_t>(i)); // the first entry wins
    std::vector<uint8_t> indices(static_cast<size_t>(picture.Width()) * picture.Height(), 0);
    for (int y = 0; y < picture.Height(); ++y) {
        const uint8_t* p = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x, p += 3)
            if (const auto found = firstIndex.find(Key(p)); found != firstIndex.end())
                indices[static_cast<size_t>(y) * picture.Width() + x] = found->second;
    }
    return indices;
}

std::vector<uint8_t> ComposeLogoFile(CPicture& picture, const LogoRequest& request, CQnProgress* progress)
{
    const SysPictureSettings& settings = request.settings;
    const int barColours = std::clamp(settings.barColours, kMinBarColours, kMaxBarColours);
    if (!FitToLogo(picture, settings.resizeMode, settings.backgroundColour, progress))
        return {};
    if (settings.dithering == DitheringMode::GreyScale)
        MakeGreyScale(picture);
    const unsigned colours = request.withBar ? kPaletteEntries - barColours : kPaletteEntries;
    const BarRect bar = NormaliseBarRect(settings.bar);
    if (request.withBar)
        FillRect(picture, bar, settings.backgroundColour);
    const int mode = settings.dithering == DitheringMode::None ? kMapNearest : kMapDiffuse;
    if (!ReduceColours(picture, 0, 0, kLogoWidth, kLogoHeight, colours, mode, progress))
        return {};
    if (picture.PaletteSize() < colours)
        return {};
    std::vector<uint8_t> palette(picture.Palette(), picture.Palette() + 3 * colours);
    ColourToBgr(settings.backgroundColour, palette.data());
    picture.SetBitsPerPixel(24);
    ApplyPalette(picture, 0, 0, kLogoWidth, kLogoHeight, colours, palette.data(), mode, progress);
    if (ProgressOrSilent(progress).IsCancelled())
        return {};
    if (!request.withBar)
        return WriteBmp8(picture, progress);

    uint8_t first[3], second[3];
    ColourToBgr(settings.firstColour, first);
    ColourToBgr(settings.secondColour, second);
    const bool swapped = request.orientation == BarOrientation::RightToLeft ||
                         request.orientation == BarOrientation::TopToBottom;
    palette.resize(kPaletteEntries * 3, 0);
    FillBarPalette(palette, barColours, swapped ? second : first, swapped ? first : second);
    LogoImage logo;
    logo.width = kLogoWidth;
    logo.height = kLogoHeight;
    logo.indices = IndexPixels(picture, palette);
    logo.palette = palette;
    logo.bandStart = static_cast<uint8_t>((256 - barColours) % 256);
    DrawBarBands(logo, bar, barColours, request.orientation);
    return EncodeLogoBmp(logo, true, progress);
}
