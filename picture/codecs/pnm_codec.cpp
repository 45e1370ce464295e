// Portable bitmap family: PBM (P1/P4), PGM (P2/P5) and PPM (P3/P6), one implementation whose
// kind is fixed per registry entry. The write option chooses the binary form.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_exceptions.h"
#include "picturetools/core/colour_reduction.h"

namespace {

enum PnmKind { kPbm = 0, kPgm = 1, kPpm = 2 };

// Buffered byte reader over a stream: the header and the ASCII forms are read byte by byte.
class PnmReader {
public:
    explicit PnmReader(CGraphicsStream& stream) : m_stream(stream) {}

    int Get()
    {
        if (m_pos == m_len && !Fill())
            return -1;
        return m_buffer[m_pos++];
    }
    int Peek()
    {
        if (m_pos == m_len && !Fill())
            return -1;
        return m_buffer[m_pos];
    }
    void ReadExact(uint8_t* out, size_t n)
    {
        for (;;) {
            const size_t take = std::min(n, m_len - m_pos);
            if (take)
                std::memcpy(out, m_buffer.data() + m_pos, take);
            m_pos += take;
            out += take;
            n -= take;
            if (n == 0)
                return;
            // The buffer is used up: a long span is read straight into place.
            if (n >= kDirectRead) {
                const size_t got = m_stream.Read(out, n);
                out += got;
                n -= got;
                if (n == 0)
                    return;
            }
            if (!Fill())
                throw EGraphicsException("PNM data ends early");
        }
    }
    // Bytes not yet consumed, buffered or still in the stream.
    int64_t Remaining() const { return int64_t(m_len - m_pos) + m_stream.Remaining(); }

    // Skips white space and "#" comments; -1 at the end of the data.
    int SkipSpace()
    {
        for (;;) {
            int c = Peek();
            if (c == '#') {
                while (c != -1 && c != '\n' && c != '\r')
                    c = Get();
            } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
                Get();
            } else {
                return c;
            }
        }
    }
    // A decimal number after white space; throws when there is none or it is absurdly large.
    unsigned Number()
    {
        int c = SkipSpace();
        if (c < '0' || c > '9')
            throw EGraphicsException("PNM number expected");
        uint64_t value = 0;
        while ((c = Peek()) >= '0' && c <= '9') {
            Get();
            value = value * 10 + unsigned(c - '0');
            if (value > 0xFFFFFFFFu)
                throw EGraphicsException("PNM number too large");
        }
        return static_cast<unsigned>(value);
    }

private:
    static constexpr size_t kBufferSize = 65536;
    static constexpr size_t kDirectRead = 4096;

    bool Fill()
    {
        m_buffer.resize(kBufferSize);
        m_len = m_stream.Read(m_buffer.data(), m_buffer.size());
        m_pos = 0;
        return m_len > 0;
    }

    CGraphicsStream& m_stream;
    std::vector<uint8_t> m_buffer;
    size_t m_pos = 0, m_len = 0;
};

class CPnmCodec : public CGraphicsCodec {
public:
    CPnmCodec(PnmKind kind, const char* shortName, const char* description, const char* filter)
        : CGraphicsCodec(shortName, description, filter), m_kind(kind)
    {
    }

    bool CanWriteDepth(int bits) const override
    {
        static const int depths[] = {1, 8, 24};
        return bits == 0 || bits == depths[m_kind];
    }
    bool HasWriteOption() const override { return true; }
    // The grey map writer converts to grey itself, which gives at most 256 levels: a colour
    // reduction first would only dither the picture.
    bool ReducesItself(int bits) const override { return m_kind == kPgm && bits == 8; }
    // "P" and this kind's ASCII or binary digit, then white space or a comment.
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        if (size < 3 || head[0] != 'P' || (head[1] != '1' + m_kind && head[1] != '4' + m_kind))
            return false;
        const uint8_t c = head[2];
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '#';
    }

    int Read() override;
    int Write() override;

private:
    void ReadPixels(PnmReader& in, PnmKind fileKind, bool binary, unsigned maxValue);
    void WriteRows(PnmKind kind, bool binary);

    PnmKind m_kind;
};

const char* InfoTextOf(PnmKind kind)
{
    switch (kind) {
    case kPbm: return "PBM - Portable Bitmap. Palette : Monochrome.";
    case kPgm: return "PGM - Portable Graymap. Palette : Grayscale.";
    default: return "PPM - Portable Pixel Mal. Palette : True Color.";
    }
}

