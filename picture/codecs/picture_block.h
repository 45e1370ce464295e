#pragma once
// The image editor's picture block: a 48-byte header and one picture, run-length coded per
// channel row (R, G, B and, for 32 bits, alpha). The unit the sprite, composition and
// thumbnail files are built from.
#include "picture/codecs/zephra_format.h"

class CGraphicsStream;
class CPicture;
class CQnProgress;

constexpr size_t kPictureBlockHeaderSize = 48;
extern const char kPictureBlockSignature[];

// Returns kZephraOk, or kZephraFailed when the stream refuses the bytes.
int WritePictureBlock(const CPicture& picture, CGraphicsStream& stream, CQnProgress* progress);
// Returns kZephraOk, kZephraFailed (cancelled or damaged), kZephraWrongSignature or
// kZephraTooNew. Never throws.
int ReadPictureBlock(CPicture& picture, CGraphicsStream& stream, CQnProgress* progress);
