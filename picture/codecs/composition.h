#pragma once
// The image editor's composition: a background picture and an ordered list of sprites
// placed at their rectangles over it.
#include <memory>
#include <vector>

#include "picture/codecs/sprite.h"

class CComposition {
public:
    CPicture background;
    std::vector<std::unique_ptr<CSprite>> sprites;

    // Renders the part (left, top)-(right, bottom) of the composition into `out`: the
    // background, then every sprite in order blended through its alpha plane. The result
    // carries the background's alpha plane when it has one. False when `out` cannot be made.
    bool Render(CPicture& out, int left, int top, int right, int bottom) const;
};

constexpr size_t kCompositionHeaderSize = 48;
extern const char kCompositionSignature[];

// Reads a composition from the start of the stream. kZephraOk, kZephraFailed (cancelled or
// damaged), kZephraWrongSignature or kZephraTooNew. Never throws.
int ReadComposition(CGraphicsStream& stream, CComposition& composition, CQnProgress* progress);