int CPnmCodec::Read()
{
    PnmReader in(*m_stream);
    if (in.Get() != 'P')
        return 0;
    const int magic = in.Get();
    if (magic < '1' || magic > '6')
        return 0;
    const bool binary = magic >= '4';
    const PnmKind fileKind = static_cast<PnmKind>((magic - '1') % 3);
    const unsigned width = in.Number();
    const unsigned height = in.Number();
    const unsigned maxValue = fileKind == kPbm ? 1 : in.Number();
    if (width == 0 || height == 0 || width > CPicture::kMaxDimension || height > CPicture::kMaxDimension)
        return 0;
    if (maxValue == 0 || maxValue > 65535)
        return 0;

    m_pingWidth = int(width);
    m_pingHeight = int(height);
    m_pingBits = fileKind == kPbm ? 1 : fileKind == kPgm ? 8 : 24;
    m_infoText = std::string(InfoTextOf(fileKind)) + (binary ? " Mode : Binary." : " Mode : ASCII.");
    if (!m_picture)
        return 1;

    // One white-space byte separates the header from binary data.
    if (binary && in.Get() == -1)
        return 0;
    // The file must hold at least one byte per sample (an eighth for packed bitmaps) before
    // the picture is allocated.
    const uint64_t channels = fileKind == kPpm ? 3 : 1;
    uint64_t needed = uint64_t(width) * height * channels;
    if (binary && fileKind == kPbm)
        needed = uint64_t((width + 7) / 8) * height;
    else if (binary && maxValue > 255)
        needed *= 2;
    if (uint64_t(in.Remaining()) < needed)
        return 0;
    m_picture->Clear(); // a reused picture keeps no palette or alpha plane of its own
    if (!m_picture->Create(width, height))
        return 0;

    ReadPixels(in, fileKind, binary, maxValue);
    if (fileKind == kPbm) {
        static const uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
        m_picture->SetBitsPerPixel(1);
        m_picture->SetPaletteEntry(0, black);
        m_picture->SetPaletteEntry(1, white);
    } else if (fileKind == kPgm) {
        m_picture->ConvertToGrey(); // pixels are already grey: this sets the grey palette
    } else {
        m_picture->SetBitsPerPixel(24);
    }
    return 1;
}

void CPnmCodec::ReadPixels(PnmReader& in, PnmKind fileKind, bool binary, unsigned maxValue)
{
    const int width = m_picture->Width(), height = m_picture->Height();
    const unsigned channels = fileKind == kPpm ? 3 : 1;
    const unsigned sampleBytes = binary && maxValue > 255 ? 2 : 1;
    std::vector<uint8_t> raw;
    if (binary)
        raw.resize(fileKind == kPbm ? size_t(width + 7) / 8 : size_t(width) * channels * sampleBytes);
    std::vector<unsigned> samples(size_t(width) * channels);

    Progress().SetRange(0, height);
    for (int y = 0; y < height; ++y) {
        ReportRow(y);
        uint8_t* row = m_picture->Row(y);
        if (fileKind == kPbm) {
            if (binary)
                in.ReadExact(raw.data(), raw.size());
            for (int x = 0; x < width; ++x) {
                bool black;
                if (binary) {
                    black = (raw[x >> 3] >> (7 - (x & 7))) & 1;
                } else {
                    const int c = in.SkipSpace();
                    if (c != '0' && c != '1')
                        throw EGraphicsException("PBM pixel expected");
                    in.Get();
                    black = c == '1';
                }
                std::memset(row + x * 3, black ? 0 : 255, 3);
            }
            continue;
        }
        if (binary && fileKind == kPpm && maxValue == 255) {
            // The common file: its bytes are the samples, red first; read them in place.
            in.ReadExact(row, size_t(width) * 3);
            for (int x = 0; x < width; ++x)
                std::swap(row[x * 3], row[x * 3 + 2]);
            continue;
        }
        if (binary) {
            in.ReadExact(raw.data(), raw.size());
            for (size_t i = 0; i < samples.size(); ++i)
                samples[i] = sampleBytes == 2 ? unsigned(raw[i * 2] << 8 | raw[i * 2 + 1]) : raw[i];
        } else {
            for (unsigned& s : samples)
                s = in.Number();
        }
        for (unsigned& s : samples)
            s = std::min(s, maxValue) * 255 / maxValue;
        for (int x = 0; x < width; ++x) {
            uint8_t* p = row + x * 3;
            if (fileKind == kPgm) {
                p[0] = p[1] = p[2] = static_cast<uint8_t>(samples[x]);
            } else {
                p[2] = static_cast<uint8_t>(samples[x * 3]);
                p[1] = static_cast<uint8_t>(samples[x * 3 + 1]);
                p[0] = static_cast<uint8_t>(samples[x * 3 + 2]);
            }
        }
    }
}

