// Picture scaling: nearest neighbour, two-pass smooth resampling and exact halving.
// Results are built in a new picture and swapped in only when complete, so a cancel or a
// failed allocation leaves the caller's picture as it was.
#include "picturetools/core/scaling.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "base/progress.h"
#include "picture/picture.h"

namespace {

class ProgressLevel {
public:
    explicit ProgressLevel(CQnProgress* progress) : m_sink(ProgressOrSilent(progress)), m_depth(m_sink.Nesting())
    {
        m_sink.Begin();
    }
    ~ProgressLevel() { m_sink.RestoreNesting(m_depth); }
    CQnProgress* operator->() { return &m_sink; }
    CQnProgress* get() { return &m_sink; }

private:
    CQnProgress& m_sink;
    int m_depth;
};

bool ValidTarget(const CPicture& picture, int width, int height)
{
    return !picture.IsEmpty() && width > 0 && height > 0 && width <= int(CPicture::kMaxDimension) &&
           height <= int(CPicture::kMaxDimension);
}

// Moves `result` into `picture`, keeping the picture's depth, name, description and palette.
void Commit(CPicture& picture, CPicture& result)
{
    result.CopyAttributes(picture);
    const unsigned colours = picture.PaletteSize();
    result.ResizePalette(colours);
    if (colours)
        std::memcpy(result.Palette(), picture.Palette(), colours * 3u);
    picture.Swap(result);
}

bool CreateLike(CPicture& result, const CPicture& source, int width, int height)
{
    if (!result.Create(width, height))
        return false;
    if (source.HasAlpha() && !result.CreateAlpha())
        return false;
    return true;
}

// A line of `n` items (pixels of a row, or whole rows), item i at base + i * step, each
// `bytes` bytes long.
struct Line {
    const uint8_t* base;
    ptrdiff_t step;
    int n;
};
struct OutLine {
    uint8_t* base;
    ptrdiff_t step;
    int m;
};

// Which source items each destination item averages (shrinking: m < n).
struct Window {
    int start, count;
};

std::vector<Window> ShrinkPlan(int n, int m)
{
    std::vector<Window> plan(m);
    const float s = float(n) / float(m);
    float p = 0;
    for (int k = 0; k < m; ++k) {
        int start = std::min(static_cast<int>(p), n - 1);
        const float end = float(start) + s;
        int count = 0;
        while (start + count < n && float(start + count) < end)
            ++count;
        plan[k] = {start, std::max(count, 1)};
        p += s;
    }
    return plan;
}

// Which destination items each source segment (item j to j + 1) covers (enlarging: m >= n).
struct Segment {
    int a, b;
};

std::vector<Segment> EnlargePlan(int n, int m)
{
    std::vector<Segment> plan(n);
    const float s = float(m) / float(n - 1);
    float p = 0;
    for (int j = 0; j < n; ++j) {
        const int a = static_cast<int>(p);
        const int b = std::min(static_cast<int>(p + s), m - 1);
        plan[j] = {a, b};
        p += s;
    }
    return plan;
}

void ShrinkLine(const Line& src, const OutLine& dst, int bytes, const std::vector<Window>& plan,
                std::vector<uint32_t>& acc)
{
    for (int k = 0; k < dst.m; ++k) {
        const Window w = plan[k];
        const uint8_t* item = src.base + w.start * src.step;
        std::fill(acc.begin(), acc.begin() + bytes, 0u);
        for (int i = 0; i < w.count; ++i, item += src.step)
            for (int c = 0; c < bytes; ++c)
                acc[c] += item[c];
        uint8_t* out = dst.base + k * dst.step;
        for (int c = 0; c < bytes; ++c)
            out[c] = static_cast<uint8_t>(std::min<uint32_t>(acc[c] / w.count, 255));
    }
}

void EnlargeLine(const Line& src, const OutLine& dst, int bytes, const std::vector<Segment>& plan)
{
    if (src.n == 1) { // a single item is spread over the whole line
        for (int k = 0; k < dst.m; ++k)
            std::memcpy(dst.base + k * dst.step, src.base, bytes);
        return;
    }
    for (int j = 0; j < src.n; ++j) {
        const Segment seg = plan[j];
        const uint8_t* v0 = src.base + j * src.step;
        const uint8_t* v1 = j + 1 < src.n ? v0 + src.step : v0;
        for (int k = seg.a; k <= seg.b; ++k) {
            uint8_t* out = dst.base + k * dst.step;
            if (seg.b == seg.a) {
                std::memcpy(out, v0, bytes);
                continue;
            }
            const float t = float(k - seg.a);
            const float span = float(seg.b - seg.a);
            for (int c = 0; c < bytes; ++c)
                out[c] = static_cast<uint8_t>(float(v0[c]) + float(int(v1[c]) - int(v0[c])) * t / span);
        }
    }
}

// One line (n items of `bytes`) to m items, averaging or interpolating.
class LineResampler {
public:
    LineResampler(int n, int m, int bytes) : m_n(n), m_m(m), m_bytes(bytes), m_acc(bytes)
    {
        if (m < n)
            m_windows = ShrinkPlan(n, m);
        else if (n > 1)
            m_segments = EnlargePlan(n, m);
    }
    bool Shrinking() const { return m_m < m_n; }
    void Run(const uint8_t* src, ptrdiff_t srcStep, uint8_t* dst, ptrdiff_t dstStep)
    {
        const Line in{src, srcStep, m_n};
        const OutLine out{dst, dstStep, m_m};
        if (Shrinking())
            ShrinkLine(in, out, m_bytes, m_windows, m_acc);
        else
            EnlargeLine(in, out, m_bytes, m_segments);
    }

private:
    int m_n, m_m, m_bytes;
    std::vector<Window> m_windows;
    std::vector<Segment> m_segments;
    std::vector<uint32_t> m_acc;
};

// Row y of the picture is Row(0) - y * stride (the block is bottom-up).
ptrdiff_t RowStep(const CPicture& p) { return p.Height() > 1 ? p.Row(1) - p.Row(0) : 0; }

// Whole rows are the items: the vertical pass to the new height, in one sweep.
bool VerticalPass(const CPicture& src, CPicture& dst, CQnProgress* sink)
{
    const int n = src.Height(), m = dst.Height(), w = src.Width();
    sink->SetText("Computing extrapolations...");
    sink->SetRange(0, w);
    LineResampler colour(n, m, w * 3);
    if (!sink->SetPos(0))
        return false;
    colour.Run(src.Row(0), RowStep(src), dst.Row(0), RowStep(dst));
    if (src.HasAlpha()) {
        LineResampler alpha(n, m, w);
        alpha.Run(src.Alpha(), w, dst.Alpha(), w);
    }
    return sink->SetPos(w);
}

// Pixels are the items: every row to the new width.
bool HorizontalPass(const CPicture& src, CPicture& dst, CQnProgress* sink)
{
    const int n = src.Width(), m = dst.Width(), rows = src.Height();
    sink->SetText("Resizing picture...");
    sink->SetRange(0, rows);
    LineResampler colour(n, m, 3);
    LineResampler alpha(n, m, 1);
    const int every = colour.Shrinking() ? 10 : 5;
    for (int y = 0; y < rows; ++y) {
        if (y % every == 0 && !sink->SetPos(y))
            return false;
        colour.Run(src.Row(y), 3, dst.Row(y), 3);
        if (src.HasAlpha())
            alpha.Run(src.Alpha() + size_t(y) * n, 1, dst.AlphaRow(y), 1);
    }
    return true;
}

bool Halve(CPicture& picture)
{
    const int w = picture.Width() / 2, h = picture.Height() / 2;
    if (picture.IsEmpty() || w == 0 || h == 0)
        return true; // nothing left to average: the picture stays as it is
    CPicture result;
    if (!CreateLike(result, picture, w, h))
        return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* a = picture.Row(2 * y);
        const uint8_t* b = picture.Row(2 * y + 1);
        uint8_t* out = result.Row(y);
        for (int x = 0; x < w * 3; x += 3, a += 6, b += 6)
            for (int c = 0; c < 3; ++c)
                out[x + c] = static_cast<uint8_t>((a[c] + a[c + 3] + b[c] + b[c + 3]) >> 2);
    }
    if (picture.HasAlpha()) {
        const int sw = picture.Width();
        for (int y = 0; y < h; ++y) {
            const uint8_t* a = picture.Alpha() + size_t(2 * y) * sw;
            const uint8_t* b = a + sw;
            uint8_t* out = result.AlphaRow(y);
            for (int x = 0; x < w; ++x)
                out[x] = static_cast<uint8_t>((a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1]) >> 2);
        }
    }
    Commit(picture, result);
    return true;
}

} // namespace

