#include "picturetools/translator/convert_item.h"

#include <cstdio>

#include "picture/codec_registry.h"
#include "app/paths.h"

std::string PictureInfoText(const std::string& infoText, int width, int height, int bits)
{
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " - %dx%d %d bits", width, height, bits);
    return infoText + numbers;
}

std::optional<ConvertItem> ProbeConvertItem(const std::string& path)
{
    int width = 0, height = 0, bits = 0;
    std::string infoText;
    if (!GetPictureFileInfo(path, &width, &height, &bits, &infoText))
        return std::nullopt;
    ConvertItem item;
    item.name = PathNamePart(path);
    item.folder = PathFolderPart(path);
    item.info = PictureInfoText(infoText, width, height, bits);
    return item;
}
