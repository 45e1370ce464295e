#include "picture/codecs/bmp_rle.h"

#include <algorithm>

#include "base/progress.h"
#include "picture/dib.h"
#include "picture/graphics_exceptions.h"
#include "picture/picture.h"

namespace {

constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;
constexpr unsigned kMaxEncodedRun = 128;

class RleCanvas {
public:
    RleCanvas(CPicture& picture, unsigned bits, unsigned count, const uint8_t (*colours)[3], CQnProgress& progress)
        : m_picture(picture), m_width(picture.Width()), m_height(picture.Height()),
          m_paddedWidth(static_cast<unsigned>(DibStride(m_width, bits) * 8 / bits)), m_count(count),
          m_colours(colours), m_progress(progress)
    {
    }

    // Checks that `n` pixels fit at the current place and moves past them. Runs may reach into
    // the row's padding (some encoders code whole padded rows); those pixels are dropped.
    // Returns where the first pixel goes and how many are inside the picture.
    uint8_t* Claim(unsigned n, unsigned& visible)
    {
        if (m_row >= m_height || m_x + n > m_paddedWidth)
            throw EBmpCorruptFile("Run-length run outside the bitmap");
        visible = m_x >= m_width ? 0 : std::min(n, m_width - m_x);
        uint8_t* p = m_picture.Row(static_cast<int>(m_height - 1 - m_row)) + std::min(m_x, m_width) * 3;
        m_x += n;
        return p;
    }
    void Paint(uint8_t*& p, unsigned index, bool visible)
    {
        if (index >= m_count)
            throw EBmpCorruptFile("Colour index outside the colour table");
        if (!visible)
            return;
        p[0] = m_colours[index][0];
        p[1] = m_colours[index][1];
        p[2] = m_colours[index][2];
        p += 3;
    }
    void NextLine() { Move(0, 1, true); }
    void Move(unsigned dx, unsigned dy, bool toLineStart)
    {
        const unsigned before = m_row;
        m_x = toLineStart ? 0 : m_x + dx;
        m_row += dy;
        if (m_x > m_paddedWidth || m_row > m_height)
            throw EBmpCorruptFile("Run-length position outside the bitmap");
        if (before / 10 != m_row / 10 && m_row < m_height) {
            const int64_t percent = (int64_t(m_height) * 100 - int64_t(m_row) * 100 - 100) / m_height;
            if (!m_progress.SetPos(percent))
                throw EGraphicsAbort();
        }
    }
    bool PastLastRow() const { return m_row >= m_height; }

private:
    CPicture& m_picture;
    unsigned m_width, m_height, m_paddedWidth, m_count;
    const uint8_t (*m_colours)[3];
    CQnProgress& m_progress;
    unsigned m_x = 0, m_row = 0; // row 0 is the bottom row
};

} // namespace

void DecodeBmpRle(const std::vector<uint8_t>& data, unsigned bits, unsigned count, const uint8_t (*colours)[3],
                  CPicture& picture, CQnProgress& progress)
{
    RleCanvas canvas(picture, bits, count, colours, progress);
    const size_t size = data.size();
    size_t pos = 0;
    auto need = [&](size_t n) {
        if (size - pos < n)
            throw EBmpCorruptFile("Run-length data ends before the end of the bitmap");
    };
    for (;;) {
        if (pos == size) {
            if (canvas.PastLastRow())
                return; // every row was closed; only the end-of-bitmap code is missing
            throw EBmpCorruptFile("Run-length data ends before the end of the bitmap");
        }
        need(2);
        const unsigned first = data[pos], second = data[pos + 1];
        pos += 2;
        if (first > 0) { // encoded run
            unsigned visible = 0;
            uint8_t* p = canvas.Claim(first, visible);
            for (unsigned i = 0; i < first; ++i)
                canvas.Paint(p, bits == 8 ? second : (i & 1) ? (second & 0x0F) : (second >> 4), i < visible);
            continue;
        }
        switch (second) {
        case kEndOfLine: canvas.NextLine(); break;
        case kEndOfBitmap: return;
        case kDelta:
            need(2);
            canvas.Move(data[pos], data[pos + 1], false);
            pos += 2;
            break;
        default: { // absolute run of `second` pixels, padded to a whole 16-bit word
            const size_t bytes = bits == 8 ? second : (second + 1) / 2;
            need(bytes + (bytes & 1));
            unsigned visible = 0;
            uint8_t* p = canvas.Claim(second, visible);
            for (unsigned i = 0; i < second; ++i) {
                const uint8_t b = data[pos + (bits == 8 ? i : i / 2)];
                canvas.Paint(p, bits == 8 ? b : (i & 1) ? (b & 0x0F) : (b >> 4), i < visible);
            }
            pos += bytes + (bytes & 1);
            break;
        }
        }
    }
}

void EncodeRle8Row(const uint8_t* idx, unsigned width, std::vector<uint8_t>& out)
{
    unsigned x = 0;
    while (x < width) {
        if (x + 1 == width) {
            out.insert(out.end(), {1, idx[x]});
            ++x;
        } else if (idx[x + 1] == idx[x]) {
            unsigned run = 2;
            while (x + run < width && idx[x + run] == idx[x] && run < kMaxEncodedRun)
                ++run;
            out.insert(out.end(), {static_cast<uint8_t>(run), idx[x]});
            x += run;
        } else {
            // A literal stretch ends where two neighbours are equal (they start a run).
            unsigned len = 1;
            while (x + len < width && len < kMaxEncodedRun && (x + len + 1 >= width || idx[x + len] != idx[x + len + 1]))
                ++len;
            if (len > 2) {
                out.insert(out.end(), {0, static_cast<uint8_t>(len)});
                out.insert(out.end(), idx + x, idx + x + len);
                if (len & 1)
                    out.push_back(0);
            } else {
                for (unsigned i = 0; i < len; ++i)
                    out.insert(out.end(), {1, idx[x + i]});
            }
            x += len;
        }
    }
    out.insert(out.end(), {0, kEndOfLine});
}
