#include "picture/codecs/sprite.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/progress.h"
#include "picture/codecs/picture_block.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"

const char kSpriteSignature[] = "tarnaksprite\xA7zephra";

namespace {

std::string Counted(const char* format, size_t i, size_t n)
{
    char text[64];
    std::snprintf(text, sizeof text, format, int(i), int(n));
    return text;
}

int ReadTree(CSprite& sprite, CGraphicsStream& stream, CQnProgress& progress, int depth)
{
    uint8_t header[kSpriteHeaderSize];
    stream.ReadExact(header, sizeof header);
    const int check = zephra::CheckSignature(header, kSpriteSignature);
    if (check != kZephraOk)
        return check;
    const uint32_t childCount = zephra::Get32(header + 32);
    sprite.rect.left = int32_t(zephra::Get32(header + 36));
    sprite.rect.top = int32_t(zephra::Get32(header + 40));
    sprite.rect.right = int32_t(zephra::Get32(header + 44));
    sprite.rect.bottom = int32_t(zephra::Get32(header + 48));
    const uint32_t extra = zephra::Get32(header + 52);
    if (int64_t(extra) > stream.Remaining())
        return kZephraFailed;
    stream.Seek(extra, CGraphicsStream::kCurrent);
    // Every child is at least a header: a count the file cannot hold is damage.
    if (childCount > 0 && (depth >= kMaxSpriteDepth || uint64_t(childCount) * kSpriteHeaderSize > uint64_t(stream.Remaining())))
        return kZephraFailed;

    for (uint32_t i = 0; i < childCount; ++i) {
        progress.SetText(Counted("Loading SubSprite (%d/%d)...", i, childCount));
        auto child = std::make_unique<CSprite>();
        if (ReadTree(*child, stream, progress, depth + 1) != kZephraOk)
            return kZephraFailed;
        sprite.children.push_back(std::move(child));
    }
    if (childCount == 0)
        return ReadPictureBlock(sprite.picture, stream, &progress) == kZephraOk ? kZephraOk : kZephraFailed;
    return kZephraOk;
}

} // namespace

bool WriteSpriteHeader(const CSpriteRect& rect, uint32_t childCount, CGraphicsStream& stream)
{
    uint8_t header[kSpriteHeaderSize] = {};
    zephra::PutSignature(header, kSpriteSignature);
    zephra::Put16(header + 26, kZephraVersion);
    zephra::Put32(header + 32, childCount);
    zephra::Put32(header + 36, uint32_t(rect.left));
    zephra::Put32(header + 40, uint32_t(rect.top));
    zephra::Put32(header + 44, uint32_t(rect.right));
    zephra::Put32(header + 48, uint32_t(rect.bottom));
    return stream.Write(header, sizeof header);
}

int WriteSprite(const CSprite& sprite, CGraphicsStream& stream, CQnProgress* progress)
{
    CQnProgress& sink = ProgressOrSilent(progress);
    const size_t n = sprite.children.size();
    if (!WriteSpriteHeader(sprite.rect, uint32_t(n), stream))
        return kZephraFailed;
    if (n == 0)
        return WritePictureBlock(sprite.picture, stream, &sink);
    for (size_t i = 0; i < n; ++i) {
        sink.SetText(Counted("Saving SubSprite (%d/%d)...", i, n));
        if (WriteSprite(*sprite.children[i], stream, &sink) != kZephraOk)
            return kZephraFailed;
    }
    return kZephraOk;
}

int ReadSprite(CSprite& sprite, CGraphicsStream& stream, CQnProgress* progress)
{
    sprite.children.clear();
    sprite.picture.Clear();
    int result;
    try {
        result = ReadTree(sprite, stream, ProgressOrSilent(progress), 0);
    } catch (const EGraphicsException&) {
        result = kZephraFailed;
    }
    if (result != kZephraOk) {
        sprite.children.clear();
        sprite.picture.Clear();
    }
    return result;
}

void BlendPicture(CPicture& target, const CPicture& source, int64_t x, int64_t y)
{
    if (target.IsEmpty() || source.IsEmpty())
        return;
    const int64_t x0 = std::max<int64_t>(0, x), y0 = std::max<int64_t>(0, y);
    const int64_t x1 = std::min<int64_t>(target.Width(), x + source.Width());
    const int64_t y1 = std::min<int64_t>(target.Height(), y + source.Height());
    for (int64_t ty = y0; ty < y1; ++ty) {
        const int sy = int(ty - y);
        const uint8_t* src = source.Row(sy);
        const uint8_t* alpha = source.HasAlpha() ? source.Alpha() + size_t(sy) * source.Width() : nullptr;
        uint8_t* dst = target.Row(int(ty));
        for (int64_t tx = x0; tx < x1; ++tx) {
            const int sx = int(tx - x);
            const unsigned a = alpha ? alpha[sx] : 255;
            for (int c = 0; c < 3; ++c) {
                uint8_t& d = dst[tx * 3 + c];
                d = uint8_t((src[sx * 3 + c] * a + d * (255 - a) + 127) / 255);
            }
        }
    }
}

void CSprite::DrawOnto(CPicture& target, int64_t originX, int64_t originY) const
{
    if (children.empty()) {
        BlendPicture(target, picture, int64_t(rect.left) - originX, int64_t(rect.top) - originY);
        return;
    }
    for (const auto& child : children)
        child->DrawOnto(target, originX, originY);
}
