// Sprite files of the image editor, read into one flat picture and written as one sprite.
#include <algorithm>

#include "picture/codecs/codecs.h"
#include "picture/codecs/picture_block.h"
#include "picture/codecs/sprite.h"
#include "picture/graphics_codec.h"

namespace {

// 16384 x 16384: far beyond any editor canvas, yet an allocation a 64-bit process survives.
constexpr uint64_t kMaxFlatPixels = uint64_t(1) << 28;

class CZesCodec : public CGraphicsCodec {
public:
    CZesCodec() : CGraphicsCodec("ZES", "Zephra Sprite (ZES)", "ZES - Zephra Sprite (*.zes)|*.zes|") {}

    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 32; }

    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= kZephraSignatureField + 2 && zephra::CheckSignature(head, kSpriteSignature) != kZephraWrongSignature;
    }

    int Ping() override
    {
        uint8_t header[kSpriteHeaderSize];
        m_stream->ReadExact(header, sizeof header);
        if (zephra::CheckSignature(header, kSpriteSignature) != kZephraOk)
            return 0;
        CSpriteRect rect;
        rect.left = int32_t(zephra::Get32(header + 36));
        rect.top = int32_t(zephra::Get32(header + 40));
        rect.right = int32_t(zephra::Get32(header + 44));
        rect.bottom = int32_t(zephra::Get32(header + 48));
        if (rect.Width() <= 0 || rect.Height() <= 0 || rect.Width() > CPicture::kMaxDimension ||
            rect.Height() > CPicture::kMaxDimension)
            return 0;
        m_pingWidth = int(rect.Width());
        m_pingHeight = int(rect.Height());
        m_pingBits = 32;
        m_infoText = "Zephra Sprite (ZES)";
        return 1;
    }

    int Read() override
    {
        if (!m_picture)
            return Ping();
        CSprite sprite;
        if (ReadSprite(sprite, *m_stream, m_progress) != kZephraOk)
            return 0;
        if (sprite.children.empty()) {
            if (sprite.picture.IsEmpty())
                return 0;
            m_picture->Swap(sprite.picture);
            m_picture->SetBitsPerPixel(m_picture->HasAlpha() ? 32 : 24);
            return 1;
        }
        // A sprite tree is flattened: its children drawn over a transparent picture of its size.
        // The size comes from a header, not from pixel data, so a few bytes could ask for
        // gigabytes; a canvas beyond kMaxFlatPixels is refused.
        const CSpriteRect& r = sprite.rect;
        m_picture->Clear();
        if (r.Width() <= 0 || r.Height() <= 0 || uint64_t(r.Width()) * uint64_t(r.Height()) > kMaxFlatPixels ||
            !m_picture->Create(unsigned(r.Width()), unsigned(r.Height())))
            return 0;
        m_picture->SetBitsPerPixel(32);
        std::fill(m_picture->Alpha(), m_picture->Alpha() + size_t(r.Width()) * r.Height(), 0);
        sprite.DrawOnto(*m_picture, r.left, r.top);
        return 1;
    }

    int Write() override
    {
        // One sprite without children, its rectangle the picture's size, at 32 bits.
        if (!m_picture->CreateAlpha())
            return 0;
        m_picture->SetBitsPerPixel(32);
        CSpriteRect rect;
        rect.right = m_picture->Width();
        rect.bottom = m_picture->Height();
        if (!WriteSpriteHeader(rect, 0, *m_stream))
            return 0;
        return WritePictureBlock(*m_picture, *m_stream, m_progress) == kZephraOk ? 1 : 0;
    }
};

} // namespace

CGraphicsCodec& ZesCodec()
{
    static CZesCodec codec;
    return codec;
}
