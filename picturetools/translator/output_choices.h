#pragma once
// What the pictures translator offers for its output: the writable formats and, for the chosen
// format, the colour depths with the one preselected and which option controls to show.
#include <string>
#include <vector>

class CGraphicsCodec;

struct DepthChoice {
    int bits;
    unsigned textId; // "16M colors ( 24 bits per pixel )"...
};

// The depths a format may offer, in the order they are listed.
extern const DepthChoice kDepthChoices[5];

struct DepthOffer {
    std::vector<DepthChoice> choices; // those the codec can write, in table order
    int preselected = -1;             // index in choices; -1 when there is none
    bool listEnabled = false;         // a choice to make: more than one depth
    bool showQuality = false;         // the JPEG quality controls
    bool showCompress = false;        // the codec has a write option
};

// The last depth offered below 32 bits is preselected; 32 bits only when it is alone.
DepthOffer OfferDepths(const CGraphicsCodec& codec);

struct FormatChoice {
    int codecIndex;   // index in g_pictureCodecs
    std::string text; // the codec's filter text up to its first '|'
};

// Every codec that can write, in table order.
std::vector<FormatChoice> WritableFormats();

// The position in `formats` of the codec index `type`, or 0 when it is not there (a stale or
// foreign setting); -1 for an empty list.
int FormatPositionOfType(const std::vector<FormatChoice>& formats, int type);
