// Fitting a picture into a preview area (shared picture open dialog).
#include "shell/picture_open/preview_fit.h"

#include <algorithm>
#include <cmath>

#include "picture/picture.h"
#include "picturetools/core/scaling.h"

namespace {
// One fitted dimension: rounded, kept inside 1..limit (the scale never pushes it past the
// area, but a very thin picture would otherwise round to nothing).
int FittedDimension(int size, double scale, int limit)
{
    const long rounded = std::lround(size * scale);
    return static_cast<int>(std::clamp<long>(rounded, 1, limit));
}
} // namespace

PreviewFit ChoosePreviewFit(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight)
{
    PreviewFit fit;
    fit.width = pictureWidth;
    fit.height = pictureHeight;
    if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return fit;
    if (pictureWidth <= areaWidth && pictureHeight <= areaHeight)
        return fit;
    const double scale = std::min(double(areaWidth) / pictureWidth, double(areaHeight) / pictureHeight);
    fit.width = FittedDimension(pictureWidth, scale, areaWidth);
    fit.height = FittedDimension(pictureHeight, scale, areaHeight);
    const bool twiceBothWays = pictureWidth >= 2 * fit.width && pictureHeight >= 2 * fit.height;
    fit.scaling = twiceBothWays ? PreviewScaling::NearestThenHalve : PreviewScaling::Smooth;
    return fit;
}

bool FitPictureToPreview(CPicture& picture, int areaWidth, int areaHeight)
{
    const PreviewFit fit = ChoosePreviewFit(picture.Width(), picture.Height(), areaWidth, areaHeight);
    switch (fit.scaling) {
    case PreviewScaling::None:
        return true;
    case PreviewScaling::Smooth:
        return ScaleSmooth(picture, fit.width, fit.height, nullptr);
    case PreviewScaling::NearestThenHalve:
        return ScaleNearest(picture, 2 * fit.width, 2 * fit.height, nullptr) && HalvePicture(picture);
    }
    return false;
}