bool ScaleNearest(CPicture& picture, int width, int height, CQnProgress* progress)
{
    if (!ValidTarget(picture, width, height))
        return false;
    if (width == picture.Width() && height == picture.Height())
        return true;
    CPicture result;
    std::vector<int> columns;
    try {
        if (!CreateLike(result, picture, width, height))
            return false;
        columns.resize(width);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int oldW = picture.Width(), oldH = picture.Height();
    const float sx = float(oldW) / float(width), sy = float(oldH) / float(height);
    float x = 0;
    for (int i = 0; i < width; ++i, x += sx)
        columns[i] = std::min(static_cast<int>(x), oldW - 1);

    ProgressLevel sink(progress);
    sink->SetText("Scaling picture");
    sink->SetRange(0, height);
    float y = 0;
    for (int row = 0; row < height; ++row, y += sy) {
        if (row % 10 == 0 && !sink->SetPos(row))
            return false;
        const int sourceRow = std::min(static_cast<int>(y), oldH - 1);
        const uint8_t* src = picture.Row(sourceRow);
        uint8_t* dst = result.Row(row);
        for (int i = 0; i < width; ++i, dst += 3) {
            const uint8_t* p = src + columns[i] * 3;
            dst[0] = p[0];
            dst[1] = p[1];
            dst[2] = p[2];
        }
        if (picture.HasAlpha()) {
            const uint8_t* a = picture.Alpha() + size_t(sourceRow) * oldW;
            uint8_t* out = result.AlphaRow(row);
            for (int i = 0; i < width; ++i)
                out[i] = a[columns[i]];
        }
    }
    Commit(picture, result);
    return true;
}

bool ScaleSmooth(CPicture& picture, int width, int height, CQnProgress* progress)
{
    if (!ValidTarget(picture, width, height))
        return false;
    if (width == picture.Width() && height == picture.Height())
        return true;
    ProgressLevel sink(progress);
    try {
        CPicture tall;
        const CPicture* source = &picture;
        if (height != picture.Height()) {
            if (!CreateLike(tall, picture, picture.Width(), height) || !VerticalPass(picture, tall, sink.get()))
                return false;
            source = &tall;
        }
        if (width != picture.Width()) {
            CPicture wide;
            if (!CreateLike(wide, *source, width, height) || !HorizontalPass(*source, wide, sink.get()))
                return false;
            Commit(picture, wide);
        } else {
            Commit(picture, tall);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ScaleSmoothAlpha(CPicture& picture, int width, int height, CQnProgress* progress)
{
    if (!picture.IsEmpty() && width == picture.Width() / 2 && height == picture.Height() / 2 && width > 0 &&
        height > 0)
        return Halve(picture);
    // The smooth passes carry the alpha plane as a channel of its own.
    return ScaleSmooth(picture, width, height, progress);
}

bool HalvePicture(CPicture& picture)
{
    try {
        return Halve(picture);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
