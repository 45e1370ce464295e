#include "picture/codec_registry.h"

#include <cctype>
#include <memory>

#include "base/progress.h"
#include "base/text.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "res/resource.h"

namespace {
bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path)
{
    std::string name = FileNameOf(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// Tries one codec in read or probe mode.
bool TryCodec(CGraphicsCodec& codec, CGraphicsStream& stream, CPicture* picture, CQnProgress* progress,
              int* width, int* height, int* bits, std::string* infoText)
{
    stream.Rewind();
    if (picture)
        return codec.ReadStream(stream, picture, progress) == 1;
    return codec.PingStream(stream, width, height, bits, infoText) == 1;
}
} // namespace

CGraphicsCodec* const g_pictureCodecs[] = {
    &BmpCodec(), &TgaCodec(), &GifCodec(), &PcxCodec(), &PngCodec(), &JpgCodec(),
    &RleCodec(), &TifCodec(), &WmfCodec(), &EmfCodec(), &Os2Codec(), &DibCodec(),
    &ClpCodec(), &IffCodec(), &LbmCodec(), &MacCodec(), &PbmCodec(), &PgmCodec(),
    &PpmCodec(), &PsdCodec(), &CutCodec(), &ZecCodec(), &ZesCodec(), nullptr,
};

int GetCodecCount()
{
    static const int count = [] {
        int n = 0;
        while (g_pictureCodecs[n])
            ++n;
        return n;
    }();
    return count;
}

CGraphicsCodec* FindCodec(const std::string& shortName)
{
    for (int i = 0; g_pictureCodecs[i]; ++i)
        if (EqualNoCase(g_pictureCodecs[i]->ShortName(), shortName))
            return g_pictureCodecs[i];
    return nullptr;
}

const std::string& GetOpenFilterString()
{
    static const std::string filter = [] {
        std::string patterns, filters;
        for (int i = 0; g_pictureCodecs[i]; ++i) {
            const std::string& f = g_pictureCodecs[i]->Filter();
            size_t first = f.find('|');
            size_t second = first == std::string::npos ? first : f.find('|', first + 1);
            if (first != std::string::npos) {
                if (!patterns.empty())
                    patterns += ';';
                patterns += f.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
            }
            filters += f;
        }
        return LoadText(IDS_ALL_SUPPORTED_FORMATS) + "|" + patterns + "|" + filters;
    }();
    return filter;
}

CGraphicsCodec* RecognisePicture(CGraphicsStream& stream, const std::string& path, CPicture* picture,
                                 CQnProgress* progress, int* width, int* height, int* bits,
                                 std::string* infoText)
{
    uint8_t magic[2] = {0, 0};
    stream.Rewind();
    if (stream.Read(magic, 2) == 2 && ((magic[0] == 'M' && magic[1] == 'Z') || (magic[0] == 'P' && magic[1] == 'K')))
        return nullptr;
    stream.Rewind();

    CQnProgress& sink = ProgressOrSilent(progress);
    const int depth = sink.Nesting();
    sink.Begin();
    sink.SetText(FormatText(IDS_STATUS_EXAMINING, FileNameOf(path)));

    CGraphicsCodec* found = nullptr;
    CGraphicsCodec* triedFirst = nullptr;
    const std::string extension = ExtensionOf(path);
    bool cancelled = false;
    if (!extension.empty()) {
        for (int i = 0; g_pictureCodecs[i]; ++i) {
            if (!sink.SetPos(0)) { cancelled = true; break; }
            CGraphicsCodec& codec = *g_pictureCodecs[i];
            if (!EqualNoCase(codec.ShortName(), extension))
                continue;
            if (TryCodec(codec, stream, picture, &sink, width, height, bits, infoText))
                found = &codec;
            else
                triedFirst = &codec;
            break;
        }
    }
    for (int i = 0; !found && !cancelled && g_pictureCodecs[i]; ++i) {
        if (!sink.SetPos(0)) { cancelled = true; break; }
        CGraphicsCodec& codec = *g_pictureCodecs[i];
        if (&codec == triedFirst)
            continue;
        if (TryCodec(codec, stream, picture, &sink, width, height, bits, infoText))
            found = &codec;
    }
    sink.RestoreNesting(depth);
    return found;
}

bool LoadPicture(const std::string& path, CPicture* picture, CQnProgress* progress)
{
    if (!picture)
        return false;
    CGraphicsStream stream;
    if (!stream.OpenFile(path, true))
        return false;
    return RecognisePicture(stream, path, picture, progress) != nullptr;
}

bool GetPictureFileInfo(const std::string& path, int* width, int* height, int* bits, std::string* infoText)
{
    CGraphicsStream stream;
    if (!stream.OpenFile(path, true))
        return false;
    return RecognisePicture(stream, path, nullptr, &CQnProgress::Silent(), width, height, bits, infoText) != nullptr;
}
