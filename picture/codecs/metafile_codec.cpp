// Enhanced metafiles (EMF) and Windows metafiles (WMF, placeable or bare): read by playing them
// into a white picture of their size, written as a metafile holding one stretched bitmap.
// Both need the platform's graphics interface and work on files only (the player and the
// recorder take paths).
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/codecs/metafile_header.h"
#include "picture/codecs/metafile_platform.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_exceptions.h"

namespace {

using namespace metafile;

class CMetafileCodec : public CGraphicsCodec {
public:
    using CGraphicsCodec::CGraphicsCodec;

    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 24; }
    bool IsAvailable() const override { return PlatformAvailable(); }
    std::string UnavailableReason() const override { return PlatformAvailable() ? std::string() : PlatformUnavailableReason(); }

protected:
    // The metafile is written by path: the stream (already created by the front end) is closed.
    bool TakeOutputPath(std::string& path)
    {
        if (!PlatformAvailable() || m_stream->IsMemory())
            return false;
        path = m_stream->Name();
        m_stream->Close();
        return !path.empty();
    }
};

class CEmfCodec : public CMetafileCodec {
public:
    CEmfCodec() : CMetafileCodec("EMF", "Enhanced MetaFile (EMF)", "EMF - Enhanced MetaFile (*.emf)|*.emf|") {}

    bool MatchesSignature(const uint8_t* head, size_t size) const override { return HasEmfSignature(head, size); }

    int Read() override
    {
        if (!PlatformAvailable())
            return 0;
        uint8_t data[kEmfHeaderRead];
        m_stream->ReadExact(data, sizeof data);
        EmfHeader header;
        if (!ParseEmfHeader(data, sizeof data, m_stream->Length(), header))
            return 0;
        m_pingWidth = int(header.Width());
        m_pingHeight = int(header.Height());
        m_pingBits = 24;
        m_infoText = "Enhanced MetaFile (EMF)";
        if (!m_picture)
            return 1;
        if (m_stream->IsMemory())
            return 0; // the player opens the metafile by its path
        return RenderEnhancedFile(m_stream->Name(), unsigned(m_pingWidth), unsigned(m_pingHeight), header.records,
                                  *m_picture, Progress())
                   ? 1
                   : 0;
    }

    int Write() override
    {
        std::string path;
        return TakeOutputPath(path) && RecordEnhancedFile(path, *m_picture) ? 1 : 0;
    }
};

class CWmfCodec : public CMetafileCodec {
public:
    CWmfCodec() : CMetafileCodec("WMF", "Windows MetaFile (WMF)", "WMF - Windows MetaFile (*.wmf)|*.wmf|") {}

    bool MatchesSignature(const uint8_t* head, size_t size) const override { return HasWmfSignature(head, size); }

    int Ping() override { return Probe() ? 1 : 0; }

    int Read() override
    {
        if (!Probe())
            return 0;
        if (!m_picture)
            return 1;
        const PlaceableHeader* placeable = m_placeable ? &m_placeableHeader : nullptr;
        return RenderWindowsBits(m_bits, placeable, unsigned(m_pingWidth), unsigned(m_pingHeight), *m_picture, Progress())
                   ? 1
                   : 0;
    }

    int Write() override
    {
        std::string path;
        std::vector<uint8_t> bytes;
        DisplayMetrics display;
        if (!TakeOutputPath(path) || !QueryDisplay(display) || display.dpiX <= 0 || display.dpiY <= 0)
            return 0;
        const int64_t right = int64_t(m_picture->Width()) * 96 / display.dpiX;
        const int64_t bottom = int64_t(m_picture->Height()) * 96 / display.dpiY;
        if (right > 32767 || bottom > 32767 || !RecordWindowsMetafile(*m_picture, bytes))
            return 0;
        uint8_t header[kPlaceableSize];
        BuildPlaceableHeader(header, int16_t(right), int16_t(bottom), 96);
        CGraphicsStream out;
        return out.OpenFile(path, false) && out.Write(header, sizeof header) && out.Write(bytes.data(), bytes.size())
                   ? 1
                   : 0;
    }

private:
    // Checks the headers, reads the metafile bits (without a placeable header) and finds the
    // size of the rendered picture.
    bool Probe()
    {
        m_bits.clear();
        m_placeable = false;
        DisplayMetrics display;
        if (!PlatformAvailable() || !QueryDisplay(display))
            return false;
        const int64_t fileSize = m_stream->Length();
        if (fileSize <= 0)
            return false;
        uint8_t data[24];
        m_stream->ReadExact(data, sizeof data);
        int64_t width = 0, height = 0;
        if (IsPlaceable(data, sizeof data)) {
            if (!ParsePlaceableHeader(data, sizeof data, m_placeableHeader))
                return false;
            const PlaceableHeader& h = m_placeableHeader;
            width = int64_t(double(h.right - h.left) / h.unitsPerInch * display.dpiX);
            height = int64_t(double(h.bottom - h.top) / h.unitsPerInch * display.dpiY);
            if (!UsableSize(width, height))
                return false;
            m_placeable = true;
            m_infoText = "WMF - Placeable Windows MetaFile (ALDUS)";
        } else if (!CheckWindowsHeader(data, sizeof data, fileSize)) {
            return false;
        } else {
            m_infoText = "WMF - Windows MetaFile (no header)";
        }
        // The metafile itself must also carry a sound header before the platform sees it.
        const int64_t offset = m_placeable ? int64_t(kPlaceableSize) : 0;
        m_bits.resize(size_t(fileSize - offset));
        m_stream->Seek(offset, CGraphicsStream::kBegin);
        m_stream->ReadExact(m_bits.data(), m_bits.size());
        if (m_placeable && !PlausibleWindowsHeader(m_bits.data(), m_bits.size()))
            return false;
        if (!m_placeable && (!WindowsBitsBounds(m_bits, width, height) || !UsableSize(width, height)))
            return false;
        m_pingWidth = int(width);
        m_pingHeight = int(height);
        m_pingBits = 24;
        return true;
    }

    std::vector<uint8_t> m_bits;
    bool m_placeable = false;
    PlaceableHeader m_placeableHeader;
};

} // namespace

CGraphicsCodec& EmfCodec()
{
    static CEmfCodec codec;
    return codec;
}

CGraphicsCodec& WmfCodec()
{
    static CWmfCodec codec;
    return codec;
}
