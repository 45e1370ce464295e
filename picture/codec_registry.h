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

// Recognises the file's format (its extension's codec first, then the table in order) and reads
// it. False when the file cannot be opened or no codec reads it; telling the user is the caller's
// job (app/picture_loading.h).
bool LoadPicture(const std::string& path, CPicture* picture, CQnProgress* progress);
// Probes the file the same way, without reading the pixels.
bool GetPictureFileInfo(const std::string& path, int* width, int* height, int* bits, std::string* infoText);
// The same recognition over an open stream; `picture` null probes. Returns the codec that
// succeeded, or null.
CGraphicsCodec* RecognisePicture(class CGraphicsStream& stream, const std::string& path, CPicture* picture,
                                 CQnProgress* progress, int* width = nullptr, int* height = nullptr,
                                 int* bits = nullptr, std::string* infoText = nullptr);
