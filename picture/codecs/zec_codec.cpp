// Composition files of the image editor: read-only, rendered into one picture of the
// background's size.
#include "picture/codecs/codecs.h"
#include "picture/codecs/composition.h"
#include "picture/graphics_codec.h"

namespace {

class CZecCodec : public CGraphicsCodec {
public:
    CZecCodec() : CGraphicsCodec("ZEC", "Zephra Composition (ZEC)", "ZEC - Zephra Composition (*.zec)|*.zec|") {}

    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= kZephraSignatureField + 2 && zephra::CheckSignature(head, kCompositionSignature) != kZephraWrongSignature;
    }

    int Ping() override
    {
        uint8_t header[kCompositionHeaderSize];
        m_stream->ReadExact(header, sizeof header);
        if (zephra::CheckSignature(header, kCompositionSignature) != kZephraOk)
            return 0;
        m_pingWidth = zephra::Get16(header + 30);
        m_pingHeight = zephra::Get16(header + 32);
        m_pingBits = 32;
        m_infoText = "Zephra Composition (ZEC)";
        return 1;
    }

    int Read() override
    {
        if (!m_picture)
            return Ping();
        CComposition composition;
        if (ReadComposition(*m_stream, composition, m_progress) != kZephraOk || composition.background.IsEmpty())
            return 0;
        CPicture rendered;
        if (!composition.Render(rendered, 0, 0, composition.background.Width(), composition.background.Height()))
            return 0;
        m_picture->Swap(rendered);
        return 1;
    }
};

} // namespace

CGraphicsCodec& ZecCodec()
{
    static CZecCodec codec;
    return codec;
}
