#include "picturetools/translator/output_choices.h"

#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "res/resource.h"

const DepthChoice kDepthChoices[5] = {
    {1, IDS_DEPTH_CHOICE_1}, {4, IDS_DEPTH_CHOICE_4},   {8, IDS_DEPTH_CHOICE_8},
    {24, IDS_DEPTH_CHOICE_24}, {32, IDS_DEPTH_CHOICE_32},
};

DepthOffer OfferDepths(const CGraphicsCodec& codec)
{
    DepthOffer offer;
    for (const DepthChoice& choice : kDepthChoices) {
        if (!codec.CanWriteDepth(choice.bits))
            continue;
        if (choice.bits < 32 || offer.choices.empty())
            offer.preselected = static_cast<int>(offer.choices.size());
        offer.choices.push_back(choice);
    }
    offer.listEnabled = offer.choices.size() > 1;
    offer.showQuality = &codec == &JpgCodec();
    offer.showCompress = codec.HasWriteOption();
    return offer;
}

std::vector<FormatChoice> WritableFormats()
{
    std::vector<FormatChoice> formats;
    for (int i = 0; g_pictureCodecs[i]; ++i) {
        const CGraphicsCodec& codec = *g_pictureCodecs[i];
        if (codec.CanWriteDepth(0))
            formats.push_back({i, codec.Filter().substr(0, codec.Filter().find('|'))});
    }
    return formats;
}

int FormatPositionOfType(const std::vector<FormatChoice>& formats, int type)
{
    for (size_t i = 0; i < formats.size(); ++i)
        if (formats[i].codecIndex == type)
            return static_cast<int>(i);
    return formats.empty() ? -1 : 0;
}
