#pragma once
// The format registry: the 23 codec singletons in their fixed order, which is the order of
// recognition and of every list shown to the user.
#include <string>

class CGraphicsCodec;
class CPicture;
class CQnProgress;

// Null-terminated table of the codecs, in order.
extern CGraphicsCodec* const g_pictureCodecs[];

int GetCodecCount();
// The codec whose short name is `shortName` (any case), or null.
CGraphicsCodec* FindCodec(const std::string& shortName);
// "All supported formats.|*.bmp;*.tga;...|BMP - Windows Bitmap (*.bmp)|*.bmp|..."
const std::string& GetOpenFilterString();

// Recognises the file's format and reads it: the codec its extension names first, then by
// content the formats whose signature the file carries, and only for a file that carries
// no known signature the formats that have none (Targa, MacPaint, CUT).
// False when the file cannot be opened or no codec reads it; telling the user is the caller's
// job (app/picture_loading.h).
bool LoadPicture(const std::string& path, CPicture* picture, CQnProgress* progress);
// Probes the file the same way, without reading the pixels.
bool GetPictureFileInfo(const std::string& path, int* width, int* height, int* bits, std::string* infoText);
// The same recognition over an open stream; `picture` null probes. Returns the codec that
// succeeded, or null.
CGraphicsCodec* RecognisePicture(class CGraphicsStream& stream, const std::string& path, CPicture* picture,
                                 CQnProgress* progress, int* width = nullptr, int* height = nullptr,
                                 int* bits = nullptr, std::string* infoText = nullptr);
// The first codec whose signature the stream's first bytes carry, or null: names the format
// of a file that failed to load.
CGraphicsCodec* CodecBySignature(class CGraphicsStream& stream);
