#include "picture/codecs/composition.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/progress.h"
#include "picture/codecs/picture_block.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"

const char kCompositionSignature[] = "tarnakcomposition\xA7zephra";

namespace {

int ReadAll(CGraphicsStream& stream, CComposition& composition, CQnProgress& progress)
{
    stream.Rewind();
    uint8_t header[kCompositionHeaderSize];
    stream.ReadExact(header, sizeof header);
    const int check = zephra::CheckSignature(header, kCompositionSignature);
    if (check != kZephraOk)
        return check;
    const uint32_t count = zephra::Get32(header + 36);
    const uint32_t extra = zephra::Get32(header + 40);
    if (int64_t(extra) > stream.Remaining())
        return kZephraFailed;
    stream.Seek(extra, CGraphicsStream::kCurrent);

    progress.SetText("Loading background picture...");
    if (ReadPictureBlock(composition.background, stream, &progress) != kZephraOk)
        return kZephraFailed;
    // Every sprite is at least a header: a count the file cannot hold is damage.
    if (uint64_t(count) * kSpriteHeaderSize > uint64_t(stream.Remaining()))
        return kZephraFailed;
    progress.SetRange(0, count);
    for (uint32_t i = 0; i < count; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "Loading sprite (%d/%d)...", int(i), int(count));
        progress.SetText(text);
        if (!progress.SetPos(i))
            return kZephraFailed;
        auto sprite = std::make_unique<CSprite>();
        if (ReadSprite(*sprite, stream, &progress) != kZephraOk)
            return kZephraFailed;
        composition.sprites.push_back(std::move(sprite));
    }
    composition.background.SetDescription("Zephra Composition");
    return kZephraOk;
}

} // namespace

int ReadComposition(CGraphicsStream& stream, CComposition& composition, CQnProgress* progress)
{
    composition.background.Clear();
    composition.sprites.clear();
    int result;
    try {
        result = ReadAll(stream, composition, ProgressOrSilent(progress));
    } catch (const EGraphicsException&) {
        result = kZephraFailed;
    }
    if (result != kZephraOk) {
        composition.background.Clear();
        composition.sprites.clear();
    }
    return result;
}

bool CComposition::Render(CPicture& out, int left, int top, int right, int bottom) const
{
    out.Clear();
    if (right <= left || bottom <= top || !out.Create(unsigned(right - left), unsigned(bottom - top)))
        return false;
    if (background.HasAlpha())
        out.CreateAlpha();
    if (!background.IsEmpty()) {
        for (int y = 0; y < out.Height(); ++y) {
            const int sy = y + top;
            if (sy < 0 || sy >= background.Height())
                continue;
            for (int x = 0; x < out.Width(); ++x) {
                const int sx = x + left;
                if (sx < 0 || sx >= background.Width())
                    continue;
                std::memcpy(out.Row(y) + x * 3, background.Row(sy) + sx * 3, 3);
                if (out.HasAlpha())
                    out.SetAlpha(x, y, background.GetAlpha(sx, sy));
            }
        }
    }
    for (const auto& sprite : sprites)
        sprite->DrawOnto(out, left, top);
    if (out.HasAlpha())
        out.SetBitsPerPixel(32);
    return true;
}
