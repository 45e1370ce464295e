#pragma once
// The image editor's sprites, as far as its files need them: a rectangle, an ordered list of
// child sprites, and the sprite's own picture when it has no children. Child rectangles are
// in the same coordinates as their parent's.
#include <cstdint>
#include <memory>
#include <vector>

#include "picture/codecs/zephra_format.h"
#include "picture/picture.h"

class CGraphicsStream;
class CQnProgress;

struct CSpriteRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int64_t Width() const { return int64_t(right) - left; }
    int64_t Height() const { return int64_t(bottom) - top; }
};

class CSprite {
public:
    CSpriteRect rect;
    std::vector<std::unique_ptr<CSprite>> children;
    CPicture picture; // used when there are no children

    // Draws the sprite (its picture, or its children in order) onto `target`, whose top-left
    // pixel is at (originX, originY) in sprite coordinates, blending through the alpha planes.
    void DrawOnto(CPicture& target, int64_t originX, int64_t originY) const;
};

constexpr size_t kSpriteHeaderSize = 56;
extern const char kSpriteSignature[];
// Nesting deeper than this is taken for damage: the editor builds shallow trees.
constexpr int kMaxSpriteDepth = 32;

// Writes the sprite and, recursively, its children. kZephraOk or kZephraFailed.
int WriteSprite(const CSprite& sprite, CGraphicsStream& stream, CQnProgress* progress);
// Writes only the 56-byte sprite header.
bool WriteSpriteHeader(const CSpriteRect& rect, uint32_t childCount, CGraphicsStream& stream);
// Reads a sprite tree. kZephraOk, kZephraFailed (cancelled or damaged),
// kZephraWrongSignature or kZephraTooNew. On failure the sprite is left empty. Never throws.
int ReadSprite(CSprite& sprite, CGraphicsStream& stream, CQnProgress* progress);

// Blends `source` onto `target` with its top-left pixel at (x, y) of the target, through the
// source's alpha plane when it has one; clipped to the target.
void BlendPicture(CPicture& target, const CPicture& source, int64_t x, int64_t y);