// Writes whole text or binary output through one buffer per row.
class PnmWriter {
public:
    explicit PnmWriter(CGraphicsStream& stream) : m_stream(stream) {}
    void Text(const char* text) { m_out.insert(m_out.end(), text, text + std::strlen(text)); }
    void Byte(uint8_t b) { m_out.push_back(b); }
    // One ASCII value followed by a blank; a line feed goes first once the running line
    // length (each value counting its length plus 2) has passed 68.
    void Value(unsigned v)
    {
        char text[12];
        Value(text, std::snprintf(text, sizeof text, "%u", v));
    }
    void Value(unsigned r, unsigned g, unsigned b)
    {
        char text[40];
        Value(text, std::snprintf(text, sizeof text, "%u %u %u", r, g, b));
    }
    void Value(const char* text, int n)
    {
        if (m_lineLength > 68) {
            Byte('\n');
            m_lineLength = 0;
        }
        m_out.insert(m_out.end(), text, text + n);
        Byte(' ');
        m_lineLength += n + 2;
    }
    void Flush()
    {
        if (!m_out.empty() && !m_stream.Write(m_out.data(), m_out.size()))
            throw EGraphicsException("PNM write failed");
        m_out.clear();
    }

private:
    CGraphicsStream& m_stream;
    std::vector<uint8_t> m_out;
    int m_lineLength = 0;
};

bool IsBlack(const uint8_t* bgr) { return bgr[0] + bgr[1] + bgr[2] < 3 * 128; }

int CPnmCodec::Write()
{
    const bool binary = m_writeOption;
    if (m_kind == kPbm) {
        static const uint8_t blackWhite[6] = {0, 0, 0, 255, 255, 255};
        ApplyPalette(*m_picture, 0, 0, m_picture->Width(), m_picture->Height(), 2, blackWhite, kMapDiffuse, nullptr);
    } else if (m_kind == kPgm) {
        m_picture->ConvertToGrey();
    }
    PnmWriter out(*m_stream);
    char header[64];
    std::snprintf(header, sizeof header, "P%c\n# Created by Ostrel Imagerion for Zephra\n%d %d\n",
                  char('1' + m_kind + (binary ? 3 : 0)), m_picture->Width(), m_picture->Height());
    out.Text(header);
    if (m_kind != kPbm)
        out.Text("255\n");
    out.Flush();

    const int width = m_picture->Width(), height = m_picture->Height();
    Progress().SetRange(0, height);
    for (int y = 0; y < height; ++y) {
        ReportRow(y);
        const uint8_t* row = m_picture->Row(y);
        if (m_kind == kPbm && binary) {
            for (int x = 0; x < width; x += 8) {
                uint8_t bits = 0;
                for (int b = 0; b < 8 && x + b < width; ++b)
                    if (IsBlack(row + (x + b) * 3))
                        bits |= uint8_t(0x80 >> b);
                out.Byte(bits);
            }
        } else {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = row + x * 3;
                if (m_kind == kPbm) {
                    out.Value(IsBlack(p) ? 1 : 0);
                } else if (m_kind == kPgm) {
                    binary ? out.Byte(p[0]) : out.Value(p[0]);
                } else if (binary) {
                    out.Byte(p[2]);
                    out.Byte(p[1]);
                    out.Byte(p[0]);
                } else {
                    out.Value(p[2], p[1], p[0]);
                }
            }
        }
        out.Flush();
    }
    return 1;
}

} // namespace

CGraphicsCodec& PbmCodec()
{
    static CPnmCodec codec(kPbm, "PBM", "Portable Bitmap (PBM)", "PBM - Portable Bitmap (*.pbm)|*.pbm|");
    return codec;
}

CGraphicsCodec& PgmCodec()
{
    static CPnmCodec codec(kPgm, "PGM", "Portable Graymap (PGM)", "PGM - Portable Graymap (*.pgm)|*.pgm|");
    return codec;
}

CGraphicsCodec& PpmCodec()
{
    static CPnmCodec codec(kPpm, "PPM", "Portable Pixelmap (PPM)", "PPM - Portable Pixelmap (*.ppm)|*.ppm|");
    return codec;
}
