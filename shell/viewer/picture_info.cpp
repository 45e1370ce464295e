#include "shell/viewer/picture_info.h"

#include <algorithm>

#include "base/text.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "base/size_text.h"

std::string DepthText(int bits)
{
    if (bits == 1)
        return LoadText(IDS_DEPTH_ONE_BIT);
    return FormatText(IDS_DEPTH_BITS, std::to_string(bits));
}

uint64_t ColourCount(int bits)
{
    const int colourBits = std::clamp(bits == 32 ? 24 : bits, 0, 63);
    return uint64_t{1} << colourBits;
}

uint64_t UncompressedSize(int width, int height, int bits)
{
    if (width <= 0 || height <= 0 || bits <= 0)
        return 0;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * static_cast<uint64_t>(bits) / 8;
}

std::string AttributeLetters(bool readOnly, bool archive, bool hidden, bool system)
{
    std::string letters;
    if (readOnly) letters += 'R';
    if (archive) letters += 'A';
    if (hidden) letters += 'H';
    if (system) letters += 'S';
    return letters;
}

std::string FormatFileTime(const std::tm& time)
{
    char text[128] = "";
    std::strftime(text, sizeof text, "%A, %B %d, %Y %I:%M:%S %p", &time);
    return text;
}

std::vector<InfoItem> BuildPictureInfoItems(const CPicture& picture, const PictureFileFacts* file)
{
    std::vector<InfoItem> items;
    auto add = [&items](unsigned labelId, std::string value) { items.push_back({LoadText(labelId), std::move(value)}); };
    const int bits = picture.BitsPerPixel();
    if (file) {
        add(IDS_COLUMN_NAME, file->name);
        add(IDS_INFO_PATH, file->folder);
        add(IDS_COLUMN_SIZE, LongSizeText(file->size));
    }
    add(IDS_INFO_UNCOMPRESSED, LongSizeText(UncompressedSize(picture.Width(), picture.Height(), bits)));
    add(IDS_INFO_WIDTH, std::to_string(picture.Width()));
    add(IDS_INFO_HEIGHT, std::to_string(picture.Height()));
    add(IDS_INFO_DEPTH, DepthText(bits));
    add(IDS_INFO_COLORS, std::to_string(ColourCount(bits)));
    if (file) {
        add(IDS_INFO_SHORT_NAME, file->shortPath);
        add(IDS_INFO_CREATED, file->created);
        add(IDS_COLUMN_MODIFIED, file->modified);
        add(IDS_INFO_ACCESSED, file->accessed);
        add(IDS_COLUMN_ATTRIBUTES, file->attributes);
    }
    add(IDS_INFO_FORMAT, picture.Name());
    return items;
}

std::string FormatInfoText(const std::vector<InfoItem>& items)
{
    size_t longest = 0;
    for (const InfoItem& item : items)
        longest = std::max(longest, item.label.size());
    std::string text;
    for (const InfoItem& item : items) {
        text += item.label;
        text.append(longest + 1 - item.label.size(), ' ');
        text += ": " + item.value + "\r\n";
    }
    return text;
}
