// The default loader and probe of the picture browser.
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "picturetools/browser/thumbnail_engine.h"

bool LoadThumbnailPicture(const std::string& path, int, int, CPicture& picture, PictureFacts& own)
{
    if (!LoadPicture(path, &picture, nullptr) || picture.IsEmpty())
        return false;
    own = PictureFacts{picture.Width(), picture.Height(), picture.BitsPerPixel()};
    return true;
}

bool ProbeThumbnailPicture(const std::string& path, PictureFacts& own)
{
    return GetPictureFileInfo(path, &own.width, &own.height, &own.bits, nullptr);
}
