#include "app/picture_loading.h"

#include <memory>

#include "app/message.h"
#include "base/text.h"
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "res/resource.h"

CPicture* LoadPictureOrComplain(const std::string& path, CQnProgress* progress, bool quiet)
{
    auto picture = std::make_unique<CPicture>();
    if (LoadPicture(path, picture.get(), progress))
        return picture.release();
    if (!quiet)
        ShowMessage(FormatText(IDS_CANNOT_LOAD_PICTURE, path), MessageButtons::Ok);
    return nullptr;
}
