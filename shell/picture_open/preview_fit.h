#pragma once
// How a picture is fitted into a preview area: proportions kept, never enlarged.
class CPicture;

enum class PreviewScaling {
    None,             // the picture already fits: shown as it is
    NearestThenHalve, // at least twice the fitted size both ways: nearest neighbour to twice, then halved
    Smooth,           // otherwise: smooth scaling straight to the fitted size
};

struct PreviewFit {
    PreviewScaling scaling = PreviewScaling::None;
    int width = 0, height = 0; // the size shown
};

// The fitted size is the picture's scaled by the smaller of areaWidth / width and
// areaHeight / height, at least one pixel each way. An empty picture or area gives None
// with the picture's own size.
PreviewFit ChoosePreviewFit(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// Scales the picture in place to fit the area. False when scaling failed (no memory); the
// picture is then unusable for the preview.
bool FitPictureToPreview(CPicture& picture, int areaWidth, int areaHeight);
