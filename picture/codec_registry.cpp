#include "picture/codec_registry.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <memory>
#include <vector>

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

enum class Attempt { NotThisFormat, Loaded, Refused };

// Tries one codec in read or probe mode. A format without a signature reads only what its
// probe takes, and a file its probe takes but its reader refuses is a damaged file of that
// format (Refused): no other format may then claim it, so probe and read agree.
Attempt TryCodec(CGraphicsCodec& codec, CGraphicsStream& stream, CPicture* picture, CQnProgress* progress,
                 int* width, int* height, int* bits, std::string* infoText)
{
    stream.Rewind();
    if (!picture)
        return codec.PingStream(stream, width, height, bits, infoText) == 1 ? Attempt::Loaded : Attempt::NotThisFormat;
    const bool probeFirst = !codec.HasSignature();
    if (probeFirst) {
        if (codec.PingStream(stream, nullptr, nullptr, nullptr, nullptr) != 1)
            return Attempt::NotThisFormat;
        stream.Rewind();
    }
    if (codec.ReadStream(stream, picture, progress) == 1)
        return Attempt::Loaded;
    return probeFirst ? Attempt::Refused : Attempt::NotThisFormat;
}

// The first bytes of the stream (fewer for a short file); the stream is rewound.
std::vector<uint8_t> ReadHead(CGraphicsStream& stream)
{
    std::vector<uint8_t> head(CGraphicsCodec::kSignatureBytes);
    stream.Rewind();
    head.resize(stream.Read(head.data(), head.size()));
    stream.Rewind();
    return head;
}

bool StartsWith(const std::vector<uint8_t>& head, const char* text, size_t length, size_t at = 0)
{
    return head.size() >= at + length && std::equal(text, text + length, head.begin() + ptrdiff_t(at));
}

// Signatures of files that are no picture this library reads (other picture formats,
// documents, compressed data): they must not reach the formats without a signature.
bool HasForeignSignature(const std::vector<uint8_t>& head)
{
    static const struct {
        const char* bytes;
        size_t length;
        size_t at;
    } kForeign[] = {
        {"RIFF", 4, 0},                            // WebP, AVI, WAVE
        {"\0\0\0\x0CjP  ", 8, 0},                  // JPEG 2000 file
        {"\xFF\x4F\xFF\x51", 4, 0},                // JPEG 2000 code stream
        {"ftyp", 4, 4},                            // HEIF, AVIF, MP4
        {"P7", 2, 0},                              // portable arbitrary map
        {"BA", 2, 0},                              // OS/2 bitmap array
        {"%PDF", 4, 0}, {"%!PS", 4, 0},            // documents
        {"\x7F" "ELF", 4, 0}, {"\x1F\x8B", 2, 0}, // programs, gzip data
        {"gimp xcf", 8, 0}, {"\x76\x2F\x31\x01", 4, 0}, {"\x59\xA6\x6A\x95", 4, 0}, // XCF, OpenEXR, Sun raster
    };
    for (const auto& f : kForeign)
        if (StartsWith(head, f.bytes, f.length, f.at))
            return true;
    return false;
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

CGraphicsCodec* CodecBySignature(CGraphicsStream& stream)
{
    const std::vector<uint8_t> head = ReadHead(stream);
    for (int i = 0; g_pictureCodecs[i]; ++i)
        if (g_pictureCodecs[i]->HasSignature() && g_pictureCodecs[i]->MatchesSignature(head.data(), head.size()))
            return g_pictureCodecs[i];
    return nullptr;
}

CGraphicsCodec* RecognisePicture(CGraphicsStream& stream, const std::string& path, CPicture* picture,
                                 CQnProgress* progress, int* width, int* height, int* bits,
                                 std::string* infoText)
{
    const std::vector<uint8_t> head = ReadHead(stream);
    if (StartsWith(head, "MZ", 2) || StartsWith(head, "PK", 2))
        return nullptr;

    CQnProgress& sink = ProgressOrSilent(progress);
    const int depth = sink.Nesting();
    sink.Begin();
    sink.SetText(FormatText(IDS_STATUS_EXAMINING, FileNameOf(path)));

    CGraphicsCodec* found = nullptr;
    CGraphicsCodec* triedFirst = nullptr;
    bool decided = false; // found, refused by the format it belongs to, or cancelled
    auto attempt = [&](CGraphicsCodec& codec) {
        const Attempt a = TryCodec(codec, stream, picture, &sink, width, height, bits, infoText);
        if (a == Attempt::Loaded)
            found = &codec;
        decided = a != Attempt::NotThisFormat;
    };
    auto carriesSignature = [&](const CGraphicsCodec& codec) {
        return codec.HasSignature() && codec.MatchesSignature(head.data(), head.size());
    };

    // First pass: the codec the extension names.
    const std::string extension = ExtensionOf(path);
    if (!extension.empty()) {
        for (int i = 0; g_pictureCodecs[i] && !decided; ++i) {
            if (!sink.SetPos(0)) {
                decided = true;
                break;
            }
            CGraphicsCodec& codec = *g_pictureCodecs[i];
            if (!EqualNoCase(codec.ShortName(), extension))
                continue;
            attempt(codec);
            triedFirst = &codec;
            break;
        }
    }
    // Second pass, by content: the formats whose signature the file carries, in table order.
    // A file with a signature belongs to that format: when its codecs refuse it, it is damaged
    // or of an unsupported kind, and the formats without a signature must not claim it.
    bool knownSignature = triedFirst && carriesSignature(*triedFirst);
    for (int i = 0; g_pictureCodecs[i] && !decided; ++i) {
        CGraphicsCodec& codec = *g_pictureCodecs[i];
        if (!carriesSignature(codec))
            continue;
        knownSignature = true;
        if (!sink.SetPos(0)) {
            decided = true;
            break;
        }
        if (&codec != triedFirst)
            attempt(codec);
    }
    // Then, for a file without any known signature, the formats that have none.
    if (!knownSignature && !HasForeignSignature(head)) {
        for (int i = 0; g_pictureCodecs[i] && !decided; ++i) {
            CGraphicsCodec& codec = *g_pictureCodecs[i];
            if (codec.HasSignature() || &codec == triedFirst)
                continue;
            if (!sink.SetPos(0)) {
                decided = true;
                break;
            }
            attempt(codec);
        }
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
