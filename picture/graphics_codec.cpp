#include "picture/graphics_codec.h"

#include "base/text.h"
#include "picture/graphics_exceptions.h"
#include "picturetools/core/colour_reduction.h"
#include "res/resource.h"

namespace {
std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Restores the operation fields of a codec on every way out of a front end.
class OperationScope {
public:
    OperationScope(CGraphicsStream*& stream, CPicture*& picture, CQnProgress*& progress)
        : m_stream(stream), m_picture(picture), m_progress(progress) {}
    ~OperationScope() { m_stream = nullptr; m_picture = nullptr; m_progress = nullptr; }

private:
    CGraphicsStream*& m_stream;
    CPicture*& m_picture;
    CQnProgress*& m_progress;
};
} // namespace

CGraphicsCodec::CGraphicsCodec(const char* shortName, const char* description, const char* filter)
    : m_shortName(shortName), m_description(description), m_filter(filter)
{
}

int CGraphicsCodec::Write() { return 0; }
int CGraphicsCodec::Read() { return 0; }

int CGraphicsCodec::Ping()
{
    CPicture* saved = m_picture;
    m_picture = nullptr;
    int result = 0;
    try {
        result = Read();
    } catch (...) {
        m_picture = saved;
        throw;
    }
    m_picture = saved;
    return result;
}

bool CGraphicsCodec::CanWriteDepth(int) const { return false; }
bool CGraphicsCodec::HasWriteOption() const { return false; }
void CGraphicsCodec::SetQuality(int) {}
bool CGraphicsCodec::MatchesSignature(const uint8_t*, size_t) const { return false; }
bool CGraphicsCodec::ReducesItself(int) const { return false; }
std::vector<std::string> CGraphicsCodec::CompanionFiles(const std::string&) const { return {}; }

void CGraphicsCodec::ReportRow(int y)
{
    if (y % 10 == 0 && !Progress().SetPos(y))
        throw EGraphicsAbort();
}

int CGraphicsCodec::ReadFile(const std::string& path, CPicture* picture, CQnProgress* progress)
{
    if (!picture)
        return 0;
    CGraphicsStream stream;
    if (!stream.OpenFile(path, true))
        return 0;
    return ReadStream(stream, picture, progress);
}

int CGraphicsCodec::ReadStream(CGraphicsStream& stream, CPicture* picture, CQnProgress* progress)
{
    CQnProgress& sink = ProgressOrSilent(progress);
    const int depth = sink.Nesting();
    OperationScope scope(m_stream, m_picture, m_progress);
    int result = 0;
    try {
        stream.Rewind();
        m_stream = &stream;
        m_picture = picture;
        m_progress = &sink;
        m_infoText.clear();
        sink.Begin();
        sink.SetText(FormatText(IDS_STATUS_LOADING, FileNameOf(stream.Name())));
        result = Read() ? 1 : 0;
        // A reader that found no image in the data has read nothing, whatever it answered.
        if (result && picture && picture->IsEmpty())
            result = 0;
        sink.End(false);
        if (result && picture) {
            picture->SetDescription(stream.Name());
            picture->SetName(m_description);
        }
    } catch (...) {
        result = 0;
    }
    sink.RestoreNesting(depth);
    return result;
}

int CGraphicsCodec::PingStream(CGraphicsStream& stream, int* width, int* height, int* bits,
                               std::string* infoText)
{
    OperationScope scope(m_stream, m_picture, m_progress);
    int result = 0;
    try {
        stream.Rewind();
        m_stream = &stream;
        m_picture = nullptr;
        m_progress = &CQnProgress::Silent();
        m_pingWidth = m_pingHeight = m_pingBits = 0;
        m_infoText.clear();
        result = Ping() ? 1 : 0;
    } catch (...) {
        result = 0;
    }
    if (!result) {
        m_pingWidth = m_pingHeight = m_pingBits = 0;
        m_infoText.clear();
    }
    if (width) *width = m_pingWidth;
    if (height) *height = m_pingHeight;
    if (bits) *bits = m_pingBits;
    if (infoText) *infoText = m_infoText;
    return result;
}

int CGraphicsCodec::WriteFile(const std::string& path, CPicture* picture, int bits, bool option,
                              CQnProgress* progress)
{
    CGraphicsStream stream;
    if (!stream.OpenFile(path, false))
        return 0;
    int result = WriteStream(stream, picture, bits, option, progress);
    // Data still buffered is written out on close: a failure there is a failed write.
    if (!stream.Close())
        result = 0;
    return result;
}

int CGraphicsCodec::WriteStream(CGraphicsStream& stream, CPicture* picture, int bits, bool option,
                                CQnProgress* progress)
{
    if (!picture || picture->IsEmpty())
        return 0;
    CQnProgress& sink = ProgressOrSilent(progress);
    const int depth = sink.Nesting();
    OperationScope scope(m_stream, m_picture, m_progress);
    int result = 0;
    try {
        m_writeOption = option;
        const int w = picture->Width(), h = picture->Height();
        if (bits == 24 || bits == 32) {
            picture->SetBitsPerPixel(bits);
        } else if (bits == 1) {
            static const uint8_t blackWhite[6] = {0, 0, 0, 255, 255, 255};
            ApplyPalette(*picture, 0, 0, w, h, 2, blackWhite, 1, &sink);
        } else if (bits != 0 && !ReducesItself(bits)) {
            if (!ReduceColours(*picture, 0, 0, w, h, 1u << bits, 1, &sink))
                throw EGraphicsAbort();
        }
        stream.Rewind();
        m_stream = &stream;
        m_picture = picture;
        m_progress = &sink;
        result = Write() ? 1 : 0;
    } catch (...) {
        result = 0;
    }
    sink.RestoreNesting(depth);
    return result;
}
