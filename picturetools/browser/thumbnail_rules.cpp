#include "picturetools/browser/thumbnail_rules.h"

#include <algorithm>

#include "picture/picture.h"
#include "picturetools/core/scaling.h"

ThumbnailSize ThumbnailTarget(int width, int height, int cellWidth, int cellHeight)
{
    ThumbnailSize size;
    if (width <= 0 || height <= 0)
        return size;
    const float c = std::min(static_cast<float>(cellWidth) / static_cast<float>(width),
                             static_cast<float>(cellHeight) / static_cast<float>(height));
    size.width = std::max(1, static_cast<int>(static_cast<float>(width) * c - 2.0f));
    size.height = std::max(1, static_cast<int>(static_cast<float>(height) * c - 2.0f));
    return size;
}

bool MakeThumbnail(CPicture& picture, int ownWidth, int ownHeight, int cellWidth, int cellHeight,
                   CQnProgress* progress)
{
    const ThumbnailSize target = ThumbnailTarget(ownWidth, ownHeight, cellWidth, cellHeight);
    const int width = picture.Width(), height = picture.Height();
    if (width <= target.width && height <= target.height)
        return true; // never enlarged
    if (width <= 2 * target.width && height <= 2 * target.height)
        return ScaleSmoothAlpha(picture, target.width, target.height, progress);
    return ScaleNearest(picture, 2 * target.width, 2 * target.height, progress) && HalvePicture(picture);
}

bool ComposeCell(const CPicture& thumbnail, int cellWidth, int cellHeight, CPicture& cell)
{
    if (cellWidth <= 0 || cellHeight <= 0 || !cell.Create(static_cast<unsigned>(cellWidth), static_cast<unsigned>(cellHeight)))
        return false;
    cell.SetBitsPerPixel(24);
    for (int y = 0; y < cellHeight; ++y) {
        uint8_t* row = cell.Row(y);
        for (int x = 0; x < cellWidth; ++x) {
            const uint8_t v = ((x >> 3) + (y >> 3)) & 1 ? 230 : 255;
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
    if (!thumbnail.IsEmpty()) {
        const int left = CellOffset(cellWidth, thumbnail.Width());
        const int top = CellOffset(cellHeight, thumbnail.Height());
        // Clipped to the cell: a thumbnail from a file is not trusted to fit.
        const int x0 = std::max(0, -left), x1 = std::min(thumbnail.Width(), cellWidth - left);
        const int y0 = std::max(0, -top), y1 = std::min(thumbnail.Height(), cellHeight - top);
        const uint8_t* alpha = thumbnail.Alpha();
        for (int y = y0; y < y1; ++y) {
            const uint8_t* src = thumbnail.Row(y);
            uint8_t* dst = cell.Row(top + y);
            for (int x = x0; x < x1; ++x) {
                const uint8_t* s = src + 3 * x;
                uint8_t* d = dst + 3 * (left + x);
                if (!alpha) {
                    d[0] = s[0], d[1] = s[1], d[2] = s[2];
                    continue;
                }
                const int a = alpha[static_cast<size_t>(y) * thumbnail.Width() + x];
                for (int k = 0; k < 3; ++k)
                    d[k] = static_cast<uint8_t>((s[k] * a + d[k] * (255 - a) + 127) / 255);
            }
        }
    }
    for (int x = 0; x < cellWidth; ++x) {
        uint8_t* top = cell.Row(0) + 3 * x;
        uint8_t* bottom = cell.Row(cellHeight - 1) + 3 * x;
        top[0] = top[1] = top[2] = bottom[0] = bottom[1] = bottom[2] = 0;
    }
    for (int y = 0; y < cellHeight; ++y) {
        uint8_t* row = cell.Row(y);
        row[0] = row[1] = row[2] = 0;
        uint8_t* last = row + 3 * (cellWidth - 1);
        last[0] = last[1] = last[2] = 0;
    }
    return true;
}
